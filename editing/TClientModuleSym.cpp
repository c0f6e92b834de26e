#include "TClientModuleSym.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "CommandScopes.h"
#include "GModuleUndo.h"
#include "GString.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectStream.h"
#include "Picking.h"
#include "StringTable.h"
#include "TClient.h"
#include "TDataGroupSymbol.h"
#include "TDataRectangle.h"
#include "TDataSymbol.h"
#include "TInStream.h"
#include "TOutStream.h"
#include "TUndoData.h"
#include "TUserInput.h"

#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr const char* kSymbolSection = "VEKT Symboles";
constexpr int32_t kDefinitionsGrowBy = 8;

std::string Trimmed(const std::string& text)
{
  GString trimmed(text);
  trimmed.Trim();
  return trimmed.Str();
}

} // namespace

TClientModuleSym::TClientModuleSym(TClient* view, GModuleUndo* undoHistory)
    : TClientModule(view), definitions(kDefinitionsGrowBy, kDefinitionsGrowBy), history(undoHistory)
{
}

TClientModuleSym::~TClientModuleSym()
{
  Clear();
}

int32_t TClientModuleSym::Command(uint16_t command, TData* object, int32_t parameter)
{
  switch (command) {
  case CM_SYMBOL_NEW:
    return NewSymbol();
  case CM_SYMBOL_RENAME:
    return RenameSymbol();
  case CM_SYMBOL_DELETE:
    return DeleteSymbol();
  case CM_SYMBOL_IMPORT:
    return ImportSymbols();
  case CM_OBJ_REFERENCE_POINT:
    return ChangeReferencePoint(object);
  default:
    return TClientModule::Command(command, object, parameter);
  }
}

int32_t TClientModuleSym::NewSymbol()
{
  TUserInput* input = client ? client->GetInput() : nullptr;
  if (!input || !(client->GetFlags() & TClient::kReady) || client->IsBusy())
    return 0;
  BusyScope busy(*client);
  Carrier carrier(new TDataGroup);
  int32_t refusal = kNotRefused;
  const std::string click = LoadStr(IDS_PICK_SYMBOL_CLICK);
  const std::string rectangle = LoadStr(IDS_PICK_SYMBOL_RECT);
  if (!PickObjects(*client, *carrier, click.c_str(), rectangle.c_str(), refusal, 0, false))
    return 0;
  client->ToggleOutline(carrier.get());
  const int32_t answer = input->MessageBox(
      LoadStr(carrier->GetChildCount() == 1 ? IDS_SYMBOL_MAKE_ONE : IDS_SYMBOL_MAKE_SEVERAL),
      LoadStr(IDS_SYMBOL_TITLE), MB_YESNO_);
  client->ToggleOutline(carrier.get());
  std::string name;
  if (answer != IDYES_ || !AskSymbolName(name))
    return 0;

  // The definition holds copies of the objects, placed from its own
  // top-left corner, and the carrier's reference point.
  auto definition = std::make_unique<TDataGroupSymbol>();
  definition->SetName(name);
  for (int32_t i = 0; i < carrier->GetChildCount(); ++i) {
    std::unique_ptr<TData> copy(carrier->GetChild(i)->Clone(nullptr, 0));
    if (!copy)
      return 0;
    copy->Offset(SaturateInt32(-int64_t{carrier->left}), SaturateInt32(-int64_t{carrier->top}));
    if (!definition->AddChild(copy.get()))
      return 0;
    copy.release();
  }
  definition->Assign(TRect(0, 0, carrier->Width(), carrier->Height()));
  int32_t refX = 0, refY = 0;
  carrier->GetReference(refX, refY);
  definition->SetReference(refX, refY);
  TDataGroupSymbol* made = definition.get();
  // Taken before the definition joins: instances of its name that had no
  // definition find this one.
  std::vector<TUndoData::Placement> orphans;
  if (history)
    orphans = OrphanPlacements();
  if (!AddDefinition(made))
    return 0;
  definition.release();
  auto* instance = new TDataSymbol(this, SaturateInt32(int64_t{carrier->left} + refX),
                                   SaturateInt32(int64_t{carrier->top} + refY), name);

  std::unique_ptr<TUndoData> record;
  if (history) {
    record = std::make_unique<TUndoData>(kModuleId);
    record->SetKind(GUndoObj::kNewSymbol);
    record->SnapshotOrder(*client);
    record->SetOrphans(std::move(orphans));
  }
  client->RemoveObject(carrier.get(), true);
  Tell(carrier.get(), MSG_LEFT_DOCUMENT);
  client->AddObject(instance, true);
  // The objects leave with the carrier: the step keeps them, or they go.
  std::unique_ptr<TData> replaced(carrier.release());
  if (record) {
    record->SetOld(std::move(replaced));
    record->SetNew(instance);
    record->SetNew2(made);
    history->Push(std::move(record));
  }
  client->SetModified(true);
  UpdateInstances(name);
  return 1;
}

