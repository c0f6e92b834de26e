#include "TDataGroup.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectStream.h"
#include "TClient.h"
#include "TFont.h"
#include "TUserInput.h"

#include <memory>

namespace {

// What a group may offer of its members' first mask: "Position", "Color",
// "Line Type...", "Font", "Title Color", "Border Color", "Background Color"
// and "Selection Color".
constexpr uint32_t kGroupMaskA = 0x1980C05;
constexpr uint32_t kMaskPosition = 0x1;
// Of the second mask only "Layer".
constexpr uint32_t kGroupMaskB = 0x10;

// How deep the group records being read are nested right now.
thread_local int32_t readNesting = 0;

class NestingScope
{
public:
  NestingScope() { ++readNesting; }
  ~NestingScope() { --readNesting; }
  NestingScope(const NestingScope&) = delete;
  NestingScope& operator=(const NestingScope&) = delete;
};

// The SetColor slot a colour command sets, -1 for other commands.
int32_t ColourSlot(uint16_t command)
{
  switch (command) {
  case CM_OBJ_COLOR:
    return 0;
  case CM_OBJ_BACK_COLOR:
    return 1;
  case CM_OBJ_TITLE_COLOR:
    return 2;
  case CM_OBJ_BORDER_COLOR:
    return 3;
  case CM_OBJ_SELECTION_COLOR:
    return 4;
  default:
    return -1;
  }
}

} // namespace

TDataGroup::TDataGroup() : children(8, 8)
{
  classId = kTDataGroup;
  state |= kGroupMember;
}

TDataGroup::~TDataGroup()
{
  DestroyAllChildren();
}

TStreamable* TDataGroup::Create(TDataOwner* client, int32_t)
{
  auto* group = new TDataGroup;
  if (client)
    group->SetLayers(client->GetLayers());
  return group;
}

TInStream& TDataGroup::Read(TInStream& is)
{
  if (readNesting >= kMaxNesting)
    return is;
  NestingScope nesting;
  int32_t version = 0;
  if (!BeginRecord(is, kTDataGroup, version))
    return is;
  int32_t count = 0;
  int32_t storedRefX = refX, storedRefY = refY;
  is >> count;
  if (version >= 1)
    is >> storedRefX >> storedRefY;
  if (!is)
    return is;
  refX = storedRefX;
  refY = storedRefY;
  EndFirstLine(is, version, kVersion);

  DestroyAllChildren();
  for (int32_t i = 0; i < count; ++i) {
    std::unique_ptr<TStreamable> object(ReadObject(is));
    if (!object || !object->IsA(kTData))
      break;
    auto* member = static_cast<TData*>(object.get());
    if (!AddChild(member))
      break;
    object.release();
  }

  if (version >= 2) {
    TData::Read(is);
  } else {
    TRect bounds;
    UnionOfChildren(bounds, 0);
    TRect::Assign(bounds);
  }
  return is;
}

TOutStream& TDataGroup::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataGroup, kVersion);
  os << ' ' << children.Count() << ' ' << refX << ' ' << refY << '\n';
  for (const TData* child : children)
    child->Write(os);
  os << '\t';
  return TData::Write(os);
}

bool TDataGroup::Offset(int32_t dx, int32_t dy)
{
  if (dx == 0 && dy == 0)
    return false;
  for (TData* child : children)
    child->Offset(dx, dy);
  return TRect::Offset(dx, dy);
}

bool TDataGroup::Resize(int32_t dx, int32_t dy)
{
  if (dx == 0 && dy == 0)
    return false;
  for (TData* child : children)
    child->Resize(dx, dy);
  return TRect::Resize(dx, dy);
}

void TDataGroup::SetOwner(TDataOwner* client)
{
  TData::SetOwner(client);
  for (TData* child : children)
    child->SetOwner(client);
}

uint32_t TDataGroup::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_MASK_A: {
    uint32_t mask = kMaskPosition;
    for (TData* child : children)
      mask |= child->Message(MSG_MASK_A, 0, 0, nullptr);
    return mask & kGroupMaskA;
  }
  case MSG_MASK_B: {
    uint32_t mask = 0;
    for (TData* child : children)
      mask |= child->Message(MSG_MASK_B, 0, 0, nullptr);
    return mask & kGroupMaskB;
  }
  case MSG_TAKE_PEN:
  case MSG_DEFAULT_FONT_BROADCAST:
  case MSG_BROADCAST_COMMAND:
    // A group inside a group passes what its parent spreads on to its own
    // members.
    return Broadcast(message, a, b, p);
  default:
    return TData::Message(message, a, b, p);
  }
}

bool TDataGroup::Paint(TPage* page, uint8_t mode)
{
  if (!page)
    return false;
  for (TData* child : children)
    page->PaintObject(*child, mode);
  return true;
}

