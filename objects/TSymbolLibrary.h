#pragma once

#include <cstdint>
#include <string_view>

class TDataOwner;
class TData;
class TDataGroupSymbol;

// What drawing objects need of a document's symbol library. The library
// itself lives with the document view; an object reaches it by asking its
// owner (SymbolLibraryOf), so drawing objects never depend on the editing
// engine.
//
// A view that has a library answers Message(MSG_SYMBOL_MODULE, 0, 0, p) by
// storing a TSymbolLibrary* (this very type, not a derived one) into
// *static_cast<TSymbolLibrary**>(p) and returning 1.
class TSymbolLibrary
{
public:
  virtual ~TSymbolLibrary() = default;

  // The definition of that name, null for an empty name or when there is none.
  virtual TDataGroupSymbol* FindDefinition(std::string_view name) const = 0;
  // Appends a definition and takes it over; false (the caller keeps it) for
  // null, a nameless definition or a name the library already has.
  virtual bool AddDefinition(TDataGroupSymbol* definition) = 0;
  // Lets the user pick a definition by name; null when cancelled or when the
  // library is empty.
  virtual TDataGroupSymbol* ChooseDefinition() = 0;
  // Runs one of the library's commands on object (the reference point of an
  // instance); 0 when the command is unknown or nothing was done.
  virtual int32_t Command(uint16_t command, TData* object, int32_t parameter) = 0;
};

// The library of the document client shows; null without a client or when
// the view has none.
TSymbolLibrary* SymbolLibraryOf(TDataOwner* client);
