#include "ObjectCreation.h"

#include "CommandIds.h"
#include "TClient.h"
#include "TData.h"

std::unique_ptr<TData> PlaceObject(TDataOwner& client,
                                   const std::function<std::unique_ptr<TData>(TPoint)>& build)
{
  int32_t x = 0, y = 0;
  if (client.GetPosition(x, y) != TDataOwner::kPointGiven)
    return nullptr;
  std::unique_ptr<TData> object = build({x, y});
  if (object)
    object->SetLayers(client.GetLayers());
  return object;
}

std::unique_ptr<TData> PlaceAndSize(TDataOwner& client,
                                    const std::function<std::unique_ptr<TData>(TPoint)>& build)
{
  std::unique_ptr<TData> object = PlaceObject(client, build);
  if (!object || object->ContextCommand(&client, CM_OBJ_SIZE) == 0)
    return nullptr;
  return object;
}

TData* ReleaseIfNotEmpty(std::unique_ptr<TData> object)
{
  if (!object || object->Width() <= 0 || object->Height() <= 0)
    return nullptr;
  return object.release();
}
