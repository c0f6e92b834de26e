#pragma once

#include "TAtomicFile.h"

#include <cstdint>
#include <string>

// Writes a baseline JPEG file row by row: SetSize, Open, Write (quality),
// Close. Rows come from GetLine as RGB triples. libjpeg errors end the
// write, never the process, and are not printed; warnings are only counted.
// The file appears under its name only after a complete write.
class TJpegWriter
{
public:
  // Largest width or height accepted.
  static constexpr uint32_t kMaxSide = 65535;

  TJpegWriter() = default;
  virtual ~TJpegWriter() = default;
  TJpegWriter(const TJpegWriter&) = delete;
  TJpegWriter& operator=(const TJpegWriter&) = delete;

  // Only 24 bits (RGB) are written; refuses other depths and sides of 0 or
  // above kMaxSide.
  bool SetSize(uint32_t width, uint32_t height, uint32_t bits);
  // Starts the file (closing one still open); false when it cannot be made.
  bool Open(const std::string& fileName);
  // quality goes to libjpeg unchanged (it treats values below 1 as 1).
  bool Write(int quality);
  // Puts the file in place when the last Write succeeded, otherwise removes
  // it; true when the file is in place.
  bool Close();
  // libjpeg warnings during the last Write.
  int Warnings() const { return m_warnings; }

  // Fills row y with width RGB triples.
  virtual bool GetLine(uint8_t* row, uint32_t y, uint32_t width, uint32_t bits) = 0;

  // Why the file could not be written (empty when the writer itself
  // refused, as for a size it cannot encode).
  const std::string& FileError() const { return m_file.Error(); }

private:
  bool Encode(uint8_t* row, int quality);

  TAtomicFile m_file;
  uint32_t m_width = 0;
  uint32_t m_height = 0;
  uint32_t m_bits = 0;
  bool m_written = false;
  int m_warnings = 0;
};
