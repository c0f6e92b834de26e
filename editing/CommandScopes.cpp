#include "CommandScopes.h"

#include "TDataGroup.h"

#include <unordered_set>
#include <vector>

std::unordered_set<const TData*> ObjectsOfView(const TClient& view)
{
  const std::vector<TData*> order = view.ObjectOrder();
  return std::unordered_set<const TData*>(order.begin(), order.end());
}

void Tell(TData* object, uint32_t message)
{
  if (!object)
    return;
  if (IsCarrier(object)) {
    auto* carrier = static_cast<TDataGroup*>(object);
    for (int32_t i = 0; i < carrier->GetChildCount(); ++i)
      carrier->GetChild(i)->Message(message, 0, 0, nullptr);
  } else {
    object->Message(message, 0, 0, nullptr);
  }
}

bool InView(const TClient& view, TData* object, bool carrier)
{
  if (!object)
    return false;
  const std::unordered_set<const TData*> present = ObjectsOfView(view);
  if (!carrier)
    return present.count(object) != 0;
  auto* group = static_cast<TDataGroup*>(object);
  if (group->GetChildCount() == 0)
    return false;
  for (int32_t i = 0; i < group->GetChildCount(); ++i) {
    if (present.count(group->GetChild(i)) == 0)
      return false;
  }
  return true;
}
