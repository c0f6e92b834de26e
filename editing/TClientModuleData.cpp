#include "TClientModuleData.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "CommandScopes.h"
#include "GModuleUndo.h"
#include "Messages.h"
#include "Picking.h"
#include "StringTable.h"
#include "TClient.h"
#include "TData.h"
#include "TDataGroup.h"
#include "TUndoData.h"
#include "TUserInput.h"

#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

// The objects a command acts on: one object of the view, or a carrier of
// several that the command made.
struct TClientModuleData::Selection
{
  TData* object = nullptr;
  Carrier carrier;

  // A carrier of one object gives way to that object.
  void Simplify()
  {
    if (carrier && carrier->GetChildCount() == 1) {
      object = carrier->GetChild(0);
      carrier.reset();
    }
  }
  TData* Get() const { return carrier ? carrier.get() : object; }
  // For a record (or the bin): the carrier with what it gathers, or the
  // object alone.
  std::unique_ptr<TData> Release()
  {
    if (carrier)
      return std::unique_ptr<TData>(carrier.release());
    return std::unique_ptr<TData>(std::exchange(object, nullptr));
  }
  // The shell of a carrier whose objects are in the view, for a record
  // that refers to them; the object itself otherwise.
  TData* ReleaseInView()
  {
    if (carrier)
      return carrier.release();
    return object;
  }
};

namespace {

std::unique_ptr<TDataGroup>& Buffer()
{
  static std::unique_ptr<TDataGroup> buffer;
  return buffer;
}

// Whether a step's object (a carrier: every child) is in the view. A carrier
// shell is the record's own and safe to read; its children and a single
// object are only compared.

// The step's new objects leave the document; the step owns them from now on.
void TakeOutNew(TClient& view, TUndoData& record)
{
  TData* current = record.GetNew();
  view.RemoveObject(current, true);
  Tell(current, MSG_LEFT_DOCUMENT);
  record.NewLeftDocument();
}

// The step's old objects come back on top of the document.
void BringBackOld(TClient& view, TUndoData& record)
{
  TData* old = record.GetOld();
  Tell(old, MSG_BACK_IN_DOCUMENT);
  view.AddObject(old, true);
  record.OldJoinedDocument();
}

TRect DrawingBounds(const TData& object)
{
  TRect bounds;
  object.GetRect(bounds, kRectDrawing);
  return bounds;
}

} // namespace

// What a command lets the user pick, when it is not given its object.
struct TClientModuleData::PickRequest
{
  uint32_t clickPrompt;
  uint32_t rectanglePrompt;
  uint16_t mask;
  bool clickFirst;
  uint32_t refusedText; // 0: no message
  uint32_t title;
};

TClientModuleData::TClientModuleData(TClient* view, GModuleUndo* undoHistory)
    : TClientModule(view), history(undoHistory)
{
}

bool TClientModuleData::IsCreationCommand(uint16_t command)
{
  // The class table names the command that creates each drawing object
  // (the tools of the Objects menu and toolbar, and the field texts without
  // a menu entry); every other command creates nothing.
  return GetClassIdByCommand(command) != 0;
}

bool& TClientModuleData::RepeatAddObject()
{
  static bool repeat = false;
  return repeat;
}

const TDataGroup* TClientModuleData::CopyBuffer()
{
  return Buffer().get();
}

void TClientModuleData::ClearCopyBuffer()
{
  Buffer().reset();
}

int32_t TClientModuleData::Command(uint16_t command, TData* object, int32_t parameter)
{
  if (IsCreationCommand(command))
    return NewObject(command, parameter);
  switch (command) {
  case CM_PASTE:
    return Paste(-1, -1);
  case CM_MODIFY:
    return Modify(object, 0);
  case CM_MOVE:
    return Modify(object, CM_OBJ_POSITION);
  case CM_COPY:
    return Copy(object);
  case CM_DELETE:
    return Delete(object);
  case CM_BRING_TO_TOP:
    return BringToTop(object);
  case CM_CUT:
    return Cut();
  case CM_COPY_PASTE:
    // The copy is dragged away from where the copied objects lie.
    return Copy(object) ? Paste(-2, -2) : 0;
  default:
    return 0;
  }
}

bool TClientModuleData::IsReady() const
{
  return client && (client->GetFlags() & TClient::kReady) && !client->IsBusy();
}

void TClientModuleData::ShowMessage(uint32_t text, uint32_t title, uint32_t flags) const
{
  if (TUserInput* input = client->GetInput())
    input->MessageBox(LoadStr(text), title ? LoadStr(title) : std::string(), flags);
}

