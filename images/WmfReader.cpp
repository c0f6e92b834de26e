#include "ImageReaders.h"
#include "ReaderSupport.h"
ImageReadResult ReadWmf(const uint8_t*, size_t)
{
  return readers::Refuse(IDS_IMAGE_UNSUPPORTED);
}
