#include "TData.h"

#include "ClassTable.h"
#include "Colors.h"
#include "CommandIds.h"
#include "Defaults.h"
#include "Geometry.h"
#include "Messages.h"
#include "StringTable.h"
#include "TDataOwner.h"
#include "TPage.h"
#include "TUserInput.h"
#include "TextEncoding.h"

#include <memory>
#include <string>

namespace {

// Mask A bit of the "Line Type..." entry: only objects offering it take a pen.
constexpr uint32_t kMaskLineType = 0x400;
// Mask B bit of the "Layer" entry: only objects offering it take a layer mask.
constexpr uint32_t kMaskLayer = 0x10;
constexpr size_t kInfoFieldLength = 15;
constexpr size_t kInfoTextLength = 149;

} // namespace

TData::TData() : pen(DefaultPen()), brush(DefaultBrush())
{
  classId = kTData;
}

TData::TData(const TData& other)
    : TRect(other), pen(other.pen), brush(other.brush), layers(other.layers), state(other.state),
      owner(other.owner), lastError(other.lastError)
{
}

TData& TData::operator=(const TData& other)
{
  if (this != &other) {
    TRect::operator=(other);
    pen = other.pen;
    brush = other.brush;
    layers = other.layers;
    state = other.state;
  }
  return *this;
}

TData::~TData() = default;

TInStream& TData::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTData, version))
    return is;
  uint16_t storedState = state;
  is >> storedState;
  bool hasLayers = version >= 1;
  if (version == 0) {
    uint16_t word = 0;
    int32_t f = 0;
    is >> word >> f;
    hasLayers = f >= 1;
  }
  uint16_t storedLayers = layers;
  if (hasLayers) {
    uint16_t reserved = 0;
    is >> storedLayers >> reserved;
    // Early files used 3 for "the default layer".
    if (version <= 1 && storedLayers == 3)
      storedLayers = 8;
  }
  if (version <= 2) {
    uint32_t penColour = pen.GetColor();
    uint32_t brushColour = brush.GetColor();
    is >> penColour >> brushColour;
    if (is) {
      // The brush was only a colour then: filled unless "no colour", not
      // whatever the current default brush style happens to be.
      TData::SetColor(0, penColour);
      TData::SetColor(1, brushColour);
    }
  }
  if (is) {
    state = static_cast<uint16_t>((storedState & ~kRunTimeState) | (state & kRunTimeState));
    layers = storedLayers;
  }
  EndFirstLine(is, version, kVersion);
  if (version >= 3) {
    ReadInto(is, pen);
    ReadInto(is, brush);
  }
  TRect::Read(is);
  return is;
}

TOutStream& TData::Write(TOutStream& os) const
{
  WriteHeader(os, kTData, kVersion);
  os << ' ' << state << ' ' << layers << ' ' << uint16_t{0} << '\n';
  WriteNested(os, pen);
  WriteNested(os, brush);
  os << '\t';
  return TRect::Write(os);
}

bool TData::IsA(int32_t id) const
{
  return id == kTData || TRect::IsA(id);
}

void TData::SetOwner(TDataOwner* client)
{
  owner = client;
}

uint32_t TData::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_MAY_MOVE: {
    if (!p)
      return 0;
    const TRect& bounds = *static_cast<const TRect*>(p);
    if (a == 0 && b == 0)
      return 2;
    if (a < 0 && int64_t{left} + a < bounds.left)
      return 0;
    if (b < 0 && int64_t{top} + b < bounds.top)
      return 0;
    if (a > 0 && int64_t{right} + a > bounds.right)
      return 0;
    return b < 1 || int64_t{bottom} + b <= bounds.bottom ? 1 : 0;
  }
  case MSG_MAY_RESIZE: {
    if (!p)
      return 0;
    const TRect& bounds = *static_cast<const TRect*>(p);
    if (a == 0 && b == 0)
      return 2;
    if (a < 0 && int64_t{right} + a < left)
      return 0;
    if (b < 0 && int64_t{bottom} + b < top)
      return 0;
    if (a > 0 && int64_t{right} + a > bounds.right)
      return 0;
    return b < 1 || int64_t{bottom} + b <= bounds.bottom ? 1 : 0;
  }
  case MSG_TAKE_PEN:
    if ((Message(MSG_MASK_A, 0, 0, nullptr) & kMaskLineType) && p) {
      pen = *static_cast<const TPen*>(p);
      Notify(CM_OBJ_LINE_TYPE, nullptr);
    }
    return 0;
  default:
    // The capability masks and the type name (32655, 32664, 32289) are the
    // classes' own; the base offers nothing.
    return 0;
  }
}

