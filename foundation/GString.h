#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A growable byte string (UTF-8 text). The buffer holds capacity + 1 bytes
// so that the text is always zero-terminated; a nonzero capacity is never
// below 7. Index results use 65535 for "not found", as callers expect.
class GString
{
public:
  static constexpr uint32_t kMinCapacity = 7;
  static constexpr uint32_t kNotFound = 65535;

  GString() = default;
  GString(const char* text, uint32_t size = 0);
  GString(std::string_view text) : GString() { Assign(text); }
  GString(const GString& other);
  GString(GString&& other) noexcept;
  GString& operator=(const GString& other);
  GString& operator=(GString&& other) noexcept;
  ~GString();

  bool Reserve(uint32_t n);
  bool Assign(const char* text);
  bool Assign(std::string_view text);
  bool Assign(const GString& other) { return Assign(other.View()); }

  uint32_t Capacity() const { return m_capacity; }
  uint32_t Length() const;
  const char* Text() const { return m_buffer ? m_buffer : ""; }
  char* Buffer() { return m_buffer; }
  bool HasBuffer() const { return m_buffer != nullptr; }
  std::string_view View() const
  {
    return m_buffer ? std::string_view(m_buffer, Length()) : std::string_view();
  }
  std::string Str() const { return std::string(View()); }

  // Copies the characters from index from through min(to, length - 1).
  uint32_t Substring(char* out, uint32_t from, uint32_t to) const;
  // The first n - 1 characters.
  uint32_t Left(char* out, uint32_t n) const;
  uint32_t Find(char c, uint32_t start = 0) const;
  uint32_t Trim();

  // Accent-insensitive; EqualsNoCase ignores case as well.
  bool Equals(const char* text) const;
  bool EqualsNoCase(const GString& other) const;
  bool EqualsNoCase(const char* text) const;

private:
  char* m_buffer = nullptr;
  uint32_t m_capacity = 0;
};
