#include "TGifWriter.h"

#include <gif_lib.h>

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace {

int PutBytes(GifFileType* gif, const GifByteType* bytes, int count)
{
  return static_cast<int>(
      std::fwrite(bytes, 1, static_cast<size_t>(count), static_cast<FILE*>(gif->UserData)));
}

struct MapDeleter
{
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

} // namespace

bool TGifWriter::IsAvailable()
{
  return true;
}

bool TGifWriter::SetSize(uint32_t width, uint32_t height, uint32_t bits)
{
  if (bits != 8 || width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
    return false;
  m_width = width;
  m_height = height;
  return true;
}

bool TGifWriter::Open(const std::string& fileName)
{
  m_written = false;
  return m_file.Open(fileName);
}

bool TGifWriter::Write()
{
  m_written = false;
  if (!m_file.IsOpen() || m_width == 0 || m_height == 0)
    return false;
  std::vector<uint8_t> rgb(3 * 256);
  if (!GetPalette(rgb.data()))
    return false;
  GifColorType colours[256];
  for (size_t i = 0; i < 256; ++i)
    colours[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
  const std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(256, colours));
  int error = 0;
  GifFileType* gif = EGifOpen(m_file.Stream(), PutBytes, &error);
  if (!map || !gif)
    return false;
  const int width = static_cast<int>(m_width), height = static_cast<int>(m_height);
  bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map.get()) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
  std::vector<uint8_t> row(m_width);
  for (uint32_t y = 0; y < m_height && ok; ++y)
    ok = GetLine(row.data(), y) && EGifPutLine(gif, row.data(), width) == GIF_OK;
  // Closing writes the trailer and frees the encoder whatever happened.
  ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
  m_written = ok;
  return ok;
}

bool TGifWriter::Close()
{
  return m_file.Close(std::exchange(m_written, false));
}
