#include "TextBuffer.h"

#include "TextEncoding.h"

#include <cstring>

size_t Utf8CutLength(std::string_view text, size_t max)
{
  if (text.size() <= max)
    return text.size();
  if (!IsValidUtf8(text))
    return max;
  size_t n = max;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
    --n;
  return n;
}

size_t CopyTextCut(std::string_view text, char* buffer, size_t size)
{
  if (!buffer || size == 0)
    return 0;
  const size_t n = Utf8CutLength(text, size - 1);
  if (n > 0)
    std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return n;
}

bool ReadDecimal(std::string_view text, int64_t& value)
{
  constexpr int64_t kLimit = int64_t(1) << 62;
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  int64_t v = 0;
  bool any = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    any = true;
    v = v <= kLimit / 10 ? v * 10 + (text[i] - '0') : kLimit;
  }
  if (v > kLimit)
    v = kLimit;
  value = negative ? -v : v;
  return any;
}

int64_t ReadDecimalClamped(std::string_view text, int64_t min, int64_t max)
{
  int64_t v = 0;
  if (!ReadDecimal(text, v))
    return 0;
  return v < min ? min : (v > max ? max : v);
}
