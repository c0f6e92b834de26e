// The metafile player: the bytes after a fixed placeable header are the
// metafile (its header and records), played onto a memory page twice, once
// shrunk into a frame and once a part of it enlarged, so that both ways of
// mapping coordinates are walked.

#include "FuzzSupport.h"

#include "TImageBuffer.h"
#include "TMetaFilePlayer.h"
#include "TPageMem.h"
#include "TRect.h"
#include "WmfFormat.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static const std::vector<uint8_t> placeable = wmf::PlaceableHeader(0, 0, 1000, 800, 100);
  static TPageMem page(300, 300, 50);
  if (size == 0 || !page.HasBitmap())
    return 0;
  TImageBuffer picture;
  if (!picture.SetMetafile(placeable.data(), std::vector<uint8_t>(data, data + size)))
    return 0;
  PlayMetafile(page, picture, TRect(10, 10, 210, 170), picture.Width(), picture.Height(), picture.MetaLeft(),
               picture.MetaTop());
  page.SetOrigin(-7, 5);
  PlayMetafile(page, picture, TRect(0, 0, 290, 290), 100, 80, 450, 350);
  page.SetOrigin(0, 0);
  return 0;
}
