#include "GString.h"

#include "TextCompare.h"

#include <cstdlib>
#include <cstring>

GString::GString(const char* text, uint32_t size)
{
  const uint32_t len = text ? static_cast<uint32_t>(std::strlen(text)) : 0;
  const uint32_t cap = size > len ? size : len;
  if (cap > 0 && Reserve(cap) && len > 0)
    std::memcpy(m_buffer, text, len);
}

GString::GString(const GString& other)
{
  if (other.m_capacity > 0 && Reserve(other.m_capacity))
    std::memcpy(m_buffer, other.m_buffer, other.m_capacity + 1);
}

GString::GString(GString&& other) noexcept : m_buffer(other.m_buffer), m_capacity(other.m_capacity)
{
  other.m_buffer = nullptr;
  other.m_capacity = 0;
}

GString& GString::operator=(const GString& other)
{
  if (this != &other) {
    GString copy(other);
    *this = std::move(copy);
  }
  return *this;
}

GString& GString::operator=(GString&& other) noexcept
{
  if (this != &other) {
    std::free(m_buffer);
    m_buffer = other.m_buffer;
    m_capacity = other.m_capacity;
    other.m_buffer = nullptr;
    other.m_capacity = 0;
  }
  return *this;
}

GString::~GString()
{
  std::free(m_buffer);
}

bool GString::Reserve(uint32_t n)
{
  if (n == 0) {
    std::free(m_buffer);
    m_buffer = nullptr;
    m_capacity = 0;
    return true;
  }
  if (n < kMinCapacity)
    n = kMinCapacity;
  if (!m_buffer) {
    m_buffer = static_cast<char*>(std::calloc(n + 1, 1));
    if (!m_buffer) {
      m_capacity = 0;
      return false;
    }
    m_capacity = n;
    return true;
  }
  if (n == m_capacity)
    return true;
  char* p = static_cast<char*>(std::realloc(m_buffer, n + 1));
  if (!p)
    return false;
  if (n > m_capacity)
    std::memset(p + m_capacity + 1, 0, n - m_capacity);
  p[n] = '\0';
  m_buffer = p;
  m_capacity = n;
  return true;
}

uint32_t GString::Length() const
{
  return m_buffer ? static_cast<uint32_t>(std::strlen(m_buffer)) : 0;
}

bool GString::Assign(const char* text)
{
  return Assign(text ? std::string_view(text) : std::string_view());
}

bool GString::Assign(std::string_view text)
{
  // Text stops at an embedded zero, as it would in the zero-terminated buffer.
  const size_t zero = text.find('\0');
  if (zero != std::string_view::npos)
    text = text.substr(0, zero);
  if (text.empty()) {
    if (m_buffer)
      m_buffer[0] = '\0';
    return true;
  }
  const uint32_t len = static_cast<uint32_t>(text.size());
  if (len > m_capacity && !Reserve(len))
    return false;
  std::memcpy(m_buffer, text.data(), len);
  m_buffer[len] = '\0';
  return true;
}

uint32_t GString::Substring(char* out, uint32_t from, uint32_t to) const
{
  if (!out)
    return 0;
  const uint32_t len = Length();
  uint32_t n = 0;
  if (len > 0 && from < len) {
    const uint32_t last = to < len - 1 ? to : len - 1;
    if (last >= from) {
      n = last - from + 1;
      std::memcpy(out, m_buffer + from, n);
    }
  }
  out[n] = '\0';
  return n;
}

uint32_t GString::Left(char* out, uint32_t n) const
{
  if (n == 0) {
    if (out)
      out[0] = '\0';
    return 0;
  }
  if (n == 1) {
    if (out)
      out[0] = '\0';
    return 0;
  }
  return Substring(out, 0, n - 2);
}

uint32_t GString::Find(char c, uint32_t start) const
{
  const uint32_t len = Length();
  if (start >= len)
    return kNotFound;
  const void* p = std::memchr(m_buffer + start, c, len - start);
  return p ? static_cast<uint32_t>(static_cast<const char*>(p) - m_buffer) : kNotFound;
}

uint32_t GString::Trim()
{
  if (!m_buffer)
    return 0;
  const uint32_t len = Length();
  uint32_t b = 0, e = len;
  auto blank = [](char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\v' || ch == '\f';
  };
  while (b < e && blank(m_buffer[b]))
    ++b;
  while (e > b && blank(m_buffer[e - 1]))
    --e;
  const uint32_t n = e - b;
  if (b > 0)
    std::memmove(m_buffer, m_buffer + b, n);
  m_buffer[n] = '\0';
  return n;
}

bool GString::Equals(const char* text) const
{
  return CompareText(m_buffer ? m_buffer : "", text ? text : "") == 0;
}

bool GString::EqualsNoCase(const GString& other) const
{
  return CompareTextNoCase(View(), other.View()) == 0;
}

bool GString::EqualsNoCase(const char* text) const
{
  return CompareTextNoCase(View(), text ? std::string_view(text) : std::string_view()) == 0;
}
