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
  if (auto* image = dynamic_cast<TImage*>(object)) {
    visit(*image);
    return;
  }
  if (const auto* group = dynamic_cast<const TDataGroup*>(object))
    for (int32_t i = 0; i < group->GetChildCount(); ++i)
      ForEachImage(group->GetChild(i), visit);
}
