#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Output side of the document stream: values are appended to a memory
// buffer in the text forms of the standard insertion operators in their
// default state (decimal integers, floats with six significant digits).
// Writing to disk happens once, atomically, through SaveFileAtomic.
class TOutStream
{
public:
  TOutStream() = default;

  const std::string& Data() const { return m_data; }
  std::string TakeData() { return std::move(m_data); }
  void Reserve(size_t n) { m_data.reserve(n); }

  // A stream stays good unless a caller marks it bad (for example a
  // writer that could not produce a value).
  bool good() const { return !m_bad; }
  void setbad() { m_bad = true; }

  TOutStream& put(char c) { m_data.push_back(c); return *this; }
  TOutStream& write(const char* p, size_t n) { m_data.append(p, n); return *this; }

  TOutStream& operator<<(char c) { return put(c); }
  TOutStream& operator<<(const char* s) { m_data.append(s ? s : ""); return *this; }
  TOutStream& operator<<(std::string_view s) { m_data.append(s); return *this; }
  TOutStream& operator<<(const std::string& s) { m_data.append(s); return *this; }
  TOutStream& operator<<(int32_t v);
  TOutStream& operator<<(uint32_t v);
  TOutStream& operator<<(int16_t v) { return *this << static_cast<int32_t>(v); }
  TOutStream& operator<<(uint16_t v) { return *this << static_cast<uint32_t>(v); }
  TOutStream& operator<<(int64_t v);
  TOutStream& operator<<(double v);
  TOutStream& operator<<(float v) { return *this << static_cast<double>(v); }

private:
  std::string m_data;
  bool m_bad = false;
};

// Writes data to a temporary file beside path and renames it over path only
// after every byte was written and flushed; on failure the old file stays
// intact, the temporary file is removed and error receives a readable reason.
bool SaveFileAtomic(const std::string& path, std::string_view data, std::string* error = nullptr);
