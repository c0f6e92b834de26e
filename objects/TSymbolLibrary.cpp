#include "TSymbolLibrary.h"

#include "Messages.h"
#include "TClient.h"

TSymbolLibrary* SymbolLibraryOf(TClient* client)
{
  if (!client)
    return nullptr;
  TSymbolLibrary* library = nullptr;
  client->Message(MSG_SYMBOL_MODULE, 0, 0, &library);
  return library;
}
