#pragma once

#include "ImageReaders.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Reads a JPEG file from memory through libjpeg: greys become 8 bits with a
// grey ramp palette, colour (YCbCr, RGB, CMYK and YCCK) 24 bits. libjpeg's
// errors come back here; they never end the process.
class TJpegReader
{
public:
  TJpegReader(const uint8_t* data, size_t size);
  ~TJpegReader();
  TJpegReader(const TJpegReader&) = delete;
  TJpegReader& operator=(const TJpegReader&) = delete;

  ImageReadResult Read();

private:
  struct State;
  // The steps during which libjpeg may fail; false when it did.
  bool Start();
  bool ReadRows(TImageBuffer& buffer, uint8_t* scratch);
  uint32_t Failure() const;

  const uint8_t* m_data;
  size_t m_size;
  std::unique_ptr<State> m_state;
};
