#include "TGifReader.h"

#include "ReaderSupport.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <gif_lib.h>

using namespace readers;

namespace {

// LZW gives at most 4096 pixels for a code of 12 bits or fewer, so no
// picture (nor, for any real file, the screen it lies on) has more pixels
// than this per byte of file.
constexpr uint64_t kMaxPixelsPerByte = 4096;
constexpr uint8_t kWhite[3] = {255, 255, 255};

} // namespace

TGifReader::TGifReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

TGifReader::~TGifReader()
{
  if (m_gif) {
    int error = 0;
    DGifCloseFile(m_gif, &error);
  }
}

int TGifReader::OnRead(GifFileType* gif, uint8_t* out, int count)
{
  auto* self = static_cast<TGifReader*>(gif->UserData);
  const size_t n = std::min<size_t>(count < 0 ? 0 : size_t(count), self->m_size - self->m_position);
  if (n < size_t(count))
    self->m_ranOut = true;
  std::memcpy(out, self->m_data + self->m_position, n);
  self->m_position += n;
  return static_cast<int>(n);
}

uint32_t TGifReader::Failure() const
{
  return m_ranOut ? IDS_IMAGE_TRUNCATED : IDS_IMAGE_DAMAGED;
}

uint32_t TGifReader::FindFirstImage()
{
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(m_gif, &type) == GIF_ERROR)
      return Failure();
    switch (type) {
    case IMAGE_DESC_RECORD_TYPE:
      return DGifGetImageDesc(m_gif) == GIF_ERROR ? Failure() : 0;
    case EXTENSION_RECORD_TYPE: {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(m_gif, &code, &block) == GIF_ERROR)
        return Failure();
      // The control block before a picture names its transparent colour.
      GraphicsControlBlock control;
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4 &&
          DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
        m_transparent = control.TransparentColor;
      while (block) {
        if (DGifGetExtensionNext(m_gif, &block) == GIF_ERROR)
          return Failure();
      }
      break;
    }
    case TERMINATE_RECORD_TYPE:
      return IDS_IMAGE_DAMAGED; // a file without a picture
    default:
      break;
    }
  }
}

ImageReadResult TGifReader::Read()
{
  if (!m_data || m_size < 6 || std::memcmp(m_data, "GIF", 3) != 0)
    return Refuse(IDS_IMAGE_NOT_THIS_KIND);
  int error = 0;
  m_gif = DGifOpen(this, OnRead, &error);
  if (!m_gif)
    return Refuse(m_ranOut ? IDS_IMAGE_TRUNCATED : IDS_IMAGE_DAMAGED);
  if (const uint32_t failure = FindFirstImage())
    return Refuse(failure);

  const GifImageDesc& image = m_gif->Image;
  if (image.Left < 0 || image.Top < 0 || image.Width <= 0 || image.Height <= 0)
    return Refuse(IDS_IMAGE_BAD_DIMENSIONS);
  // The screen grows to hold a picture that lies partly outside it.
  const int64_t width = std::max<int64_t>(m_gif->SWidth, int64_t{image.Left} + image.Width);
  const int64_t height = std::max<int64_t>(m_gif->SHeight, int64_t{image.Top} + image.Height);
  if (width > INT32_MAX || height > INT32_MAX ||
      !TImageBuffer::Fits(static_cast<int32_t>(width), static_cast<int32_t>(height), 8))
    return Refuse(IDS_IMAGE_TOO_LARGE);
  if (uint64_t(width) * uint64_t(height) > kMaxPixelsPerByte * m_size)
    return Refuse(IDS_IMAGE_TRUNCATED);
  auto buffer = NewBuffer(static_cast<int32_t>(width), static_cast<int32_t>(height), 8);
  if (!buffer)
    return Refuse(IDS_IMAGE_TOO_LARGE);

  // The palette: the picture's own, else the file's, else shades of grey.
  const ColorMapObject* map = image.ColorMap ? image.ColorMap : m_gif->SColorMap;
  int colours = 0;
  if (map && map->Colors && map->ColorCount > 0) {
    colours = std::min(map->ColorCount, 256);
    uint8_t rgb[256 * 3];
    for (int i = 0; i < colours; ++i) {
      rgb[i * 3 + 0] = map->Colors[i].Red;
      rgb[i * 3 + 1] = map->Colors[i].Green;
      rgb[i * 3 + 2] = map->Colors[i].Blue;
    }
    buffer->SetPaletteColors(rgb, colours);
  } else {
    SetGreyRamp(*buffer);
    colours = 256;
  }
  // White for the transparent colour and the canvas around the picture:
  // the transparent entry, else a free entry, else the screen's background.
  int fill = m_gif->SBackGroundColor;
  if (m_transparent >= 0 && m_transparent < 256)
    fill = m_transparent;
  else if (colours < 256)
    fill = colours;
  if (fill == m_transparent || fill == colours) {
    uint8_t* entry = buffer->Palette() + size_t(fill) * 4;
    entry[0] = kWhite[2];
    entry[1] = kWhite[1];
    entry[2] = kWhite[0];
  }
  std::memset(buffer->Bits(), fill & 0xFF, buffer->BitsSize());

  // Interlaced pictures send every 8th row from 0, every 8th from 4, every
  // 4th from 2, then every 2nd from 1.
  static constexpr int kStart[4] = {0, 4, 2, 1};
  static constexpr int kStep[4] = {8, 8, 4, 2};
  std::vector<GifPixelType> line(static_cast<size_t>(image.Width));
  const int passes = image.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int start = image.Interlace ? kStart[pass] : 0;
    const int step = image.Interlace ? kStep[pass] : 1;
    for (int y = start; y < image.Height; y += step) {
      if (DGifGetLine(m_gif, line.data(), image.Width) == GIF_ERROR)
        return Refuse(Failure());
      std::memcpy(buffer->Row(image.Top + y) + image.Left, line.data(), line.size());
    }
  }
  return Accept(std::move(buffer));
}

ImageReadResult ReadGif(const uint8_t* data, size_t size)
{
  TGifReader reader(data, size);
  return reader.Read();
}
