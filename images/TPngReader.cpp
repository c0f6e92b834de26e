#include "TPngReader.h"

#include "ReaderSupport.h"

#include <algorithm>
#include <cstring>

#include <png.h>

using namespace readers;

namespace {

// Deflate never expands by more than this; a file that claims more pixels
// than its bytes could hold is refused before anything is allocated.
constexpr uint64_t kMaxDeflateRatio = 1032;
constexpr uint32_t kMaxSide = 1000000;
constexpr png_uint_32 kMaxCachedChunks = 128;
constexpr png_alloc_size_t kMaxChunkBytes = 8 << 20;

// Back to the recovery point, silently.
void OnError(png_structp png, png_const_charp)
{
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// A sample of the file's depth scaled to 8 bits, rounded as libpng scales
// 16-bit samples.
uint8_t To8Bits(uint32_t value, int depth)
{
  if (depth == 16)
    return static_cast<uint8_t>((value * 255 + 32895) >> 16);
  if (depth == 8)
    return static_cast<uint8_t>(value);
  const uint32_t most = (uint32_t{1} << depth) - 1;
  return static_cast<uint8_t>(std::min(value, most) * 255 / most);
}

uint8_t Over(uint8_t colour, uint8_t alpha, uint8_t background)
{
  return static_cast<uint8_t>((colour * alpha + background * (255 - alpha) + 127) / 255);
}

} // namespace

TPngReader::TPngReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

TPngReader::~TPngReader()
{
  if (m_png)
    png_destroy_read_struct(&m_png, m_info ? &m_info : nullptr, nullptr);
}

void TPngReader::OnRead(png_struct_def* png, uint8_t* out, size_t count)
{
  auto* self = static_cast<TPngReader*>(png_get_io_ptr(png));
  if (count > self->m_size - self->m_position) {
    self->m_ranOut = true;
    png_error(png, "cut short");
  }
  std::memcpy(out, self->m_data + self->m_position, count);
  self->m_position += count;
}

uint32_t TPngReader::Failure() const
{
  return m_ranOut ? IDS_IMAGE_TRUNCATED : IDS_IMAGE_DAMAGED;
}

// Nothing with a destructor lives in the frames libpng's error jumps over.
bool TPngReader::ReadInfo()
{
  if (setjmp(png_jmpbuf(m_png)))
    return false;
  png_set_read_fn(m_png, this, OnRead);
  png_set_user_limits(m_png, kMaxSide, kMaxSide);
  png_set_chunk_cache_max(m_png, kMaxCachedChunks);
  png_set_chunk_malloc_max(m_png, kMaxChunkBytes);
  png_read_info(m_png, m_info);
  m_width = png_get_image_width(m_png, m_info);
  m_height = png_get_image_height(m_png, m_info);
  m_depth = png_get_bit_depth(m_png, m_info);
  m_colourType = png_get_color_type(m_png, m_info);
  m_hasTrns = png_get_valid(m_png, m_info, PNG_INFO_tRNS) != 0;
  return true;
}

void TPngReader::SetTransformations()
{
  if (m_depth == 16)
    png_set_scale_16(m_png);
  switch (m_colourType) {
  case PNG_COLOR_TYPE_PALETTE:
    if (m_depth == 2)
      png_set_packing(m_png);
    break;
  case PNG_COLOR_TYPE_GRAY:
  case PNG_COLOR_TYPE_GRAY_ALPHA:
    if (m_mode == Mode::kGreyAlpha)
      png_set_expand(m_png); // a transparent grey becomes an alpha channel
    else if (m_depth == 2)
      png_set_expand_gray_1_2_4_to_8(m_png);
    break;
  default:
    png_set_bgr(m_png);
    if (m_mode == Mode::kColourAlpha)
      png_set_expand(m_png);
    break;
  }
  png_set_interlace_handling(m_png);
  png_read_update_info(m_png, m_info);
}

bool TPngReader::Decode(uint8_t** rows, size_t rowBytes)
{
  if (setjmp(png_jmpbuf(m_png)))
    return false;
  SetTransformations();
  // The rows were sized for what the transformations give.
  if (png_get_rowbytes(m_png, m_info) > rowBytes)
    png_error(m_png, "unexpected row size");
  png_read_image(m_png, rows);
  return true;
}

void TPngReader::SetPalette(TImageBuffer& buffer)
{
  if (m_colourType != PNG_COLOR_TYPE_PALETTE) {
    SetGreyRamp(buffer);
    return;
  }
  png_colorp palette = nullptr;
  int count = 0;
  if (!png_get_PLTE(m_png, m_info, &palette, &count) || !palette)
    return;
  count = std::clamp(count, 0, 256);
  png_bytep alpha = nullptr;
  int alphaCount = 0;
  if (m_hasTrns)
    png_get_tRNS(m_png, m_info, &alpha, &alphaCount, nullptr);
  if (!alpha)
    alphaCount = 0;
  uint8_t rgb[256 * 3];
  for (int i = 0; i < count; ++i) {
    const uint8_t a = i < alphaCount ? alpha[i] : 255;
    rgb[i * 3 + 0] = Over(palette[i].red, a, m_background[0]);
    rgb[i * 3 + 1] = Over(palette[i].green, a, m_background[1]);
    rgb[i * 3 + 2] = Over(palette[i].blue, a, m_background[2]);
  }
  buffer.SetPaletteColors(rgb, count);
}

void TPngReader::Compose(const std::vector<uint8_t>& decoded, size_t rowBytes, TImageBuffer& buffer) const
{
  for (uint32_t y = 0; y < m_height; ++y) {
    const uint8_t* in = decoded.data() + size_t{y} * rowBytes;
    uint8_t* out = buffer.Row(static_cast<int32_t>(y));
    if (m_mode == Mode::kGreyAlpha) {
      for (uint32_t x = 0; x < m_width; ++x)
        out[x] = Over(in[x * 2], in[x * 2 + 1], m_background[0]);
    } else {
      // Blue, green, red, alpha in; blue, green, red out.
      for (uint32_t x = 0; x < m_width; ++x) {
        const uint8_t a = in[x * 4 + 3];
        out[x * 3 + 0] = Over(in[x * 4 + 0], a, m_background[2]);
        out[x * 3 + 1] = Over(in[x * 4 + 1], a, m_background[1]);
        out[x * 3 + 2] = Over(in[x * 4 + 2], a, m_background[0]);
      }
    }
  }
}

ImageReadResult TPngReader::Read()
{
  if (!m_data || m_size < 8 || png_sig_cmp(m_data, 0, 8) != 0)
    return Refuse(IDS_IMAGE_NOT_THIS_KIND);
  m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning);
  if (m_png)
    m_info = png_create_info_struct(m_png);
  if (!m_png || !m_info)
    return Refuse(IDS_IMAGE_TOO_LARGE);
  if (!ReadInfo())
    return Refuse(Failure());

