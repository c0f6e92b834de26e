#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The standard Windows metafile format: a 22-byte placeable header (where
// and how large the picture is), an 18-byte metafile header, then records
// of 16-bit words: a 32-bit size in words, a 16-bit function number, the
// parameters. All numbers are little-endian. Shared by what writes
// metafiles and what reads them.
namespace wmf {

inline constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr size_t kPlaceableSize = 22;
inline constexpr size_t kHeaderSize = 18;

enum Function : uint16_t {
  kEof = 0x0000,
  kSaveDc = 0x001E,
  kCreatePalette = 0x00F7,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetRop2 = 0x0104,
  kSetPolyFillMode = 0x0106,
  kSetStretchBltMode = 0x0107,
  kRestoreDc = 0x0127,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDibCreatePatternBrush = 0x0142,
  kDeleteObject = 0x01F0,
  kCreatePatternBrush = 0x01F9,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kSetViewportOrg = 0x020D,
  kSetViewportExt = 0x020E,
  kOffsetWindowOrg = 0x020F,
  kOffsetViewportOrg = 0x0211,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kSelectPalette = 0x0234,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kScaleWindowExt = 0x0410,
  kScaleViewportExt = 0x0412,
  kExcludeClipRect = 0x0415,
  kIntersectClipRect = 0x0416,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kSetPixel = 0x041F,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kRoundRect = 0x061C,
  kPatBlt = 0x061D,
  kEscape = 0x0626,
  kCreateRegion = 0x06FF,
  kArc = 0x0817,
  kPie = 0x081A,
  kBitBlt = 0x0922,
  kChord = 0x0830,
  kDibBitBlt = 0x0940,
  kExtTextOut = 0x0A32,
  kStretchBlt = 0x0B23,
  kDibStretchBlt = 0x0B41,
  kStretchDib = 0x0F43,
};

inline constexpr uint16_t kMapAnisotropic = 8;
inline constexpr uint16_t kPolyFillAlternate = 1;
inline constexpr uint32_t kPatCopy = 0x00F00021;
inline constexpr uint32_t kSrcCopy = 0x00CC0020;
inline constexpr uint32_t kSrcPaint = 0x00EE0086;
inline constexpr uint32_t kSrcAnd = 0x008800C6;
inline constexpr uint32_t kNotSrcCopy = 0x00330008;
inline constexpr uint32_t kBlackness = 0x00000042;
inline constexpr uint32_t kWhiteness = 0x00FF0062;
inline constexpr uint16_t kPolyFillWinding = 2;
inline constexpr uint16_t kTextAlignUpdateCp = 1;

// The placeable header of a picture spanning (left, top)-(right, bottom)
// metafile units, unitsPerInch of them to the inch; its last word is the
// exclusive-or of the ten before it.
std::vector<uint8_t> PlaceableHeader(int16_t left, int16_t top, int16_t right, int16_t bottom,
                                     uint16_t unitsPerInch);
uint16_t PlaceableChecksum(const uint8_t* header);
// Whether size bytes at data begin like a metafile's own header: kept in
// memory (1) or on disk (2), nine words long. (The placeable header, when
// there is one, comes before it.)
bool StartsWithMetafileHeader(const uint8_t* data, size_t size);

// Little-endian numbers into a byte buffer.
void PutWord(std::vector<uint8_t>& out, uint16_t value);
void PutDword(std::vector<uint8_t>& out, uint32_t value);
uint16_t GetWord(const uint8_t* in);
uint32_t GetDword(const uint8_t* in);

// Text as the 8-bit Western code page metafile text and face names use;
// characters it does not have become '?'.
std::string ToWesternBytes(const std::string& utf8);
// The reverse: 8-bit Western text as UTF-8; the five bytes the code page
// leaves undefined become '?'.
std::string FromWesternBytes(std::string_view bytes);

} // namespace wmf
