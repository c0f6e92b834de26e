#include "TArrayStrings.h"

#include "TextEncoding.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

TArrayStrings::TArrayStrings(int32_t n, int32_t maxLength)
    : TArrayPtr(8, 8), m_maxLength(maxLength < 0 ? 0 : maxLength)
{
  (void)m_reserved;
  for (int32_t i = 0; i < n; ++i) {
    char* s = static_cast<char*>(std::calloc(static_cast<size_t>(m_maxLength) + 1, 1));
    if (!s)
      break;
    if (!Append(s)) {
      std::free(s);
      break;
    }
  }
}

TArrayStrings::~TArrayStrings()
{
  for (int32_t i = 0; i < Count(); ++i)
    std::free(Get(i));
  std::free(m_second);
}

bool TArrayStrings::SetString(int32_t i, const char* text)
{
  char* s = static_cast<char*>(Get(i));
  if (!s || !text)
    return false;
  const size_t limit = m_maxLength > 0 ? static_cast<size_t>(m_maxLength) : std::strlen(s);
  std::string_view t(text);
  size_t n = t.size() < limit ? t.size() : limit;
  // Do not cut a multi-byte character in half.
  if (n < t.size() && IsValidUtf8(t))
    while (n > 0 && (static_cast<unsigned char>(t[n]) & 0xC0) == 0x80)
      --n;
  std::memcpy(s, text, n);
  s[n] = '\0';
  return true;
}
