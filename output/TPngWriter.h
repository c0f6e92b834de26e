#pragma once

#include "TAtomicFile.h"

#include <cstdint>
#include <string>

// Writes a PNG file row by row: SetSize, Open, optionally SetTransparent,
// Write, Close. Rows come from GetLine, so no copy of the whole image is
// made. The file appears under its name only after a complete write.
class TPngWriter
{
public:
  // Largest width or height accepted.
  static constexpr uint32_t kMaxSide = 65535;

  TPngWriter() = default;
  virtual ~TPngWriter() = default;
  TPngWriter(const TPngWriter&) = delete;
  TPngWriter& operator=(const TPngWriter&) = delete;

  // bits 1, 2, 4 or 8 make a palette image of that depth, 24 an RGB image.
  // Refuses other depths and sides of 0 or above kMaxSide.
  bool SetSize(uint32_t width, uint32_t height, uint32_t bits);
  // Starts the file (closing one still open); false when it cannot be made.
  bool Open(const std::string& fileName);
  // Marks one RGB colour (0x00BBGGRR) transparent; RGB images only.
  void SetTransparent(uint32_t colour);
  bool Write();
  // Puts the file in place when the last Write succeeded, otherwise removes
  // it; true when the file is in place.
  bool Close();

  // Fills row y: width RGB triples for 24 bits, width palette indices (one
  // byte each) for palette images.
  virtual bool GetLine(uint8_t* row, uint32_t y, uint32_t width, uint32_t bits) = 0;
  // Fills count RGB triples of the palette of a palette image; a grey ramp
  // unless a derived class knows better.
  virtual bool GetPalette(uint8_t* rgb, uint32_t count);

  // Why the file could not be written (empty when the writer itself
  // refused, as for a size it cannot encode).
  const std::string& FileError() const { return m_file.Error(); }

private:
  bool Encode(uint8_t* row, const uint8_t* palette, uint32_t paletteCount);

  TAtomicFile m_file;
  uint32_t m_width = 0;
  uint32_t m_height = 0;
  uint32_t m_bits = 0;
  bool m_hasTransparent = false;
  uint32_t m_transparent = 0;
  bool m_written = false;
};