int32_t TClientModuleSym::RenameSymbol()
{
  if (!client || client->IsBusy())
    return 0;
  TDataGroupSymbol* definition = ChooseDefinition();
  if (!definition)
    return 0;
  const std::string before(definition->GetName());
  // The present name counts as taken: the user must give another.
  std::string after = before;
  if (!AskSymbolName(after))
    return 0;
  std::vector<TUndoData::Placement> orphans;
  if (history)
    orphans = OrphanPlacements();
  StringCapacities capacities;
  if (!RenameEverywhere(before, after, &capacities))
    return 0;
  if (history) {
    auto record = std::make_unique<TUndoData>(kModuleId);
    record->SetKind(GUndoObj::kRenameSymbol);
    record->SetNames(before, after);
    record->SetCapacities(std::move(capacities));
    record->SetOrphans(std::move(orphans));
    history->Push(std::move(record));
  }
  return 1;
}

int32_t TClientModuleSym::DeleteSymbol()
{
  TUserInput* input = client ? client->GetInput() : nullptr;
  if (!input || client->IsBusy())
    return 0;
  TDataGroupSymbol* definition = ChooseDefinition();
  if (!definition)
    return 0;
  if (input->MessageBox(LoadStr(IDS_SYMBOL_DELETE_QUESTION), LoadStr(IDS_SYMBOL_TITLE),
                        MB_YESNO_ | MB_ICONEXCLAMATION_) != IDYES_)
    return 0;
  const std::string name(definition->GetName());
  const std::vector<TData*> orderBefore = LibraryOrder();
  std::unique_ptr<TDataGroupSymbol> removed = TakeDefinition(definition);
  UpdateInstances(name);
  client->SetModified(true);
  if (history) {
    auto record = std::make_unique<TUndoData>(kModuleId);
    record->SetKind(GUndoObj::kDeleteSymbol);
    record->SetLibraryOrder(orderBefore);
    record->SetOld(std::move(removed));
    history->Push(std::move(record));
  }
  return 1;
}

int32_t TClientModuleSym::ChangeReferencePoint(TData* object)
{
  TUserInput* input = client ? client->GetInput() : nullptr;
  auto* instance = dynamic_cast<TDataSymbol*>(object);
  // Chosen from the instance's menu, it runs inside the command that shows
  // the menu: the view is busy with that one.
  if (!input || !instance)
    return 0;
  TDataGroupSymbol* definition = FindDefinition(instance->GetName());
  if (!definition)
    return 0;
  if (input->MessageBox(LoadStr(IDS_SYMBOL_REFERENCE_WARNING), "", MB_YESNOCANCEL_ | MB_ICONEXCLAMATION_) !=
      IDYES_)
    return 0;
  input->MessageBox(LoadStr(IDS_SYMBOL_GIVE_REFERENCE), "", MB_OK_ | MB_ICONINFORMATION_);
  BusyScope busy(*client);
  int32_t x = 0, y = 0;
  // A cancelled click changes nothing: the user backed out.
  if (client->GetPoint(x, y, LoadStr(IDS_MENU_REFERENCE_POINT), true, TDataOwner::kCursorCross, 0) !=
      TDataOwner::kPointGiven)
    return 0;
  int32_t oldX = 0, oldY = 0;
  definition->GetReference(oldX, oldY);
  definition->SetReference(SaturateInt32(int64_t{x} - instance->left),
                           SaturateInt32(int64_t{y} - instance->top));
  UpdateInstances(definition->GetName());
  client->SetModified(true);
  if (history) {
    auto record = std::make_unique<TUndoData>(kModuleId);
    record->SetKind(GUndoObj::kSymbolReferencePoint);
    // The old reference point rides in the top-left corner of a rectangle.
    record->SetOld(std::make_unique<TDataRectangle>(TRect(oldX, oldY, oldX, oldY)));
    record->SetNew(definition);
    history->Push(std::move(record));
  }
  return 1;
}

