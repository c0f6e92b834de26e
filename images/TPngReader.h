#pragma once

#include "ImageReaders.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct png_struct_def;
struct png_info_def;

// Reads a PNG file from memory through libpng. Every colour type and depth:
// palette pictures keep 1, 4 or 8 bits (2 bits widen to 8), greys get a grey
// ramp palette, colour becomes 24 bits; 16-bit samples are scaled to 8, and
// transparency is composed onto the file's background colour or white.
// libpng's errors come back here; they never end the process.
class TPngReader
{
public:
  TPngReader(const uint8_t* data, size_t size);
  ~TPngReader();
  TPngReader(const TPngReader&) = delete;
  TPngReader& operator=(const TPngReader&) = delete;

  ImageReadResult Read();

private:
  // How the decoded rows reach the buffer.
  enum class Mode { kDirect, kGreyAlpha, kColourAlpha };

  static void OnRead(png_struct_def* png, uint8_t* out, size_t count);
  // The steps during which libpng may fail; false when it did.
  bool ReadInfo();
  bool Decode(uint8_t** rows, size_t rowBytes);
  void SetTransformations();
  uint32_t Failure() const;
  void SetPalette(TImageBuffer& buffer);
  void Compose(const std::vector<uint8_t>& decoded, size_t rowBytes, TImageBuffer& buffer) const;

  const uint8_t* m_data;
  size_t m_size;
  size_t m_position = 0;
  bool m_ranOut = false;
  png_struct_def* m_png = nullptr;
  png_info_def* m_info = nullptr;

  uint32_t m_width = 0;
  uint32_t m_height = 0;
  int m_depth = 0;
  int m_colourType = 0;
  bool m_hasTrns = false;
  Mode m_mode = Mode::kDirect;
  int32_t m_outBits = 0;
  // The background that transparency is composed onto, red, green, blue.
  uint8_t m_background[3] = {255, 255, 255};
};
