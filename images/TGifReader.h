#pragma once

#include "ImageReaders.h"

#include <cstddef>
#include <cstdint>

struct GifFileType;

// Reads the first picture of a GIF file from memory through giflib, as 8
// bits with its palette, on a canvas of the logical screen: interlaced
// rows put back in order, the transparent colour and the canvas around the
// picture shown as white.
class TGifReader
{
public:
  TGifReader(const uint8_t* data, size_t size);
  ~TGifReader();
  TGifReader(const TGifReader&) = delete;
  TGifReader& operator=(const TGifReader&) = delete;

  ImageReadResult Read();

private:
  static int OnRead(GifFileType* gif, uint8_t* out, int count);
  // Reads up to the first picture's descriptor, noting its transparent
  // colour; an error id when the file fails first.
  uint32_t FindFirstImage();
  uint32_t Failure() const;

  const uint8_t* m_data;
  size_t m_size;
  size_t m_position = 0;
  bool m_ranOut = false;
  GifFileType* m_gif = nullptr;
  int m_transparent = -1;
};
