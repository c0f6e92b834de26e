#include "TSymbolLibrary.h"

#include "Messages.h"
#include "TClient.h"

TSymbolLibrary* SymbolLibraryOf(TDataOwner* client)
{
  if (!client)
    return nullptr;
  TSymbolLibrary* library = nullptr;
  client->Message(MSG_SYMBOL_MODULE, 0, 0, &library);
  return library;
}
