#include "FieldRefresh.h"

#include "Messages.h"
#include "TClient.h"
#include "TData.h"

int32_t RefreshObjects(TClient& client, uint16_t stateBits)
{
  const uint32_t message = client.GetInput() ? MSG_REFRESH : MSG_REFRESH_NO_WINDOW;
  int32_t refreshed = 0;
  for (int32_t i = 0; i < client.ObjectCount(); ++i) {
    TData* object = client.ObjectAtIndex(i);
    if (!object || (stateBits != 0 && object->TestState(stateBits) == 0))
      continue;
    object->Message(message, 0, 0, &client);
    ++refreshed;
  }
  return refreshed;
}

int32_t RefreshBeforePrinting(TClient& client)
{
  return RefreshObjects(client, TData::kRefreshOnPrint);
}