bool TClientModuleData::Pick(TDataGroup& carrier, const PickRequest& request)
{
  int32_t refusal = kNotRefused;
  const std::string click = LoadStr(request.clickPrompt);
  const std::string rectangle = LoadStr(request.rectanglePrompt);
  if (PickObjects(*client, carrier, click.c_str(), rectangle.c_str(), refusal, request.mask,
                  request.clickFirst))
    return true;
  if (refusal == kRefusedByProtection && request.refusedText)
    ShowMessage(request.refusedText, request.title, MB_OK_);
  return false;
}

bool TClientModuleData::Select(Selection& selection, TData* object, const PickRequest& request)
{
  selection.object = object;
  if (object)
    return true;
  selection.carrier.reset(new TDataGroup);
  if (!Pick(*selection.carrier, request))
    return false;
  selection.Simplify();
  return true;
}

std::unique_ptr<TUndoData> TClientModuleData::NewRecord(int32_t kind) const
{
  if (!history)
    return nullptr;
  auto record = std::make_unique<TUndoData>(kModuleId);
  record->SetKind(kind);
  return record;
}

void TClientModuleData::Record(std::unique_ptr<TUndoData> record)
{
  if (history && record)
    history->Push(std::move(record));
}

// ---- creating ----

int32_t TClientModuleData::NewObject(uint16_t command, int32_t parameter)
{
  if (!client || client->IsBusy())
    return 0;
  int32_t made = 0;
  do {
    std::unique_ptr<TStreamable> created(CreateObjectByCommand(command, client, parameter));
    if (!created || !created->IsA(kTData))
      break;
    auto* object = static_cast<TData*>(created.get());
    if (client->AddObject(object, true) == 0)
      break;
    created.release();
    client->SetModified(true);
    if (auto record = NewRecord(GUndoObj::kNewObject)) {
      record->SetNew(object);
      Record(std::move(record));
    }
    ++made;
  } while (RepeatAddObject());
  return made;
}

// ---- modifying and moving ----

int32_t TClientModuleData::Modify(TData* object, uint16_t mode)
{
  if (!IsReady())
    return 0;
  BusyScope busy(*client);
  const bool move = mode == CM_OBJ_POSITION;
  Selection selection;
  if (!Select(selection, object,
              {move ? IDS_PICK_MOVE_CLICK : IDS_PICK_MODIFY_CLICK,
               move ? IDS_PICK_MOVE_RECT : IDS_PICK_MODIFY_RECT, TData::kUnmodifiable, false,
               IDS_UNMODIFIABLE, IDS_MODIFY_TITLE}))
    return 0;
  TData* target = selection.Get();
  if (selection.carrier)
    selection.carrier->SetOwner(client);
  std::unique_ptr<TData> backup;
  if (history)
    backup.reset(target->Clone(nullptr, 0));
  const TRect before = DrawingBounds(*target);
  const uint16_t answer = target->ContextCommand(client, mode);
  if (answer == 0)
    return 0;

  if (answer == CM_OBJ_EXPLODE) {
    // Only a single object explodes; the objects a carrier gathers are
    // separate already.
    if (selection.carrier)
      return 0;
    auto pieces = std::make_unique<TDataGroup>();
    if (target->Message(MSG_EXPLODE, 0, 0, pieces.get()) == 0 || pieces->GetChildCount() == 0)
      return 0;
    auto record = NewRecord(GUndoObj::kExplode);
    if (record)
      record->SnapshotOrder(*client);
    client->RemoveObject(target, true);
    target->Message(MSG_LEFT_DOCUMENT, 0, 0, nullptr);
    client->AddObject(pieces.get(), true);
    if (record) {
      record->SetOld(std::unique_ptr<TData>(target));
      record->SetNew(pieces.release());
      Record(std::move(record));
    } else {
      delete target;
      pieces->RemoveAllChildren();
    }
  } else if (auto record = NewRecord(GUndoObj::kModifyObject)) {
    record->SetNew(selection.ReleaseInView());
    record->SetOld(std::move(backup));
    Record(std::move(record));
  }
  client->Invalidate(before);
  client->Invalidate(DrawingBounds(*target));
  client->SetModified(true);
  return 1;
}

// ---- deleting ----

