#include "TJpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <utility>
#include <vector>

#include <jpeglib.h>

namespace {

// libjpeg's error manager followed by the recovery point its error exit
// jumps back to.
struct SilentErrorManager
{
  jpeg_error_mgr base;
  std::jmp_buf recovery;
};

void OnErrorExit(j_common_ptr info)
{
  std::longjmp(reinterpret_cast<SilentErrorManager*>(info->err)->recovery, 1);
}

// Level -1 is a warning; trace messages (level >= 0) are dropped.
void OnEmitMessage(j_common_ptr info, int level)
{
  if (level < 0)
    ++info->err->num_warnings;
}

void OnOutputMessage(j_common_ptr) {}

void OnFormatMessage(j_common_ptr, char* buffer)
{
  buffer[0] = '\0';
}

void OnResetErrorManager(j_common_ptr info)
{
  info->err->num_warnings = 0;
  info->err->msg_code = 0;
}

} // namespace

bool TJpegWriter::SetSize(uint32_t width, uint32_t height, uint32_t bits)
{
  if (bits != 24 || width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
    return false;
  m_width = width;
  m_height = height;
  m_bits = bits;
  return true;
}

bool TJpegWriter::Open(const std::string& fileName)
{
  m_written = false;
  return m_file.Open(fileName);
}

bool TJpegWriter::Write(int quality)
{
  m_written = false;
  if (!m_file.IsOpen() || m_width == 0 || m_height == 0 || m_bits == 0)
    return false;
  std::vector<uint8_t> row(static_cast<size_t>(m_width) * 3);
  m_written = Encode(row.data(), quality);
  return m_written;
}

// Kept apart from Write so that nothing with a destructor lives in the
// frame that the error exit jumps back to.
bool TJpegWriter::Encode(uint8_t* row, int quality)
{
  jpeg_compress_struct cinfo{};
  SilentErrorManager errors{};
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnErrorExit;
  errors.base.emit_message = OnEmitMessage;
  errors.base.output_message = OnOutputMessage;
  errors.base.format_message = OnFormatMessage;
  errors.base.reset_error_mgr = OnResetErrorManager;

  volatile bool ok = false;
  if (setjmp(errors.recovery) == 0) {
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, m_file.Stream());
    cinfo.image_width = m_width;
    cinfo.image_height = m_height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    bool rowsOk = true;
    for (uint32_t y = 0; y < m_height && rowsOk; ++y) {
      rowsOk = GetLine(row, y, m_width, m_bits);
      JSAMPROW rows[1] = {row};
      if (rowsOk)
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    if (rowsOk) {
      jpeg_finish_compress(&cinfo);
      ok = true;
    }
  }
  m_warnings = static_cast<int>(errors.base.num_warnings);
  jpeg_destroy_compress(&cinfo);
  return ok;
}

bool TJpegWriter::Close()
{
  return m_file.Close(std::exchange(m_written, false));
}
