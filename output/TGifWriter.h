#pragma once

#include "TAtomicFile.h"

#include <cstdint>
#include <string>

// Writes a GIF file of 8-bit palette indices row by row: SetSize, Open,
// Write, Close. Rows come from GetLine, the 256 colours from GetPalette.
// The file appears under its name only after a complete write.
class TGifWriter
{
public:
  // Largest width or height a GIF can state.
  static constexpr uint32_t kMaxSide = 65535;

  TGifWriter() = default;
  virtual ~TGifWriter() = default;
  TGifWriter(const TGifWriter&) = delete;
  TGifWriter& operator=(const TGifWriter&) = delete;

  // Whether a GIF codec is built in (it is).
  static bool IsAvailable();

  // Only 8 bits; sides of 1..kMaxSide.
  bool SetSize(uint32_t width, uint32_t height, uint32_t bits = 8);
  bool Open(const std::string& fileName);
  bool Write();
  // Puts the file in place when the last Write succeeded, otherwise removes
  // it; true when the file is in place.
  bool Close();

  // Fills row y with width palette indices.
  virtual bool GetLine(uint8_t* row, uint32_t y) = 0;
  // Fills 256 red, green, blue triples.
  virtual bool GetPalette(uint8_t* rgb) = 0;

  const std::string& FileError() const { return m_file.Error(); }

private:
  TAtomicFile m_file;
  uint32_t m_width = 0;
  uint32_t m_height = 0;
  bool m_written = false;
};
