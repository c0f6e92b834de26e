#pragma once

#include "TArrayPtr.h"
#include "TClientModule.h"
#include "TString.h"
#include "TSymbolLibrary.h"
#include "TUndoData.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class GModuleUndo;
class TDataGroupSymbol;
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

  // The command entry of the view and of the instances' library: New,
  // Rename, Delete and Import Symbols, and an instance's Reference Point,
  // each recorded for undo.
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
  // another definition already has. before (may be null) receives every
  // renamed string with its capacity, for an undo to the very bytes.
  bool RenameEverywhere(std::string_view oldName, std::string_view newName,
                        StringCapacities* before = nullptr);
  // Destroys every definition.
  void Clear();

  // The section with its tag: the version and the number of definitions
  // that are saved, then their records.
  void WriteSymbolSection(TOutStream& os) const;
  // Finds the section and adds the definitions it holds, up to its count;
  // a definition the library refuses (no name, a name it already has) is
  // dropped. Returns how many were added; 0 without a section.
  int32_t ReadSymbolSection(TInStream& is);
  // Adds the definitions of the stream's symbol section to the library.
  // A name the library has already is replaced, kept under another name or
  // skipped as the user says (with replaceAll, replaced without asking);
  // the user may also stop the import there. Recorded as one step. Returns
  // how many definitions joined the library; 0 without a section.
  int32_t ImportFrom(TInStream& is, bool replaceAll);

  // The definitions in library order, and that order put back: the
  // definitions order names come first, in its order, then the others as
  // they stand.
  std::vector<TData*> LibraryOrder() const;
  void RestoreLibraryOrder(const std::vector<TData*>& order);
  // The instances that find no definition, in the view and inside
  // definitions, and the definitions holding such instances, as they stand.
  std::vector<TUndoData::Placement> OrphanPlacements() const;
  // Puts back the definitions and those instances that still find no
  // definition where places had them.
  void RestoreOrphans(const std::vector<TUndoData::Placement>& places);

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
  // "Import Symbols...": a document chosen, its definitions imported, the
  // count told.
  int32_t ImportSymbols();
  // An instance's "Reference Point": once the user agrees, the point
  // clicked becomes the reference point of the instance's definition, and
  // every instance of it moves so that it keeps its reference point where
  // it is.
  int32_t ChangeReferencePoint(TData* object);

  // What the user wants done with an imported definition whose name the
  // library has.
  enum class Duplicate { kReplace, kRename, kSkip, kStop };
  Duplicate AskAboutDuplicate(TDataGroupSymbol& imported, bool& replaceAsked, bool& replaceAll);
  // Undo and redo of an import: the definitions of new leave the library,
  // those of old join it, and the two exchange places in the record. An
  // undo puts the library back in the order it had before the import.
  int32_t ExchangeImported(TUndoData& record, bool undoing);
  // Undo and redo of a reference point change: the definition's reference
  // point and the one the record keeps trade places.
  int32_t ExchangeReference(TUndoData& record);
  // Takes definition out of the library without destroying it; null when
  // the library does not hold it.
  std::unique_ptr<TDataGroupSymbol> TakeDefinition(TDataGroupSymbol* definition);
  bool HoldsDefinition(const TData* definition) const;

  // Finds the symbol section and reads its head: false without one, else
  // count is the number of definitions it announces.
  static bool ReadSectionHead(TInStream& is, int32_t& count);
  // The next definition of the section; null when the next record is not
  // one or cannot be read.
  static std::unique_ptr<TDataGroupSymbol> ReadDefinition(TInStream& is);

  // Moves every definition after the definitions it shows instances of,
  // keeping the order otherwise; definitions that use each other in a
  // circle keep an order among themselves.
  void OrderLibrary();

  TArrayOf<TDataGroupSymbol> definitions;
  GModuleUndo* history; // the view's; not owned
};
