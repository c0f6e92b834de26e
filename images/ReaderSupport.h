#pragma once

// What the picture readers share: the refusal, bounds-checked little-endian
// numbers, and the grey ramp palette.

#include "ImageReaders.h"
#include "StringIds.h"
#include "WmfFormat.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace readers {

inline ImageReadResult Refuse(uint32_t error)
{
  ImageReadResult result;
  result.error = error;
  return result;
}

inline ImageReadResult Accept(std::unique_ptr<TImageBuffer> buffer)
{
  ImageReadResult result;
  result.buffer = std::move(buffer);
  return result;
}

// A buffer of that size and depth, or null when the size is refused or the
// memory cannot be had.
inline std::unique_ptr<TImageBuffer> NewBuffer(int32_t width, int32_t height, int32_t bits)
{
  auto buffer = std::make_unique<TImageBuffer>();
  if (!buffer->Create(width, height, bits))
    return nullptr;
  return buffer;
}

// True when size bytes from offset lie inside a file of fileSize bytes.
inline bool Inside(size_t fileSize, uint64_t offset, uint64_t size)
{
  return offset <= fileSize && size <= fileSize - offset;
}

inline uint16_t Word(const uint8_t* data, size_t offset)
{
  return wmf::GetWord(data + offset);
}

inline uint32_t Dword(const uint8_t* data, size_t offset)
{
  return wmf::GetDword(data + offset);
}

// Entry i = (i, i, i) scaled over the depth's colours: black to white.
inline void SetGreyRamp(TImageBuffer& buffer)
{
  const uint32_t colours = buffer.ColorsUsed();
  if (colours < 2)
    return;
  uint8_t rgb[256 * 3];
  for (uint32_t i = 0; i < colours; ++i)
    rgb[i * 3] = rgb[i * 3 + 1] = rgb[i * 3 + 2] = static_cast<uint8_t>(i * 255 / (colours - 1));
  buffer.SetPaletteColors(rgb, static_cast<int32_t>(colours));
}

} // namespace readers