bool TData::Paint(TPage* page, uint8_t mode)
{
  if (!page || !IsOnPage(page))
    return false;
  if (mode & kPaintToggleOutline)
    state ^= kSelected;
  TRect bounds;
  GetRect(bounds, kRectDrawing);
  if (!page->RectVisible(bounds))
    return false;
  if (mode & (kPaintScreen | kPaintOutput))
    page->Rectangle(bounds);
  if ((mode & kPaintToggleOutline) || (state & kSelected)) {
    // The outline inverts what lies under it, so drawing it twice leaves
    // the page as it was.
    page->RestoreDefaults();
    page->SetROP2(R2_NOT_);
    page->Rectangle(bounds);
    page->SetROP2(R2_COPYPEN_);
  }
  return true;
}

uint16_t TData::ContextCommand(TDataOwner* client, uint16_t command)
{
  if (!client)
    return 0;
  TUserInput* input = client->GetInput();
  command = ChooseCommand(client, command);
  if (command == 0)
    return 0;

  std::unique_ptr<TData> copy;
  switch (command) {
  case CM_OBJ_POSITION:
  case CM_OBJ_SIZE:
    copy.reset(Clone(nullptr, 0));
    if (!copy || client->TrackObject(copy.get(), command, this) == TDataOwner::kTrackCancelled)
      return 0;
    break;
  case CM_OBJ_CENTER: {
    TRect centre;
    GetRect(centre, kRectCenter);
    int32_t x = 0, y = 0;
    if (client->GetPoint(x, y, LoadStr(IDS_POSITION_CENTER), true, TDataOwner::kCursorCross, 0) !=
        TDataOwner::kPointGiven)
      return 0;
    if (!Offset(SaturatedDifference(x, centre.left), SaturatedDifference(y, centre.top)))
      return 0;
    break;
  }
  case CM_OBJ_LINE_TYPE:
    if (!input || !input->ChoosePen(pen, client->Client()))
      return 0;
    break;
  case CM_OBJ_COLOR:
  case CM_OBJ_BACK_COLOR: {
    const int32_t which = command == CM_OBJ_COLOR ? 0 : 1;
    uint32_t colour = GetColor(which);
    if (!input || !input->ChooseColor(colour, which == 1))
      return 0;
    SetColor(which, colour);
    break;
  }
  case CM_OBJ_LAYER:
    if (!EditLayers(input))
      return 0;
    break;
  case CM_OBJ_DELETE:
  case CM_OBJ_BRING_TO_TOP:
  case CM_OBJ_COPY_PASTE:
    client->PostObjectCommand(command, this);
    return 0;
  case CM_OBJ_DEFAULT_COLOR:
    DefaultPen().SetColor(pen.GetColor());
    return 0;
  case CM_OBJ_DEFAULT_LINE_TYPE: {
    const uint32_t colour = DefaultPen().GetColor();
    DefaultPen() = pen;
    DefaultPen().SetColor(colour);
    return 0;
  }
  case CM_OBJ_DEFAULT_LINE_TYPE_COLOR:
    DefaultPen() = pen;
    return 0;
  case CM_OBJ_DEFAULT_BACK_COLOR:
    DefaultBrush() = brush;
    return 0;
  case CM_OBJ_DEFAULT_TEXT_COLOR:
    DefaultTextColor() = pen.GetColor();
    return 0;
  default:
    break;
  }
  Notify(command, copy.get());
  return command;
}

uint16_t TData::ChooseCommand(TDataOwner* client, uint16_t command)
{
  if (command != 0 || !client)
    return command;
  client->ToggleOutline(this);
  command = client->RunObjectMenu(this);
  client->UpdateWindow();
  client->ToggleOutline(this);
  return command;
}

bool TData::Notify(uint16_t command, TRect* p)
{
  if (p) {
    if (command == CM_OBJ_POSITION)
      Offset(SaturatedDifference(p->left, left), SaturatedDifference(p->top, top));
    else if (command == CM_OBJ_SIZE)
      SetRect(*p, kRectFrame);
  }
  return true;
}

void TData::GetRect(TRect& out, int32_t mode) const
{
  switch (mode) {
  case kRectPosition:
    out.left = left;
    out.top = top;
    out.right = Width();
    out.bottom = Height();
    break;
  case kRectCenter: {
    const TPoint c = Center();
    out.left = out.right = c.x;
    out.top = out.bottom = c.y;
    break;
  }
  default:
    out.Assign(*this);
    break;
  }
}

void TData::SetRect(const TRect& r, int32_t mode)
{
  switch (mode) {
  case kRectFrame:
    Assign(r);
    break;
  case kRectPosition:
    Offset(SaturatedDifference(r.left, left), SaturatedDifference(r.top, top));
    break;
  case kRectCenter: {
    const TPoint c = Center();
    Offset(SaturatedDifference(r.left, c.x), SaturatedDifference(r.top, c.y));
    break;
  }
  case kRectAnchored: {
    int32_t x = r.left;
    int32_t y = r.top;
    if (r.right == 2)
      x = SaturatedDifference(x, Width());
    else if (r.right == 16)
      x = SaturatedDifference(x, Width() / 2);
    if (r.bottom == 4)
      y = SaturatedDifference(y, Height());
    else if (r.bottom == 16)
      y = SaturatedDifference(y, Height() / 2);
    Offset(SaturatedDifference(x, left), SaturatedDifference(y, top));
    break;
  }
  default:
    break;
  }
}

