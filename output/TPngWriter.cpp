#include "TPngWriter.h"

#include <png.h>

#include <utility>
#include <vector>

namespace {

// libpng reports errors by jumping back to the writer's recovery point;
// nothing is printed and the process goes on.
void OnPngError(png_structp png, png_const_charp)
{
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

} // namespace

bool TPngWriter::SetSize(uint32_t width, uint32_t height, uint32_t bits)
{
  const bool depthOk = bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 24;
  if (!depthOk || width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
    return false;
  m_width = width;
  m_height = height;
  m_bits = bits;
  return true;
}

bool TPngWriter::Open(const std::string& fileName)
{
  m_written = false;
  return m_file.Open(fileName);
}

void TPngWriter::SetTransparent(uint32_t colour)
{
  m_hasTransparent = true;
  m_transparent = colour;
}

bool TPngWriter::GetPalette(uint8_t* rgb, uint32_t count)
{
  for (uint32_t i = 0; i < count; ++i) {
    const auto grey = static_cast<uint8_t>(count > 1 ? i * 255 / (count - 1) : 0);
    rgb[3 * i] = rgb[3 * i + 1] = rgb[3 * i + 2] = grey;
  }
  return true;
}

bool TPngWriter::Write()
{
  m_written = false;
  if (!m_file.IsOpen() || m_width == 0 || m_height == 0 || m_bits == 0)
    return false;
  std::vector<uint8_t> palette;
  const uint32_t paletteCount = m_bits == 24 ? 0 : 1u << m_bits;
  if (paletteCount > 0) {
    palette.resize(3 * paletteCount);
    if (!GetPalette(palette.data(), paletteCount))
      return false;
  }
  std::vector<uint8_t> row(static_cast<size_t>(m_width) * (m_bits == 24 ? 3 : 1));
  m_written = Encode(row.data(), palette.data(), paletteCount);
  return m_written;
}

// Kept apart from Write so that nothing with a destructor lives in the
// frame that libpng's error jump returns to.
bool TPngWriter::Encode(uint8_t* row, const uint8_t* palette, uint32_t paletteCount)
{
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (!png)
    return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  volatile bool ok = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, m_file.Stream());
    const bool rgb = m_bits == 24;
    png_set_IHDR(png, info, m_width, m_height, rgb ? 8 : static_cast<int>(m_bits),
                 rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!rgb) {
      png_color colours[256];
      for (uint32_t i = 0; i < paletteCount; ++i)
        colours[i] = {palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]};
      png_set_PLTE(png, info, colours, static_cast<int>(paletteCount));
    }
    if (rgb && m_hasTransparent) {
      png_color_16 key{};
      key.red = static_cast<png_uint_16>(m_transparent & 0xFF);
      key.green = static_cast<png_uint_16>((m_transparent >> 8) & 0xFF);
      key.blue = static_cast<png_uint_16>((m_transparent >> 16) & 0xFF);
      png_set_tRNS(png, info, nullptr, 0, &key);
    }
    // Drawings are large areas of flat colour: unfiltered rows at zlib's
    // fastest level come out smaller than the default adaptive filtering at
    // level 6, and are written several times faster.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    if (m_bits < 8)
      png_set_packing(png);
    bool rowsOk = true;
    for (uint32_t y = 0; y < m_height && rowsOk; ++y) {
      rowsOk = GetLine(row, y, m_width, m_bits);
      if (rowsOk)
        png_write_row(png, row);
    }
    if (rowsOk) {
      png_write_end(png, info);
      ok = true;
    }
  }
  png_destroy_write_struct(&png, &info);
  return ok;
}

bool TPngWriter::Close()
{
  return m_file.Close(std::exchange(m_written, false));
}
