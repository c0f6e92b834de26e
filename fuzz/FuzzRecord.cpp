// One object record of any class: read it, write it, copy it, ask it for
// its rectangles and layers, hit it and draw it.

#include "FuzzSupport.h"

#include "ObjectStream.h"
#include "TData.h"
#include "TInStream.h"
#include "TOutStream.h"
#include "TPageMem.h"

#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  TInStream is(std::string(reinterpret_cast<const char*>(data), size));
  static TPageMem page(400, 400, 25);
  for (int records = 0; records < 8 && !is.AtEnd(); ++records) {
    std::unique_ptr<TStreamable> object(ReadObject(is));
    if (!object)
      break;
    TOutStream os;
    object->Write(os);
    if (!object->IsA(kTData))
      continue;
    auto* shape = static_cast<TData*>(object.get());
    std::unique_ptr<TData> copy(shape->Clone(nullptr, 0));
    for (int32_t mode = 0; mode <= kRectSelection; ++mode) {
      TRect r;
      shape->GetRect(r, mode);
    }
    shape->GetLayers();
    shape->Contains(shape->left, shape->top);
    if (page.HasBitmap())
      shape->Paint(&page, TData::kPaintOutput);
  }
  return 0;
}