int32_t TClientModuleData::Delete(TData* object)
{
  if (!IsReady())
    return 0;
  BusyScope busy(*client);
  Selection selection;
  if (!Select(selection, object,
              {IDS_PICK_DELETE_CLICK, IDS_PICK_DELETE_RECT, TData::kUndeletable, false, IDS_UNDELETABLE,
               IDS_DELETE_TITLE}))
    return 0;
  TData* target = selection.Get();
  if (client->GetFlags() & TClient::kConfirmDeletions) {
    TUserInput* input = client->GetInput();
    client->ToggleOutline(target);
    const int32_t answer =
        input ? input->MessageBox(LoadStr(selection.carrier ? IDS_DELETE_ALL : IDS_DELETE_ONE),
                                  LoadStr(IDS_DELETE_TITLE), MB_YESNO_)
              : IDNO_;
    client->ToggleOutline(target);
    if (answer != IDYES_)
      return 0;
  }
  auto record = NewRecord(GUndoObj::kDeleteObject);
  if (record)
    record->SnapshotOrder(*client);
  client->RemoveObject(target, true);
  Tell(target, MSG_LEFT_DOCUMENT);
  std::unique_ptr<TData> removed = selection.Release();
  if (record) {
    record->SetOld(std::move(removed));
    Record(std::move(record));
  }
  client->SetModified(true);
  return 1;
}

// ---- bringing to top ----

int32_t TClientModuleData::BringToTop(TData* object)
{
  if (!IsReady())
    return 0;
  BusyScope busy(*client);
  Selection selection;
  if (!Select(selection, object, {IDS_PICK_TOP_CLICK, IDS_PICK_TOP_RECT, 0, true, 0, 0}))
    return 0;
  TData* target = selection.Get();
  auto record = NewRecord(GUndoObj::kBringToTop);
  if (record)
    record->SnapshotOrder(*client);
  client->RemoveObject(target, false);
  client->AddObject(target, true);
  if (record) {
    record->SetNew(selection.ReleaseInView());
    Record(std::move(record));
  }
  client->SetModified(true);
  return 1;
}

// ---- copying, cutting and pasting ----

void TClientModuleData::FillCopyBuffer(TDataGroup& carrier)
{
  if (carrier.GetChildCount() == 0)
    return;
  TRect first;
  carrier.GetChild(0)->GetRect(first, kRectPosition);
  carrier.SetReference(first.left - carrier.left, first.top - carrier.top);
  carrier.SetChildrenState(TData::kNotSaved, false);
  std::unique_ptr<TData> copy(carrier.Clone(nullptr, 0));
  if (!copy || !IsCarrier(copy.get()))
    return;
  // The copy belongs to no document until it is pasted into one.
  copy->SetOwner(nullptr);
  Buffer().reset(static_cast<TDataGroup*>(copy.release()));
}

int32_t TClientModuleData::Copy(TData* object)
{
  if (!client || client->IsBusy())
    return 0;
  BusyScope busy(*client);
  Carrier carrier(new TDataGroup);
  if (object) {
    carrier->AddChild(object);
    TRect bounds;
    carrier->UnionOfChildren(bounds, kRectSelection);
    carrier->Assign(bounds);
  } else if (!Pick(*carrier, {IDS_PICK_COPY_CLICK, IDS_PICK_COPY_RECT, TData::kUncopyable, false,
                              IDS_UNCOPYABLE, IDS_COPY_TITLE})) {
    return 0;
  }
  FillCopyBuffer(*carrier);
  return 1;
}

int32_t TClientModuleData::Cut()
{
  if (!IsReady())
    return 0;
  BusyScope busy(*client);
  Carrier carrier(new TDataGroup);
  if (!Pick(*carrier, {IDS_PICK_CUT_CLICK, IDS_PICK_COPY_RECT, TData::kUncopyable, false, IDS_UNCOPYABLE,
                       IDS_COPY_TITLE}))
    return 0;
  FillCopyBuffer(*carrier);
  auto record = NewRecord(GUndoObj::kCut);
  if (record)
    record->SnapshotOrder(*client);
  client->RemoveObject(carrier.get(), true);
  Tell(carrier.get(), MSG_LEFT_DOCUMENT);
  // The cut objects leave with the carrier: the record keeps them, or they
  // go at once.
  std::unique_ptr<TData> removed(carrier.release());
  if (record) {
    record->SetOld(std::move(removed));
    Record(std::move(record));
  }
  client->SetModified(true);
  return 1;
}

