// Importing the symbol definitions of another document, and its undo.

#include "TClientModuleSym.h"

#include "CommandScopes.h"
#include "DocumentFile.h"
#include "GModuleUndo.h"
#include "Messages.h"
#include "StringTable.h"
#include "TClient.h"
#include "TDataGroupSymbol.h"
#include "TInStream.h"
#include "TUndoData.h"
#include "TUserInput.h"
#include "TaClientPage.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// The definitions a carrier of the record gathers.
std::vector<TDataGroupSymbol*> DefinitionsOf(const TData* carrier)
{
  std::vector<TDataGroupSymbol*> found;
  const auto* group = dynamic_cast<const TDataGroup*>(carrier);
  if (!group)
    return found;
  for (int32_t i = 0; i < group->GetChildCount(); ++i) {
    auto* definition = dynamic_cast<TDataGroupSymbol*>(group->GetChild(i));
    if (definition)
      found.push_back(definition);
  }
  return found;
}

} // namespace

int32_t TClientModuleSym::ImportSymbols()
{
  TUserInput* input = client ? client->GetInput() : nullptr;
  if (!input || client->IsBusy())
    return 0;
  BusyScope busy(*client);
  const auto* document = dynamic_cast<const TaClientPage*>(client);
  std::string path = document ? StartFolder(*document) : std::string();
  if (!input->ChooseOpenFile(path, LoadStr(IDS_DOCUMENT_FILTER)) || path.empty())
    return 0;
  TInStream is;
  if (!is.LoadFile(path))
    return 0;
  const int32_t count = ImportFrom(is, false);
  if (count > 0)
    client->InvalidateWindow();
  input->MessageBox(FormatStr(count < 2 ? IDS_SYMBOL_IMPORTED_ONE : IDS_SYMBOL_IMPORTED_MANY, count),
                    LoadStr(IDS_SYMBOLS_TITLE), MB_OK_ | MB_ICONINFORMATION_);
  return count > 0 ? 1 : 0;
}

TClientModuleSym::Duplicate TClientModuleSym::AskAboutDuplicate(TDataGroupSymbol& imported,
                                                                bool& replaceAsked, bool& replaceAll)
{
  TUserInput* input = client ? client->GetInput() : nullptr;
  // Nobody to ask: the safe answer, Cancel.
  if (!input)
    return Duplicate::kStop;
  const std::string title = LoadStr(IDS_SYMBOL_TITLE);
  const std::string question = std::string(imported.GetName()) + ":\n\n" + LoadStr(IDS_SYMBOL_EXISTS);
  const int32_t answer = input->MessageBox(question, title, MB_YESNOCANCEL_ | MB_ICONEXCLAMATION_);
  if (answer == IDYES_) {
    if (!replaceAsked) {
      replaceAsked = true;
      const int32_t all =
          input->MessageBox(LoadStr(IDS_SYMBOL_REPLACE_ALL), title, MB_YESNOCANCEL_ | MB_ICONQUESTION_);
      if (all == IDYES_)
        replaceAll = true;
      else if (all != IDNO_)
        return Duplicate::kStop;
    }
    return Duplicate::kReplace;
  }
  if (answer != IDNO_)
    return Duplicate::kStop;
  const int32_t keep =
      input->MessageBox(LoadStr(IDS_SYMBOL_KEEP_RENAMED), title, MB_YESNOCANCEL_ | MB_ICONQUESTION_);
  if (keep == IDNO_)
    return Duplicate::kSkip;
  if (keep != IDYES_)
    return Duplicate::kStop;
  std::string name(imported.GetName());
  if (!AskSymbolName(name))
    return Duplicate::kSkip;
  imported.SetName(name);
  return Duplicate::kRename;
}

