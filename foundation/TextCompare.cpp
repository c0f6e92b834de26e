#include "TextCompare.h"

#include "TextEncoding.h"

#include <cstring>

namespace {

// The old PC code page's accented letters at 130..154, as Unicode.
const char16_t kPcHigh[25] = {
    0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4,
    0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC,
};

// Which of those take part in folding: the lower-case é â ä à ç ê ë è ï î ì
// ô ö û ù and ÿ Ö Ü. The others keep their byte value.
bool PcByteFolds(unsigned char c)
{
  switch (c) {
  case 134:
  case 142:
  case 143:
  case 144:
  case 145:
  case 146:
  case 149:
    return false;
  default:
    return c >= 130 && c <= 154;
  }
}

class Folder
{
public:
  Folder(std::string_view s) : m_s(s), m_utf8(IsValidUtf8(s)) {}
  bool AtEnd() const { return m_i >= m_s.size(); }
  char32_t Next()
  {
    if (m_utf8)
      return DecodeUtf8(m_s, m_i);
    const unsigned char c = static_cast<unsigned char>(m_s[m_i++]);
    if (PcByteFolds(c))
      return kPcHigh[c - 130];
    if (c >= 192)
      return c;                        // ANSI and Latin-1 agree from 160 upward
    return c < 128 ? c : 0x10000u + c; // other high bytes compare as themselves
  }

private:
  std::string_view m_s;
  bool m_utf8;
  size_t m_i = 0;
};

int Compare(std::string_view a, std::string_view b, bool noCase)
{
  Folder fa(a), fb(b);
  for (;;) {
    const bool ea = fa.AtEnd(), eb = fb.AtEnd();
    if (ea || eb)
      return ea && eb ? 0 : (ea ? -1 : 1);
    char32_t ca = fa.Next(), cb = fb.Next();
    if (noCase) {
      ca = FoldCase(ca);
      cb = FoldCase(cb);
    }
    ca = FoldAccent(ca);
    cb = FoldAccent(cb);
    if (ca != cb)
      return ca < cb ? -1 : 1;
  }
}

} // namespace

char32_t FoldCase(char32_t c)
{
  if (c >= 'a' && c <= 'z')
    return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
    return c - 32;
  if (c == 0xFF)
    return 0x178; // ÿ → Ÿ
  if (c >= 0x100 && c <= 0x17F && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
    // Latin Extended-A pairs upper/lower at even/odd positions, with the
    // ranges 0x139..0x148 and 0x179..0x17E shifted by one.
    const bool shifted = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    const bool lower = shifted ? (c % 2 == 0) : (c % 2 == 1);
    if (lower)
      return c - 1;
  }
  return c;
}

char32_t FoldAccent(char32_t c)
{
  if (c < 0xC0)
    return c;
  if (c <= 0xC6)
    return 'A';
  if (c == 0xC7)
    return 'C';
  if (c >= 0xC8 && c <= 0xCB)
    return 'E';
  if (c >= 0xCC && c <= 0xCF)
    return 'I';
  if (c == 0xD1)
    return 'N';
  if (c >= 0xD2 && c <= 0xD6)
    return 'O';
  if (c >= 0xD9 && c <= 0xDC)
    return 'U';
  if (c == 0xDD)
    return 'Y';
  if (c >= 0xE0 && c <= 0xE6)
    return 'a';
  if (c == 0xE7)
    return 'c';
  if (c >= 0xE8 && c <= 0xEB)
    return 'e';
  if (c >= 0xEC && c <= 0xEF)
    return 'i';
  if (c == 0xF1)
    return 'n';
  if (c >= 0xF2 && c <= 0xF6)
    return 'o';
  if (c >= 0xF9 && c <= 0xFC)
    return 'u';
  if (c == 0xFD || c == 0xFF)
    return 'y';
  if (c == 0x178)
    return 'Y';
  return c;
}

int CompareText(std::string_view a, std::string_view b)
{
  return Compare(a, b, false);
}
int CompareTextNoCase(std::string_view a, std::string_view b)
{
  return Compare(a, b, true);
}

int CompareText(const char* a, const char* b)
{
  if (!a || !b)
    return a == b ? 0 : (a ? 1 : -1);
  return Compare(a, b, false);
}

int CompareTextNoCase(const char* a, const char* b)
{
  if (!a || !b)
    return a == b ? 0 : (a ? 1 : -1);
  return Compare(a, b, true);
}