int32_t TClientModuleData::Paste(int32_t x, int32_t y)
{
  if (!IsReady())
    return 0;
  const TDataGroup* buffer = Buffer().get();
  if (!buffer) {
    ShowMessage(IDS_COPY_FIRST, IDS_PASTE_TITLE, MB_OK_ | MB_ICONEXCLAMATION_);
    return 0;
  }
  if (x == -1 && y == -1 && !client->PointerPosition(x, y))
    x = y = -2;
  std::unique_ptr<TData> made(buffer->Clone(nullptr, 0));
  if (!made || !IsCarrier(made.get())) {
    ShowMessage(IDS_CANNOT_DUPLICATE, IDS_PASTE_TITLE, MB_OK_ | MB_ICONEXCLAMATION_);
    return 0;
  }
  auto* copy = static_cast<TDataGroup*>(made.get());
  copy->SetOwner(client);
  // Symbol instances find their definitions in this document.
  copy->Broadcast(MSG_RESOLVE_SYMBOL, 0, 0, nullptr);
  if (x >= 0 && y >= 0)
    copy->SetRect(TRect(x, y, x, y), kRectPosition);
  BusyScope busy(*client);
  if (copy->ContextCommand(client, CM_OBJ_POSITION) == 0)
    return 0; // the copy goes, with its objects
  client->AddObject(copy, true);
  made.release();
  Carrier shell(copy);
  if (auto record = NewRecord(GUndoObj::kPaste)) {
    record->SetNew(shell.release());
    Record(std::move(record));
  }
  client->SetModified(true);
  return 1;
}

// ---- undo and redo ----

int32_t TClientModuleData::Undo(TUndoData& record)
{
  if (record.GetModule() != kModuleId || !client)
    return 0;
  TData* old = record.GetOld();
  TData* current = record.GetNew();
  switch (record.GetKind()) {
  case GUndoObj::kNewObject:
  case GUndoObj::kPaste:
    if (!InView(*client, current, record.NewIsCarrier()))
      return 0;
    TakeOutNew(*client, record);
    break;
  case GUndoObj::kDeleteObject:
  case GUndoObj::kCut:
    if (!old || record.Snapshot().empty())
      return 0;
    Tell(old, MSG_BACK_IN_DOCUMENT);
    client->RestoreObjectOrder(record.Snapshot());
    record.ClearSnapshot();
    record.OldJoinedDocument();
    break;
  case GUndoObj::kModifyObject:
    return Redo(record);
  case GUndoObj::kBringToTop: {
    // Only the very objects of the snapshot, no more and no fewer, can take
    // their former order again; otherwise the step is used up unchanged.
    const std::vector<TData*>& snapshot = record.Snapshot();
    const std::unordered_set<const TData*> present = ObjectsOfView(*client);
    if (snapshot.empty() || snapshot.size() != present.size())
      return 0;
    for (const TData* object : snapshot) {
      if (present.count(object) == 0)
        return 0;
    }
    client->RestoreObjectOrder(snapshot);
    record.ClearSnapshot();
    break;
  }
  case GUndoObj::kExplode:
    if (!old || !current || record.Snapshot().empty())
      return 0;
    Tell(old, MSG_BACK_IN_DOCUMENT);
    client->RestoreObjectOrder(record.Snapshot());
    record.ClearSnapshot();
    Tell(current, MSG_LEFT_DOCUMENT);
    record.Exchange();
    break;
  default:
    return 0;
  }
  client->SetModified(true);
  return 1;
}

int32_t TClientModuleData::Redo(TUndoData& record)
{
  if (record.GetModule() != kModuleId || !client)
    return 0;
  TData* old = record.GetOld();
  TData* current = record.GetNew();
  switch (record.GetKind()) {
  case GUndoObj::kNewObject:
  case GUndoObj::kPaste:
    if (!old)
      return 0;
    BringBackOld(*client, record);
    break;
  case GUndoObj::kDeleteObject:
  case GUndoObj::kCut:
    if (!InView(*client, current, record.NewIsCarrier()))
      return 0;
    record.SnapshotOrder(*client);
    TakeOutNew(*client, record);
    break;
  case GUndoObj::kModifyObject: {
    // The two states change places; the object keeps its identity.
    if (!old || !InView(*client, current, record.NewIsCarrier()))
      return 0;
    const TRect before = DrawingBounds(*current);
    std::unique_ptr<TData> present(current->Clone(nullptr, 0));
    if (!present)
      return 0;
    old->Clone(current, 0);
    record.SetOld(std::move(present));
    client->Invalidate(before);
    client->Invalidate(DrawingBounds(*current));
    break;
  }
  case GUndoObj::kBringToTop:
    if (!InView(*client, current, record.NewIsCarrier()))
      return 0;
    record.SnapshotOrder(*client);
    client->RemoveObject(current, false);
    client->AddObject(current, true);
    break;
  case GUndoObj::kExplode:
    if (!old || !InView(*client, current, record.NewIsCarrier()))
      return 0;
    record.SnapshotOrder(*client);
    // current is the exploded object, old the carrier of its pieces.
    client->RemoveObject(current, true);
    Tell(current, MSG_LEFT_DOCUMENT);
    Tell(old, MSG_BACK_IN_DOCUMENT);
    client->AddObject(old, true);
    record.Exchange();
    break;
  default:
    return 0;
  }
  client->SetModified(true);
  return 1;
}