  const int channels = png_get_channels(m_png, m_info);
  const bool alpha = (m_colourType & PNG_COLOR_MASK_ALPHA) != 0 || m_hasTrns;
  switch (m_colourType) {
  case PNG_COLOR_TYPE_PALETTE:
    m_outBits = m_depth == 2 ? 8 : m_depth;
    break;
  case PNG_COLOR_TYPE_GRAY:
  case PNG_COLOR_TYPE_GRAY_ALPHA:
    m_mode = alpha ? Mode::kGreyAlpha : Mode::kDirect;
    m_outBits = !alpha && (m_depth == 1 || m_depth == 4) ? m_depth : 8;
    break;
  case PNG_COLOR_TYPE_RGB:
  case PNG_COLOR_TYPE_RGB_ALPHA:
    m_mode = alpha ? Mode::kColourAlpha : Mode::kDirect;
    m_outBits = 24;
    break;
  default:
    return Refuse(IDS_IMAGE_UNSUPPORTED);
  }
  if (m_width > uint32_t{INT32_MAX} || m_height > uint32_t{INT32_MAX} ||
      !TImageBuffer::Fits(static_cast<int32_t>(m_width), static_cast<int32_t>(m_height), m_outBits))
    return Refuse(IDS_IMAGE_TOO_LARGE);
  const uint64_t rawBytes = uint64_t{m_height} * ((uint64_t{m_width} * channels * m_depth + 7) / 8 + 1);
  if (rawBytes > kMaxDeflateRatio * m_size)
    return Refuse(IDS_IMAGE_TRUNCATED);

  png_color_16p background = nullptr;
  if (alpha && png_get_bKGD(m_png, m_info, &background) && background) {
    if (m_colourType == PNG_COLOR_TYPE_PALETTE) {
      png_colorp palette = nullptr;
      int count = 0;
      if (png_get_PLTE(m_png, m_info, &palette, &count) && palette && background->index < count) {
        m_background[0] = palette[background->index].red;
        m_background[1] = palette[background->index].green;
        m_background[2] = palette[background->index].blue;
      }
    } else if (m_mode == Mode::kGreyAlpha) {
      m_background[0] = m_background[1] = m_background[2] = To8Bits(background->gray, m_depth);
    } else {
      m_background[0] = To8Bits(background->red, m_depth);
      m_background[1] = To8Bits(background->green, m_depth);
      m_background[2] = To8Bits(background->blue, m_depth);
    }
  }

  auto buffer = NewBuffer(static_cast<int32_t>(m_width), static_cast<int32_t>(m_height), m_outBits);
  if (!buffer)
    return Refuse(IDS_IMAGE_TOO_LARGE);
  SetPalette(*buffer);
  std::vector<uint8_t*> rows(m_height);
  std::vector<uint8_t> decoded;
  size_t rowBytes = buffer->RowStride();
  if (m_mode == Mode::kDirect) {
    for (uint32_t y = 0; y < m_height; ++y)
      rows[y] = buffer->Row(static_cast<int32_t>(y));
  } else {
    rowBytes = size_t{m_width} * (m_mode == Mode::kGreyAlpha ? 2 : 4);
    decoded.resize(rowBytes * m_height);
    for (uint32_t y = 0; y < m_height; ++y)
      rows[y] = decoded.data() + size_t{y} * rowBytes;
  }
  if (!Decode(rows.data(), rowBytes))
    return Refuse(Failure());
  if (m_mode != Mode::kDirect)
    Compose(decoded, rowBytes, *buffer);
  return Accept(std::move(buffer));
}

ImageReadResult ReadPng(const uint8_t* data, size_t size)
{
  TPngReader reader(data, size);
  return reader.Read();
}
