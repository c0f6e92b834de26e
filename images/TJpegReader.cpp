#include "TJpegReader.h"

#include "ReaderSupport.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

using namespace readers;

namespace {

// A plain JPEG spends at least a bit or two on every 8x8 block of every
// component, so no picture has more pixels than this per byte of file; a
// file claiming more is refused before anything is allocated.
constexpr uint64_t kMaxPixelsPerByte = 4096;
// Progressive files have a dozen scans; thousands only cost time.
constexpr int kMaxScans = 1000;
// Above this libjpeg's working memory would go to backing store, which
// fails here.
constexpr long kMaxWorkingMemory = 512L << 20;

// libjpeg's error manager followed by the recovery point its error exit
// jumps back to, and why it jumped.
struct ErrorManager
{
  jpeg_error_mgr base;
  std::jmp_buf recovery;
  bool ranOut = false;
};

void OnErrorExit(j_common_ptr info)
{
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->recovery, 1);
}

// Warnings about damaged data are borne (the picture shows what was
// decoded); data that ends early refuses the file.
void OnEmitMessage(j_common_ptr info, int level)
{
  if (level >= 0)
    return;
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  ++errors->base.num_warnings;
  if (errors->base.msg_code == JWRN_JPEG_EOF) {
    errors->ranOut = true;
    std::longjmp(errors->recovery, 1);
  }
}

void OnOutputMessage(j_common_ptr) {}

void OnFormatMessage(j_common_ptr, char* buffer)
{
  buffer[0] = '\0';
}

void OnProgress(j_common_ptr info)
{
  if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
    OnErrorExit(info);
}

} // namespace

struct TJpegReader::State
{
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  jpeg_progress_mgr progress{};
  bool created = false;
};

TJpegReader::TJpegReader(const uint8_t* data, size_t size)
    : m_data(data), m_size(size), m_state(std::make_unique<State>())
{
}

TJpegReader::~TJpegReader()
{
  if (m_state->created)
    jpeg_destroy_decompress(&m_state->info);
}

uint32_t TJpegReader::Failure() const
{
  return m_state->errors.ranOut ? IDS_IMAGE_TRUNCATED : IDS_IMAGE_DAMAGED;
}

// Nothing with a destructor lives in the frames libjpeg's errors jump over.
bool TJpegReader::Start()
{
  jpeg_decompress_struct& info = m_state->info;
  info.err = jpeg_std_error(&m_state->errors.base);
  m_state->errors.base.error_exit = OnErrorExit;
  m_state->errors.base.emit_message = OnEmitMessage;
  m_state->errors.base.output_message = OnOutputMessage;
  m_state->errors.base.format_message = OnFormatMessage;
  if (setjmp(m_state->errors.recovery))
    return false;
  jpeg_create_decompress(&info);
  m_state->created = true;
  info.mem->max_memory_to_use = kMaxWorkingMemory;
  m_state->progress.progress_monitor = OnProgress;
  info.progress = &m_state->progress;
  jpeg_mem_src(&info, m_data, static_cast<unsigned long>(m_size));
  jpeg_read_header(&info, TRUE);
  switch (info.jpeg_color_space) {
  case JCS_GRAYSCALE:
    info.out_color_space = JCS_GRAYSCALE;
    break;
  case JCS_CMYK:
  case JCS_YCCK:
    info.out_color_space = JCS_CMYK;
    break;
  default:
    info.out_color_space = JCS_EXT_BGR;
    break;
  }
  jpeg_calc_output_dimensions(&info);
  return true;
}

bool TJpegReader::ReadRows(TImageBuffer& buffer, uint8_t* scratch)
{
  jpeg_decompress_struct& info = m_state->info;
  if (setjmp(m_state->errors.recovery))
    return false;
  jpeg_start_decompress(&info);
  const bool cmyk = info.out_color_space == JCS_CMYK;
  while (info.output_scanline < info.output_height) {
    const int32_t y = static_cast<int32_t>(info.output_scanline);
    uint8_t* row = buffer.Row(y);
    JSAMPROW target = cmyk ? scratch : row;
    if (jpeg_read_scanlines(&info, &target, 1) != 1)
      OnErrorExit(reinterpret_cast<j_common_ptr>(&info));
    if (cmyk) {
      // Adobe's files store the inks inverted: each value is how much of
      // the colour is left, so the colour is their product.
      const bool inverted = info.saw_Adobe_marker;
      for (JDIMENSION x = 0; x < info.output_width; ++x) {
        const uint8_t* ink = scratch + size_t{x} * 4;
        const int k = inverted ? ink[3] : 255 - ink[3];
        for (int c = 0; c < 3; ++c) {
          const int left = inverted ? ink[c] : 255 - ink[c];
          row[x * 3 + (2 - c)] = static_cast<uint8_t>((left * k + 127) / 255);
        }
      }
    }
  }
  jpeg_finish_decompress(&info);
  return true;
}

ImageReadResult TJpegReader::Read()
{
  if (!m_data || m_size < 3 || m_data[0] != 0xFF || m_data[1] != 0xD8 || m_data[2] != 0xFF)
    return Refuse(IDS_IMAGE_NOT_THIS_KIND);
  if (!Start())
    return Refuse(Failure());
  const jpeg_decompress_struct& info = m_state->info;
  const int32_t bits = info.out_color_space == JCS_GRAYSCALE ? 8 : 24;
  if (info.output_width == 0 || info.output_height == 0 || info.output_width > uint32_t{INT32_MAX} ||
      info.output_height > uint32_t{INT32_MAX})
    return Refuse(IDS_IMAGE_BAD_DIMENSIONS);
  const int32_t width = static_cast<int32_t>(info.output_width);
  const int32_t height = static_cast<int32_t>(info.output_height);
  if (!TImageBuffer::Fits(width, height, bits))
    return Refuse(IDS_IMAGE_TOO_LARGE);
  if (uint64_t(width) * uint64_t(height) > kMaxPixelsPerByte * m_size)
    return Refuse(IDS_IMAGE_TRUNCATED);
  auto buffer = NewBuffer(width, height, bits);
  if (!buffer)
    return Refuse(IDS_IMAGE_TOO_LARGE);
  if (bits == 8)
    SetGreyRamp(*buffer);
  std::vector<uint8_t> scratch(info.out_color_space == JCS_CMYK ? size_t(width) * 4 : 0);
  if (!ReadRows(*buffer, scratch.data()))
    return Refuse(Failure());
  return Accept(std::move(buffer));
}

ImageReadResult ReadJpeg(const uint8_t* data, size_t size)
{
  TJpegReader reader(data, size);
  return reader.Read();
}
