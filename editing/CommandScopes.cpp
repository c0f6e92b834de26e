#include "CommandScopes.h"

#include "THeldObject.h"

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