int32_t TClientModuleSym::ImportFrom(TInStream& is, bool replaceAll)
{
  int32_t count = 0;
  if (!ReadSectionHead(is, count))
    return 0;
  const std::vector<TData*> orderBefore = LibraryOrder();
  std::vector<TUndoData::Placement> orphans;
  if (history)
    orphans = OrphanPlacements();
  std::vector<TDataGroupSymbol*> joined; // now the library's
  std::vector<std::unique_ptr<TDataGroupSymbol>> replaced;
  bool replaceAsked = false;
  int32_t imported = 0;
  for (int32_t i = 0; i < count; ++i) {
    std::unique_ptr<TDataGroupSymbol> definition = ReadDefinition(is);
    if (!definition)
      break;
    if (definition->GetName().empty())
      continue;
    std::unique_ptr<TDataGroupSymbol> previous;
    if (TDataGroupSymbol* existing = FindDefinition(definition->GetName())) {
      const Duplicate choice =
          replaceAll ? Duplicate::kReplace : AskAboutDuplicate(*definition, replaceAsked, replaceAll);
      if (choice == Duplicate::kStop)
        break;
      if (choice == Duplicate::kSkip)
        continue;
      if (choice == Duplicate::kReplace)
        previous = TakeDefinition(existing);
    }
    TDataGroupSymbol* joining = definition.get();
    if (!AddDefinition(joining)) {
      if (previous && AddDefinition(previous.get()))
        previous.release();
      break;
    }
    definition.release();
    ++imported;
    if (previous) {
      // A file that holds the same name twice replaces what it brought
      // itself a moment ago: that one was never the user's to get back.
      const auto earlier = std::find(joined.begin(), joined.end(), previous.get());
      if (earlier != joined.end())
        joined.erase(earlier);
      else
        replaced.push_back(std::move(previous));
    }
    joined.push_back(joining);
  }
  if (imported == 0)
    return 0;
  UpdateInstances(joined.empty() ? std::string_view() : joined.back()->GetName());
  client->SetModified(true);
  if (history) {
    Carrier newcomers(new TDataGroup);
    auto displaced = std::make_unique<TDataGroup>();
    bool carried = true;
    for (TDataGroupSymbol* definition : joined)
      carried = carried && newcomers->AddChild(definition);
    for (std::unique_ptr<TDataGroupSymbol>& definition : replaced) {
      if (!displaced->AddChild(definition.get())) {
        carried = false;
        break;
      }
      definition.release();
    }
    // A step that could not hold everything would undo only part of the
    // import: none is recorded then.
    if (carried) {
      auto record = std::make_unique<TUndoData>(kModuleId);
      record->SetKind(GUndoObj::kImportSymbols);
      record->SetLibraryOrder(orderBefore);
      record->SetOrphans(std::move(orphans));
      record->SetNew(newcomers.release());
      record->SetOld(std::move(displaced));
      history->Push(std::move(record));
    } else {
      history->Clear();
    }
  }
  return imported;
}

int32_t TClientModuleSym::ExchangeImported(TUndoData& record, bool undoing)
{
  const std::vector<TDataGroupSymbol*> leaving = DefinitionsOf(record.GetNew());
  const std::vector<TDataGroupSymbol*> coming = DefinitionsOf(record.GetOld());
  if (!record.GetNew() || !record.GetOld())
    return 0;
  // Checked before anything moves, so that the step is taken whole or not
  // at all: every leaving definition is in the library, and every coming
  // one finds its name free once they have left.
  for (TDataGroupSymbol* definition : leaving) {
    if (!HoldsDefinition(definition))
      return 0;
  }
  for (TDataGroupSymbol* definition : coming) {
    TDataGroupSymbol* holder = FindDefinition(definition->GetName());
    if (holder && std::find(leaving.begin(), leaving.end(), holder) == leaving.end())
      return 0;
  }
  for (TDataGroupSymbol* definition : leaving)
    TakeDefinition(definition).release(); // the step owns it from now on
  for (TDataGroupSymbol* definition : coming)
    AddDefinition(definition);
  if (undoing)
    RestoreLibraryOrder(record.LibraryOrder());
  record.Exchange();
  UpdateInstances({});
  client->SetModified(true);
  return 1;
}
