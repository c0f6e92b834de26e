#include "WmfFormat.h"

#include <QList>
#include <QString>

namespace wmf {

namespace {

// Windows-1252: Latin-1 with printable characters in 0x80..0x9F (0 where
// the code page has none).
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

void PutWord(std::vector<uint8_t>& out, uint16_t value)
{
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutDword(std::vector<uint8_t>& out, uint32_t value)
{
  PutWord(out, static_cast<uint16_t>(value));
  PutWord(out, static_cast<uint16_t>(value >> 16));
}

uint16_t GetWord(const uint8_t* in)
{
  return static_cast<uint16_t>(in[0] | in[1] << 8);
}

uint32_t GetDword(const uint8_t* in)
{
  return uint32_t{GetWord(in)} | uint32_t{GetWord(in + 2)} << 16;
}

bool StartsWithMetafileHeader(const uint8_t* data, size_t size)
{
  if (!data || size < 4)
    return false;
  const uint16_t type = GetWord(data);
  return (type == 1 || type == 2) && GetWord(data + 2) == kHeaderSize / 2;
}

uint16_t PlaceableChecksum(const uint8_t* header)
{
  uint16_t sum = 0;
  for (int i = 0; i < 10; ++i)
    sum ^= GetWord(header + 2 * i);
  return sum;
}

std::vector<uint8_t> PlaceableHeader(int16_t left, int16_t top, int16_t right, int16_t bottom,
                                     uint16_t unitsPerInch)
{
  std::vector<uint8_t> header;
  PutDword(header, kPlaceableKey);
  PutWord(header, 0); // handle
  for (const int16_t v : {left, top, right, bottom})
    PutWord(header, static_cast<uint16_t>(v));
  PutWord(header, unitsPerInch);
  PutDword(header, 0); // reserved
  PutWord(header, PlaceableChecksum(header.data()));
  return header;
}

std::string ToWesternBytes(const std::string& utf8)
{
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (const char32_t u : text.toUcs4()) {
    char byte = '?';
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      byte = static_cast<char>(u);
    } else {
      for (int i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == u)
          byte = static_cast<char>(0x80 + i);
    }
    out.push_back(byte);
  }
  return out;
}

std::string FromWesternBytes(std::string_view bytes)
{
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    char16_t u = byte;
    if (byte >= 0x80 && byte < 0xA0)
      u = kHigh[byte - 0x80] != 0 ? kHigh[byte - 0x80] : u'?';
    text.append(QChar(u));
  }
  return text.toStdString();
}

} // namespace wmf