int32_t TClientModuleSym::ExchangeReference(TUndoData& record)
{
  TData* held = record.GetNew();
  TData* kept = record.GetOld();
  if (!kept || !HoldsDefinition(held))
    return 0;
  auto* definition = static_cast<TDataGroupSymbol*>(held);
  int32_t x = 0, y = 0;
  definition->GetReference(x, y);
  definition->SetReference(kept->left, kept->top);
  kept->Assign(TRect(x, y, x, y));
  UpdateInstances(definition->GetName());
  client->SetModified(true);
  return 1;
}

std::vector<TData*> TClientModuleSym::LibraryOrder() const
{
  return std::vector<TData*>(definitions.begin(), definitions.end());
}

void TClientModuleSym::RestoreLibraryOrder(const std::vector<TData*>& order)
{
  const int32_t count = definitions.Count();
  std::vector<TDataGroupSymbol*> ordered;
  ordered.reserve(static_cast<size_t>(count));
  std::vector<bool> placed(static_cast<size_t>(count), false);
  for (TData* wanted : order) {
    const int32_t index = definitions.IndexOf(wanted);
    if (index >= 0 && !placed[static_cast<size_t>(index)]) {
      placed[static_cast<size_t>(index)] = true;
      ordered.push_back(definitions.Get(index));
    }
  }
  for (int32_t i = 0; i < count; ++i) {
    if (!placed[static_cast<size_t>(i)])
      ordered.push_back(definitions.Get(i));
  }
  for (int32_t i = 0; i < count; ++i)
    definitions.Set(i, ordered[static_cast<size_t>(i)]);
}

std::vector<TUndoData::Placement> TClientModuleSym::OrphanPlacements() const
{
  std::vector<TUndoData::Placement> places;
  const auto keepOrphan = [&places](TData* object) {
    if (!object->IsA(kTDataSymbol))
      return false;
    auto* instance = static_cast<TDataSymbol*>(object);
    if (instance->FindDefinition())
      return false;
    int32_t x = 0, y = 0;
    instance->GetReference(x, y);
    places.push_back({instance, *instance, x, y});
    return true;
  };
  for (TDataGroupSymbol* definition : definitions) {
    bool holdsOrphans = false;
    for (int32_t i = 0; i < definition->GetChildCount(); ++i)
      holdsOrphans = keepOrphan(definition->GetChild(i)) || holdsOrphans;
    if (holdsOrphans) {
      int32_t x = 0, y = 0;
      definition->GetReference(x, y);
      places.push_back({definition, *definition, x, y});
    }
  }
  if (client) {
    for (int32_t i = 0; i < client->ObjectCount(); ++i)
      keepOrphan(client->ObjectAtIndex(i));
  }
  return places;
}

void TClientModuleSym::RestoreOrphans(const std::vector<TUndoData::Placement>& places)
{
  if (places.empty())
    return;
  // Definitions first: an instance inside one that found its definition
  // moved the definition's content, which moves back as a whole.
  for (const TUndoData::Placement& place : places) {
    if (place.object->ClassId() != kTDataGroupSymbol)
      continue;
    auto* definition = static_cast<TDataGroupSymbol*>(place.object);
    int32_t x = 0, y = 0;
    definition->GetReference(x, y);
    const int32_t dx = SaturateInt32(int64_t{place.refX} - x);
    const int32_t dy = SaturateInt32(int64_t{place.refY} - y);
    if (dx != 0 || dy != 0) {
      for (int32_t i = 0; i < definition->GetChildCount(); ++i)
        definition->GetChild(i)->Offset(dx, dy);
    }
    definition->SetReference(place.refX, place.refY);
    definition->Assign(place.frame);
  }
  for (const TUndoData::Placement& place : places) {
    if (place.object->ClassId() != kTDataSymbol)
      continue;
    auto* instance = static_cast<TDataSymbol*>(place.object);
    if (!instance->FindDefinition())
      instance->RestorePlacement(place.frame, place.refX, place.refY);
  }
  UpdateInstances({});
}

