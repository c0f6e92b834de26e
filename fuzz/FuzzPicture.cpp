// The picture readers: the first byte chooses the reader, the rest is the
// file. A picture that is read is drawn once, so every pixel is looked at.

#include "FuzzSupport.h"

#include "ImageReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 1)
    return 0;
  using Reader = ImageReadResult (*)(const uint8_t*, size_t);
  static constexpr Reader kReaders[] = {ReadBmp, ReadPcx, ReadJpeg, ReadPng, ReadGif, ReadWmf};
  const Reader read = kReaders[data[0] % (sizeof kReaders / sizeof kReaders[0])];
  const ImageReadResult result = read(data + 1, size - 1);
  if (result.buffer && !result.buffer->IsMetafile())
    result.buffer->Picture(false);
  return 0;
}
