#pragma once

#include "TArrayPtr.h"
#include "TClientModule.h"
#include "TSymbolLibrary.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class GModuleUndo;
class TDataGroupSymbol;
class TUndoData;
class TInStream;
class TOutStream;

// The symbol library of one document: the definitions, owned, in library
// order (a definition that shows instances of others comes after them, so
// that a file lists every definition after the ones it uses), the name
// prompts, and the "VEKT Symboles" section of the document file.
//
// Names are never empty and unique in the library; they are compared
// ignoring accents.
class TClientModuleSym : public TClientModule, public TSymbolLibrary
{
public:
  static constexpr int32_t kModuleId = 2;
  // Longest symbol name, in bytes.
  static constexpr int32_t kNameLength = 39;
  static constexpr int32_t kSectionVersion = 0;

  // history: the view's, where the module records its commands (null:
  // nothing is recorded).
  explicit TClientModuleSym(TClient* client, GModuleUndo* history = nullptr);
  ~TClientModuleSym() override;

  // The command entry of the view and of the instances' library: Rename
  // Symbol and Delete Symbol, recorded for undo.
  int32_t Command(uint16_t command, TData* object, int32_t parameter) override;
  // Applies a step of this module backwards or forwards; 0 when it is not
  // this module's or no longer fits the library (it is then skipped).
  int32_t Undo(TUndoData& record);
  int32_t Redo(TUndoData& record);

  TDataGroupSymbol* FindDefinition(std::string_view name) const override;
  // Also makes the view the definition's owner and tells its members they
  // joined the document (MSG_REFRESH_NO_WINDOW).
  bool AddDefinition(TDataGroupSymbol* definition) override;
  // The list of names titled "Symbol Name".
  TDataGroupSymbol* ChooseDefinition() override;

  int32_t GetDefinitionCount() const { return definitions.Count(); }
  // Null for an index out of range.
  TDataGroupSymbol* GetDefinition(int32_t index) const { return definitions.Get(index); }

  // Asks for a new symbol name, starting from name: true with a name that
  // is not empty and not taken (trimmed, at most kNameLength bytes) in
  // name; false when the user cancelled.
  bool AskSymbolName(std::string& name);
  // The definition called name changed: puts the library back in order,
  // lets the instances inside definitions and then those of the view look
  // up their definitions again, and repaints the view's instances.
  void UpdateInstances(std::string_view name);
  // Renames the definition and every instance of oldName, inside
  // definitions and in the view, then updates the instances and marks the
  // view modified. Refused (false) for an empty name and for a newName that
  // another definition already has.
  bool RenameEverywhere(std::string_view oldName, std::string_view newName);
  // Destroys every definition.
  void Clear();

  // The section with its tag: the version and the number of definitions
  // that are saved, then their records.
  void WriteSymbolSection(TOutStream& os) const;
  // Finds the section and adds the definitions it holds, up to its count;
  // a definition the library refuses (no name, a name it already has) is
  // dropped. Returns how many were added; 0 without a section.
  int32_t ReadSymbolSection(TInStream& is);

private:
  // "New Symbol": the picked objects become a definition of a new name and
  // an instance of it takes their place.
  int32_t NewSymbol();
  // "Rename Symbol": a definition chosen, a new name asked, every instance
  // renamed with it.
  int32_t RenameSymbol();
  // "Delete Symbol": a definition chosen and, once confirmed, out of the
  // library; its instances stay on the page.
  int32_t DeleteSymbol();
  // Takes definition out of the library without destroying it; null when
  // the library does not hold it.
  std::unique_ptr<TDataGroupSymbol> TakeDefinition(TDataGroupSymbol* definition);
  bool HoldsDefinition(const TData* definition) const;

  // Moves every definition after the definitions it shows instances of,
  // keeping the order otherwise; definitions that use each other in a
  // circle keep an order among themselves.
  void OrderLibrary();

  TArrayOf<TDataGroupSymbol> definitions;
  GModuleUndo* history; // the view's; not owned
};