std::unique_ptr<TDataGroupSymbol> TClientModuleSym::TakeDefinition(TDataGroupSymbol* definition)
{
  const int32_t index = definitions.IndexOf(definition);
  if (index < 0)
    return nullptr;
  definitions.RemoveAt(index);
  return std::unique_ptr<TDataGroupSymbol>(definition);
}

bool TClientModuleSym::HoldsDefinition(const TData* definition) const
{
  // Compared by address only: a step may name a definition long gone.
  return definition && definitions.IndexOf(definition) >= 0;
}

int32_t TClientModuleSym::Undo(TUndoData& record)
{
  if (record.GetModule() != kModuleId)
    return 0;
  switch (record.GetKind()) {
  case GUndoObj::kNewSymbol: {
    TData* instance = record.GetNew();
    if (!record.GetOld() || record.Snapshot().empty() || !HoldsDefinition(record.GetNew2()) ||
        !InView(*client, instance, false))
      return 0;
    TakeDefinition(static_cast<TDataGroupSymbol*>(record.GetNew2())).release(); // the step owns it now
    record.New2LeftDocument();
    Tell(record.GetOld(), MSG_BACK_IN_DOCUMENT);
    client->RestoreObjectOrder(record.Snapshot());
    record.ClearSnapshot();
    Tell(instance, MSG_LEFT_DOCUMENT);
    record.Exchange();
    client->SetModified(true);
    RestoreOrphans(record.Orphans());
    return 1;
  }
  case GUndoObj::kRenameSymbol:
    if (!RenameEverywhere(record.GetNameAfter(), record.GetNameBefore()))
      return 0;
    RestoreCapacities(record.Capacities());
    RestoreOrphans(record.Orphans());
    return 1;
  case GUndoObj::kDeleteSymbol: {
    auto* definition = static_cast<TDataGroupSymbol*>(record.GetOld());
    // A definition of the same name made since would make two.
    if (!definition || FindDefinition(definition->GetName()))
      return 0;
    record.OldJoinedDocument();
    if (!AddDefinition(definition)) {
      record.NewLeftDocument();
      return 0;
    }
    RestoreLibraryOrder(record.LibraryOrder());
    UpdateInstances(definition->GetName());
    client->SetModified(true);
    return 1;
  }
  case GUndoObj::kImportSymbols:
    if (!ExchangeImported(record, true))
      return 0;
    RestoreOrphans(record.Orphans());
    return 1;
  case GUndoObj::kSymbolReferencePoint:
    return ExchangeReference(record);
  default:
    return 0;
  }
}

int32_t TClientModuleSym::Redo(TUndoData& record)
{
  if (record.GetModule() != kModuleId)
    return 0;
  switch (record.GetKind()) {
  case GUndoObj::kNewSymbol: {
    // old: the instance; new: the carrier of the objects; old2: the definition.
    auto* definition = static_cast<TDataGroupSymbol*>(record.GetOld2());
    TData* instance = record.GetOld();
    TData* objects = record.GetNew();
    if (!definition || !instance || !objects || FindDefinition(definition->GetName()))
      return 0;
    record.SnapshotOrder(*client);
    record.Old2JoinedDocument();
    if (!AddDefinition(definition)) {
      record.New2LeftDocument();
      return 0;
    }
    client->RemoveObject(objects, true);
    Tell(objects, MSG_LEFT_DOCUMENT);
    Tell(instance, MSG_BACK_IN_DOCUMENT);
    client->AddObject(instance, true);
    record.Exchange();
    client->SetModified(true);
    UpdateInstances(definition->GetName());
    return 1;
  }
  case GUndoObj::kRenameSymbol:
    return RenameEverywhere(record.GetNameBefore(), record.GetNameAfter()) ? 1 : 0;
  case GUndoObj::kDeleteSymbol: {
    TData* held = record.GetNew();
    if (!HoldsDefinition(held))
      return 0;
    auto* definition = static_cast<TDataGroupSymbol*>(held);
    const std::string name(definition->GetName());
    TakeDefinition(definition).release(); // the step owns it from now on
    record.NewLeftDocument();
    UpdateInstances(name);
    client->SetModified(true);
    return 1;
  }
  case GUndoObj::kImportSymbols:
    return ExchangeImported(record, false);
  case GUndoObj::kSymbolReferencePoint:
    return ExchangeReference(record);
  default:
    return 0;
  }
}