void TData::SetColor(int32_t which, uint32_t colour)
{
  if (which == 0) {
    pen.SetColor(colour);
  } else if (which == 1) {
    brush.SetColor(colour);
    brush.SetStyle(colour == kNoColor ? TBrush::kHollow : TBrush::kSolid);
  }
}

uint32_t TData::GetColor(int32_t which) const
{
  if (which == 0)
    return pen.GetColor();
  if (which == 1)
    return brush.GetColor();
  return 0;
}

void TData::SetLayers(uint16_t mask)
{
  if (Message(MSG_MASK_B, 0, 0, nullptr) & kMaskLayer)
    layers = mask;
}

uint16_t TData::GetLayers() const
{
  return layers;
}

TData* TData::Clone(TData* target, int32_t) const
{
  if (!target)
    target = new TData;
  target->Assign(*this);
  target->pen = pen;
  target->brush = brush;
  target->layers = layers;
  target->state = state;
  return target;
}

bool TData::ShowInfo(TDataOwner* client, const TData* reference, uint16_t)
{
  return ShowRectInfo(client, reference, kRectPosition);
}

bool TData::ShowRectInfo(TDataOwner* client, const TData* reference, int32_t mode) const
{
  std::string text;
  if (!RectInfoText(client, reference, mode, text))
    return false;
  client->SetStatusText(text);
  return true;
}

bool TData::RectInfoText(TDataOwner* client, const TData* reference, int32_t mode, std::string& text) const
{
  const bool twoPoints = mode == kRectEndPoints;
  const uint32_t format = twoPoints ? (reference ? IDS_INFO_TWO_POINTS_REL : IDS_INFO_TWO_POINTS)
                                    : (reference ? IDS_INFO_RECT_REL : IDS_INFO_RECT);
  if (!client || !HasString(format))
    return false;
  TRect r;
  GetRect(r, mode);
  const std::string x = CutText(client->FormatX(r.left), kInfoFieldLength);
  const std::string y = CutText(client->FormatY(r.top), kInfoFieldLength);
  const std::string w =
      CutText(twoPoints ? client->FormatX(r.right) : client->FormatLength(r.right), kInfoFieldLength);
  const std::string h =
      CutText(twoPoints ? client->FormatY(r.bottom) : client->FormatLength(r.bottom), kInfoFieldLength);
  if (reference) {
    TRect o;
    reference->GetRect(o, mode);
    auto relative = [client](int32_t a, int32_t b) {
      return CutText(client->FormatLength(SaturateInt32(int64_t{a} - b), 0, true), kInfoFieldLength);
    };
    const std::string dx = relative(r.left, o.left);
    const std::string dy = relative(r.top, o.top);
    const std::string dw = relative(r.right, o.right);
    const std::string dh = relative(r.bottom, o.bottom);
    text = FormatStr(format, x.c_str(), dx.c_str(), y.c_str(), dy.c_str(), w.c_str(), dw.c_str(), h.c_str(),
                     dh.c_str());
  } else {
    text = FormatStr(format, x.c_str(), y.c_str(), w.c_str(), h.c_str());
  }
  text = CutText(std::move(text), kInfoTextLength);
  return true;
}

bool TData::EditLayers(TUserInput* input)
{
  uint16_t mask = GetLayers();
  if (!input || !input->EditObjectLayers(mask) || mask == 0)
    return false;
  SetLayers(mask);
  return true;
}

void TData::MovePositionTo(int32_t x, int32_t y)
{
  TRect position;
  GetRect(position, kRectPosition);
  Offset(SaturatedDifference(x, position.left), SaturatedDifference(y, position.top));
}

void TData::SetState(uint16_t bits, bool on)
{
  if (on)
    state |= bits;
  else
    state &= static_cast<uint16_t>(~bits);
}

bool TData::IsOnPage(const TPage* page) const
{
  return page && (GetLayers() & page->GetDrawingLayers()) != 0;
}

void TData::DrawReferenceCross(TPage* page, int32_t x, int32_t y) const
{
  if (!page || (state & kNoReferenceCross))
    return;
  page->SelectPen(TPen(MakeColor(255, 255, 255), 1, TPen::kSolid));
  const int32_t half = kCrossLength / 2;
  page->Line(x - half, y, x + half, y);
  page->Line(x, y - half, x, y + half);
}

void TData::SetPenWidth(int32_t width)
{
  pen.SetWidth(width);
}
