// The placeable metafile reader: the 22-byte placeable header (where the
// picture lies and how large it is), then a metafile whose 18-byte header
// is checked here; its records are checked by whatever plays them.

#include "ImageReaders.h"

#include "ReaderSupport.h"

#include <new>
#include <vector>

using namespace readers;

ImageReadResult ReadWmf(const uint8_t* data, size_t size)
{
  if (!data || size < 4 || Dword(data, 0) != wmf::kPlaceableKey) {
    // A metafile without the placeable header says where it is not.
    if (wmf::StartsWithMetafileHeader(data, size))
      return Refuse(IDS_IMAGE_NO_PLACEABLE_HEADER);
    return Refuse(IDS_IMAGE_NOT_THIS_KIND);
  }
  if (size < wmf::kPlaceableSize + wmf::kHeaderSize)
    return Refuse(IDS_IMAGE_TRUNCATED);
  const uint8_t* header = data + wmf::kPlaceableSize;
  // The version of the format: 0x0100 without, 0x0300 with
  // device-independent bitmaps.
  const uint16_t version = Word(header, 4);
  if (!wmf::StartsWithMetafileHeader(header, wmf::kHeaderSize) || (version != 0x0100 && version != 0x0300))
    return Refuse(IDS_IMAGE_DAMAGED);
  // The whole metafile's size in words: a file that holds less is cut short.
  const uint64_t words = Dword(header, 6);
  if (words * 2 > size - wmf::kPlaceableSize)
    return Refuse(IDS_IMAGE_TRUNCATED);
  std::vector<uint8_t> records;
  try {
    records.assign(header, data + size);
  } catch (const std::bad_alloc&) {
    return Refuse(IDS_IMAGE_TOO_LARGE);
  }
  auto buffer = std::make_unique<TImageBuffer>();
  if (!buffer->SetMetafile(data, std::move(records)))
    return Refuse(IDS_IMAGE_DAMAGED);
  return Accept(std::move(buffer));
}