TDataGroupSymbol* TClientModuleSym::FindDefinition(std::string_view name) const
{
  if (name.empty())
    return nullptr;
  // Names are unique even ignoring accents, so a name spelt byte for byte
  // alike is the one; looking for it first spares comparing every name
  // with accents folded, which instances do each time they are painted.
  for (TDataGroupSymbol* definition : definitions) {
    if (definition->GetName() == name)
      return definition;
  }
  for (TDataGroupSymbol* definition : definitions) {
    if (definition->NameEquals(name))
      return definition;
  }
  return nullptr;
}

bool TClientModuleSym::AddDefinition(TDataGroupSymbol* definition)
{
  if (!definition || definition->GetName().empty() || FindDefinition(definition->GetName()))
    return false;
  definition->SetOwner(client);
  definition->Broadcast(MSG_REFRESH_NO_WINDOW, 0, 0, nullptr);
  return definitions.Append(definition);
}

TDataGroupSymbol* TClientModuleSym::ChooseDefinition()
{
  TUserInput* input = client ? client->GetInput() : nullptr;
  if (!input)
    return nullptr;
  if (definitions.Count() == 0) {
    // Placing, renaming or deleting asks for a symbol: say why nothing
    // happens, and how to make one.
    input->MessageBox(LoadStr(IDS_SYMBOL_NONE), LoadStr(IDS_SYMBOL_TITLE), MB_OK_ | MB_ICONINFORMATION_);
    return nullptr;
  }
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(definitions.Count()));
  for (const TDataGroupSymbol* definition : definitions)
    names.emplace_back(definition->GetName());
  int32_t index = 0;
  if (!input->ChooseOption(LoadStr(IDS_SYMBOL_NAME), "", names, index))
    return nullptr;
  return definitions.Get(index);
}

bool TClientModuleSym::AskSymbolName(std::string& name)
{
  TUserInput* input = client ? client->GetInput() : nullptr;
  if (!input)
    return false;
  const std::string title = LoadStr(IDS_SYMBOL_TITLE);
  std::string answer = name;
  for (;;) {
    if (!input->AskText(title, LoadStr(IDS_SYMBOL_NAME), answer, kNameLength))
      return false;
    answer = Trimmed(answer);
    if (answer.empty()) {
      if (input->MessageBox(LoadStr(IDS_SYMBOL_NAME_EMPTY), title, MB_OKCANCEL_ | MB_ICONEXCLAMATION_) !=
          IDOK_)
        return false;
      continue;
    }
    if (FindDefinition(answer)) {
      input->MessageBox(LoadStr(IDS_SYMBOL_NAME_TAKEN), title, MB_OK_ | MB_ICONEXCLAMATION_);
      continue;
    }
    name = std::move(answer);
    return true;
  }
}

void TClientModuleSym::UpdateInstances(std::string_view name)
{
  OrderLibrary();
  // In library order, so that a definition takes the new size of the ones
  // it uses before the definitions using it are refreshed in turn.
  for (TDataGroupSymbol* definition : definitions)
    definition->RefreshInstances();
  if (!client)
    return;
  // Instances of any name are redrawn: a definition may show the one that
  // changed inside itself.
  std::string changed(name);
  for (int32_t i = 0; i < client->ObjectCount(); ++i) {
    TData* object = client->ObjectAtIndex(i);
    if (!object->IsA(kTDataSymbol))
      continue;
    TRect before;
    object->GetRect(before, kRectDrawing);
    if (object->Message(MSG_RESOLVE_SYMBOL, 0, 0, changed.data()) != 0) {
      client->Invalidate(before);
      client->InvalidateObject(object);
    }
  }
}

bool TClientModuleSym::RenameEverywhere(std::string_view oldName, std::string_view newName,
                                        StringCapacities* before)
{
  if (oldName.empty() || newName.empty())
    return false;
  const TDataGroupSymbol* holder = FindDefinition(newName);
  if (holder && holder != FindDefinition(oldName))
    return false;
  for (TDataGroupSymbol* definition : definitions)
    definition->Rename(oldName, newName, before);
  if (client) {
    for (int32_t i = 0; i < client->ObjectCount(); ++i) {
      TData* object = client->ObjectAtIndex(i);
      if (object->IsA(kTDataSymbol))
        static_cast<TDataSymbol*>(object)->Rename(oldName, newName, before);
    }
  }
  UpdateInstances(newName);
  if (client)
    client->SetModified(true);
  return true;
}