uint16_t TDataGroup::ContextCommand(TDataOwner* client, uint16_t command)
{
  if (!client)
    return 0;
  command = ChooseCommand(client, command);
  if (command == 0)
    return 0;
  TUserInput* input = client->GetInput();

  switch (command) {
  case CM_OBJ_POSITION: {
    std::unique_ptr<TData> copy(Clone(nullptr, 0));
    if (client->TrackObject(copy.get(), CM_OBJ_POSITION, this) == TDataOwner::kTrackCancelled)
      return 0;
    const int32_t dx = copy->left - left;
    const int32_t dy = copy->top - top;
    for (TData* child : children)
      child->Offset(dx, dy);
    TRect::Assign(*copy);
    break;
  }
  case CM_OBJ_FONT: {
    TFont font;
    if (!input || !input->ChooseFont(font))
      return 0;
    Broadcast(MSG_DEFAULT_FONT_BROADCAST, 0, 0, &font);
    break;
  }
  case CM_OBJ_LINE_TYPE: {
    TPen chosen(pen);
    if (!input || !input->ChoosePen(chosen, client->Client()))
      return 0;
    Broadcast(MSG_TAKE_PEN, 0, 0, &chosen);
    break;
  }
  case CM_OBJ_COLOR:
  case CM_OBJ_TITLE_COLOR:
  case CM_OBJ_BORDER_COLOR:
  case CM_OBJ_SELECTION_COLOR:
  case CM_OBJ_BACK_COLOR: {
    const int32_t which = ColourSlot(command);
    // The dialog starts from the first member's colour, the one most likely
    // to be shared by all.
    uint32_t colour = children.Count() > 0 ? children.Get(0)->GetColor(which) : GetColor(which);
    if (!input || !input->ChooseColor(colour, command == CM_OBJ_BACK_COLOR))
      return 0;
    SetColor(which, colour);
    break;
  }
  case CM_OBJ_LAYER:
    if (!EditLayers(input))
      return 0;
    break;
  default:
    break;
  }
  Broadcast(MSG_BROADCAST_COMMAND, command, 0, nullptr);
  return command;
}

void TDataGroup::GetRect(TRect& out, int32_t mode) const
{
  switch (mode) {
  case kRectPosition:
    out.left = SaturateInt32(int64_t{left} + refX);
    out.top = SaturateInt32(int64_t{top} + refY);
    out.right = Width();
    out.bottom = Height();
    break;
  case kRectDrawing:
  case kRectSelection:
    UnionOfChildren(out, mode);
    break;
  default:
    TData::GetRect(out, mode);
    break;
  }
}

void TDataGroup::SetRect(const TRect& r, int32_t mode)
{
  if (mode == kRectPosition)
    Offset(SaturateInt32(int64_t{r.left} - left - refX), SaturateInt32(int64_t{r.top} - top - refY));
  else
    TData::SetRect(r, mode);
}

void TDataGroup::SetColor(int32_t which, uint32_t colour)
{
  for (TData* child : children)
    child->SetColor(which, colour);
}

void TDataGroup::SetLayers(uint16_t mask)
{
  for (TData* child : children)
    child->SetLayers(mask);
}

uint16_t TDataGroup::GetLayers() const
{
  uint16_t mask = 0;
  for (const TData* child : children)
    mask |= child->GetLayers();
  return mask;
}

TData* TDataGroup::Clone(TData* target, int32_t argument) const
{
  TDataGroup* group = target ? dynamic_cast<TDataGroup*>(target) : new TDataGroup;
  if (!group)
    return TData::Clone(target, argument);
  TData::Clone(group, argument);
  group->refX = refX;
  group->refY = refY;
  group->spare = spare;
  if (group->GetChildCount() == 0) {
    for (const TData* child : children) {
      std::unique_ptr<TData> copy(child->Clone(nullptr, argument));
      if (!copy || !group->AddChild(copy.get()))
        break;
      copy.release();
    }
  } else {
    for (int32_t i = 0; i < children.Count() && i < group->GetChildCount(); ++i) {
      TData* into = group->GetChild(i);
      if (into->ClassId() == children.Get(i)->ClassId())
        children.Get(i)->Clone(into, argument);
    }
  }
  return group;
}

bool TDataGroup::AddChild(TData* child)
{
  return child && children.Append(child);
}

void TDataGroup::RemoveAllChildren()
{
  children.Clear();
}

void TDataGroup::DestroyAllChildren()
{
  for (TData* child : children)
    delete child;
  children.Clear();
}

void TDataGroup::SetChildrenState(uint16_t bits, bool on)
{
  for (TData* child : children)
    child->SetState(bits, on);
}

void TDataGroup::GetReference(int32_t& x, int32_t& y) const
{
  x = refX;
  y = refY;
}

void TDataGroup::SetReference(int32_t x, int32_t y)
{
  refX = x;
  refY = y;
}

uint32_t TDataGroup::Broadcast(uint32_t message, int32_t a, int32_t b, void* p)
{
  uint32_t answer = 0;
  for (TData* child : children)
    answer = child->Message(message, a, b, p);
  return answer;
}

bool TDataGroup::UnionOfChildren(TRect& out, int32_t mode) const
{
  out.Assign(TRect());
  if (children.Count() == 0)
    return false;
  children.Get(0)->GetRect(out, mode);
  for (int32_t i = 1; i < children.Count(); ++i) {
    TRect r;
    children.Get(i)->GetRect(r, mode);
    out.Union(r);
  }
  return true;
}
