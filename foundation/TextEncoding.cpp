#include "TextEncoding.h"

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five undefined positions,
// which map to the C1 control of the same value.
const char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

char32_t Cp1252ToUnicode(unsigned char c)
{
  if (c >= 0x80 && c < 0xA0) {
    const char16_t u = kCp1252High[c - 0x80];
    return u ? u : c;
  }
  return c;
}

char32_t DecodeUtf8(std::string_view s, size_t& i)
{
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) {
    ++i;
    return c;
  }
  int len = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if ((c & 0xE0) == 0xC0) {
    len = 2;
    cp = c & 0x1F;
    min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3;
    cp = c & 0x0F;
    min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4;
    cp = c & 0x07;
    min = 0x10000;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + static_cast<size_t>(len) > s.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k < len; ++k) {
    const unsigned char cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((cc & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (cc & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += static_cast<size_t>(len);
  return cp;
}

bool IsValidUtf8(std::string_view s)
{
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    const size_t before = i;
    const char32_t cp = DecodeUtf8(s, i);
    if (cp == 0xFFFD && i == before + 1)
      return false;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t cp)
{
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Cp1252ToUtf8(std::string_view s)
{
  std::string out;
  out.reserve(s.size() + s.size() / 4);
  for (unsigned char c : s)
    AppendUtf8(out, Cp1252ToUnicode(c));
  return out;
}

std::string ToUtf8(std::string_view s)
{
  if (IsValidUtf8(s))
    return std::string(s);
  return Cp1252ToUtf8(s);
}

size_t Utf8Length(std::string_view s)
{
  size_t n = 0;
  for (size_t i = 0; i < s.size(); ++n)
    DecodeUtf8(s, i);
  return n;
}

size_t Utf8PrefixBytes(std::string_view s, size_t n)
{
  size_t i = 0;
  while (n > 0 && i < s.size()) {
    DecodeUtf8(s, i);
    --n;
  }
  return i;
}

std::string CutText(std::string text, size_t maxBytes)
{
  if (text.size() <= maxBytes)
    return text;
  while (maxBytes > 0 && (static_cast<unsigned char>(text[maxBytes]) & 0xC0) == 0x80)
    --maxBytes;
  text.resize(maxBytes);
  return text;
}
