#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The pixels of one picture file, shared by every image object that shows
// that file (see TImageCache). A bitmap is kept as a device-independent
// bitmap: rows padded to 32 bits, stored bottom-up, a palette of blue,
// green, red, 0 entries for 1, 4 and 8 bits. A metafile picture keeps its
// 22-byte placeable header and the records that follow it instead.
class TImageBuffer
{
public:
  // Pictures whose pixels would need more than this many bytes are refused
  // before anything is allocated: no real picture comes near it, and a
  // file that claims such a size is damaged or hostile.
  static constexpr uint64_t kMaxBytes = uint64_t{512} << 20;
  static constexpr uint16_t kMaxReferences = 65535;
  static constexpr size_t kPlaceableSize = 22;

  TImageBuffer() = default;
  explicit TImageBuffer(std::string name);
  TImageBuffer(const TImageBuffer&) = delete;
  TImageBuffer& operator=(const TImageBuffer&) = delete;
  virtual ~TImageBuffer();

  // An empty bitmap, all pixels zero (colour 0). False, the buffer left
  // empty, for a size below 1, a depth other than 1, 4, 8, 16, 24 or 32 or
  // a picture above kMaxBytes.
  bool Create(int32_t width, int32_t height, int32_t bits);
  // Row stride and palette size a bitmap of that depth has (0 when the
  // depth or size is not one Create accepts).
  static uint32_t RowStrideFor(int32_t width, int32_t bits);
  static uint32_t ColorsFor(int32_t bits);
  // True when Create would accept the size and depth.
  static bool Fits(int32_t width, int32_t height, int32_t bits);

  // Copies min(count, ColorsUsed()) red, green, blue triples into the
  // palette; the number copied.
  int32_t SetPaletteColors(const uint8_t* rgb, int32_t count);
  // A metafile picture: the placeable header and the records after it.
  // False (nothing kept) when the header is short or has the wrong key.
  bool SetMetafile(const uint8_t* placeable, std::vector<uint8_t> records);
  void Clear();

  bool AddRef();
  // The new count; 0 when it already was.
  uint16_t Release();
  uint16_t RefCount() const { return m_refCount; }

  const std::string& Name() const { return m_name; }
  void SetName(std::string name) { m_name = std::move(name); }
  bool HasName(const std::string& path) const { return !path.empty() && path == m_name; }
  bool IsValid() const { return !m_bits.empty() || IsMetafile(); }
  bool IsMetafile() const { return !m_records.empty(); }

  int32_t Width() const { return m_width; }
  int32_t Height() const { return m_height; }
  int32_t BitsPerPixel() const { return m_bitsPerPixel; }
  uint32_t RowStride() const { return m_rowStride; }
  uint32_t ColorsUsed() const { return m_colorsUsed; }
  // Palette entries, 4 bytes each (blue, green, red, 0); null without one.
  uint8_t* Palette() { return m_palette.empty() ? nullptr : m_palette.data(); }
  const uint8_t* Palette() const { return m_palette.empty() ? nullptr : m_palette.data(); }
  // The pixel data, bottom row first, RowStride() x Height() bytes.
  uint8_t* Bits() { return m_bits.empty() ? nullptr : m_bits.data(); }
  const uint8_t* Bits() const { return m_bits.empty() ? nullptr : m_bits.data(); }
  size_t BitsSize() const { return size_t{m_rowStride} * static_cast<size_t>(m_height); }
  // Row y counted from the top; null outside the picture.
  uint8_t* Row(int32_t y);
  const uint8_t* Row(int32_t y) const;

  // The placeable header (22 bytes) and the records of a metafile picture.
  const uint8_t* PlaceableHeader() const { return m_placeable; }
  const std::vector<uint8_t>& Records() const { return m_records; }
  // The picture's frame in metafile units, from the placeable header.
  int16_t MetaLeft() const;
  int16_t MetaTop() const;
  int16_t MetaRight() const;
  int16_t MetaBottom() const;

  // What the information box reports: the pixel bytes of a bitmap, the
  // record bytes of a metafile.
  uint64_t MemorySize() const;

  // The bitmap as a top-down QImage for drawing (made once, then kept;
  // a null image for a metafile or an empty buffer). transparentWhite
  // gives pure white pixels alpha 0.
  const QImage& Picture(bool transparentWhite) const;

private:
  std::string m_name;
  uint16_t m_refCount = 0;
  int32_t m_width = 0;
  int32_t m_height = 0;
  int32_t m_bitsPerPixel = 0;
  uint32_t m_rowStride = 0;
  uint32_t m_colorsUsed = 0;
  std::vector<uint8_t> m_palette;
  // Pixel data plus one spare row, as readers that run a little past the
  // last row expect.
  std::vector<uint8_t> m_bits;
  uint8_t m_placeable[kPlaceableSize] = {};
  std::vector<uint8_t> m_records;
  mutable QImage m_picture;
  mutable QImage m_transparentPicture;
};