void TClientModuleSym::Clear()
{
  for (TDataGroupSymbol* definition : definitions)
    delete definition;
  definitions.Clear();
}

void TClientModuleSym::WriteSymbolSection(TOutStream& os) const
{
  int32_t count = 0;
  for (const TDataGroupSymbol* definition : definitions) {
    if (!definition->TestState(TData::kNotSaved))
      ++count;
  }
  WriteSectionTag(os, kSymbolSection);
  os << kSectionVersion << ' ' << count << '\n';
  for (const TDataGroupSymbol* definition : definitions) {
    if (!definition->TestState(TData::kNotSaved))
      definition->Write(os);
  }
}

bool TClientModuleSym::ReadSectionHead(TInStream& is, int32_t& count)
{
  if (!FindSectionTag(is, kSymbolSection))
    return false;
  int32_t version = 0;
  count = 0;
  is >> version >> count;
  return static_cast<bool>(is);
}

std::unique_ptr<TDataGroupSymbol> TClientModuleSym::ReadDefinition(TInStream& is)
{
  if (PeekClassId(is) != kTDataGroupSymbol)
    return nullptr;
  std::unique_ptr<TStreamable> object(ReadObject(is));
  if (!dynamic_cast<TDataGroupSymbol*>(object.get()))
    return nullptr;
  return std::unique_ptr<TDataGroupSymbol>(static_cast<TDataGroupSymbol*>(object.release()));
}

int32_t TClientModuleSym::ReadSymbolSection(TInStream& is)
{
  int32_t count = 0;
  if (!ReadSectionHead(is, count))
    return 0;
  int32_t added = 0;
  for (int32_t i = 0; i < count; ++i) {
    std::unique_ptr<TDataGroupSymbol> definition = ReadDefinition(is);
    if (!definition)
      break;
    // A definition that could never be found again is dropped, and the
    // ones after it are still read.
    if (!AddDefinition(definition.get()))
      continue;
    definition.release();
    ++added;
  }
  return added;
}

void TClientModuleSym::OrderLibrary()
{
  const int32_t count = definitions.Count();
  if (count < 2)
    return;
  const std::vector<TDataGroupSymbol*> original(definitions.begin(), definitions.end());
  // uses[i]: the definitions, in library order, that definition i shows
  // instances of.
  std::vector<std::vector<int32_t>> uses(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const TDataGroupSymbol* user = original[static_cast<size_t>(i)];
    if (user->CountInstances({}) == 0)
      continue;
    for (int32_t j = 0; j < count; ++j) {
      if (j != i && user->CountInstances(original[static_cast<size_t>(j)]->GetName()) > 0)
        uses[static_cast<size_t>(i)].push_back(j);
    }
  }

  // Depth first, each definition placed after everything it uses; one
  // reached again while its own uses are being placed (a circle) is left
  // where it falls. Without uses the order stays as it is.
  enum : uint8_t { kUnseen, kOpen, kPlaced };
  std::vector<uint8_t> mark(static_cast<size_t>(count), kUnseen);
  std::vector<TDataGroupSymbol*> ordered;
  ordered.reserve(static_cast<size_t>(count));
  std::vector<std::pair<int32_t, size_t>> stack;
  for (int32_t root = 0; root < count; ++root) {
    if (mark[static_cast<size_t>(root)] != kUnseen)
      continue;
    mark[static_cast<size_t>(root)] = kOpen;
    stack.emplace_back(root, 0);
    while (!stack.empty()) {
      auto& [node, next] = stack.back();
      const std::vector<int32_t>& used = uses[static_cast<size_t>(node)];
      if (next < used.size()) {
        const int32_t j = used[next++];
        if (mark[static_cast<size_t>(j)] == kUnseen) {
          mark[static_cast<size_t>(j)] = kOpen;
          stack.emplace_back(j, 0);
        }
        continue;
      }
      mark[static_cast<size_t>(node)] = kPlaced;
      ordered.push_back(original[static_cast<size_t>(node)]);
      stack.pop_back();
    }
  }
  for (int32_t i = 0; i < count; ++i)
    definitions.Set(i, ordered[static_cast<size_t>(i)]);
}
