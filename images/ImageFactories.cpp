#include "ImageFactories.h"

#include "ClassTable.h"
#include "TDataGroup.h"
#include "TImage.h"

void RegisterImageFactories()
{
  SetClassFactory(kTDataImage, &TImage::Create);
}

void ForEachImage(TData* object, const std::function<void(TImage&)>& visit)
{
  // Only pictures, groups and the symbol definitions' groups can hold a
  // picture; the class id, unlike a cast, costs nothing on a page of a
  // million shapes.
  const int32_t id = object ? object->ClassId() : 0;
  if (id != kTDataImage && id != kTDataGroup && id != kTDataGroupSymbol)
    return;
  if (auto* image = dynamic_cast<TImage*>(object)) {
    visit(*image);
    return;
  }
  if (const auto* group = dynamic_cast<const TDataGroup*>(object))
    for (int32_t i = 0; i < group->GetChildCount(); ++i)
      ForEachImage(group->GetChild(i), visit);
}
