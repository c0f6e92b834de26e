#include "TDataDim.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "EndPointRules.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectCreation.h"
#include "ObjectPaint.h"
#include "StringTable.h"
#include "TClient.h"
#include "TPage.h"
#include "TPolygone.h"
#include "TextEncoding.h"

#include <cmath>
#include <string>

namespace {

constexpr uint32_t kMaskA = 0x40000C07;
constexpr uint32_t kMaskB = 0x200010;
// Longest label text and longest length in the readout.
constexpr size_t kMaxLabel = 30;
constexpr size_t kMaxInfoLength = 20;

} // namespace

TDataDim::TDataDim() : TDataDim(0, 0, 0, 0) {}

TDataDim::TDataDim(int32_t x1, int32_t y1, int32_t x2, int32_t y2) : p1{x1, y1}, p2{x2, y2}
{
  classId = kTDataDim;
  label.SetSingleLine(true);
  label.right = SaturateInt32(int64_t{label.left} + 1);
  Recompute();
}

TStreamable* TDataDim::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataDim;
  return PlaceAndSize(*client,
                      [](TPoint p) -> std::unique_ptr<TData> {
                        return std::make_unique<TDataDim>(p.x, p.y, p.x, p.y);
                      })
      .release();
}

void TDataDim::SetHeadSize(int32_t size)
{
  headSize = size;
  Recompute();
}

int32_t TDataDim::Length() const
{
  const double dx = static_cast<double>(p2.x) - p1.x;
  const double dy = static_cast<double>(p2.y) - p1.y;
  return RoundHalfAway(std::hypot(dx, dy));
}

void TDataDim::Recompute()
{
  // Both heads open towards the inside of the line.
  head1a = PointToward(p1, p2, headSize, kHeadAngle);
  head1b = PointToward(p1, p2, headSize, -kHeadAngle);
  head2a = PointToward(p2, p1, headSize, -kHeadAngle);
  head2b = PointToward(p2, p1, headSize, kHeadAngle);

  if (owner) {
    const std::string length = CutText(owner->FormatLength(Length()), kMaxLabel);
    if (!length.empty())
      label.SetText(length);
  }
  label.SetAngle(DirectionDegrees(p1, p2));

  // The label's centre lies beside the middle of the line, far enough for
  // the text to clear it.
  TRect box;
  label.GetRect(box, kRectFrame);
  const int32_t h = std::max(box.Height(), 2);
  TPoint middle{SaturateInt32((int64_t{p1.x} + p2.x) / 2), SaturateInt32((int64_t{p1.y} + p2.y) / 2)};
  if (middle == p2)
    middle = p1;
  const TPoint centre = PointToward(middle, p2, h - h / 4, 90);
  label.SetRect(TRect(centre.x, centre.y, centre.x, centre.y), kRectCenter);

  const TPoint points[6] = {p1, head1a, head1b, p2, head2a, head2b};
  TRect bounds;
  TPolygone(6, points).GetBounds(bounds);
  // The turned label's bounds, so that the rectangle holds all it draws.
  TRect labelBounds;
  label.GetRect(labelBounds, kRectSelection);
  bounds.Union(labelBounds);
  Assign(bounds);
}

// ---- record ----

TInStream& TDataDim::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTDataDim, version))
    return is;
  int32_t size = headSize;
  TPoint a = p1, b = p2;
  is >> size >> a.x >> a.y >> b.x >> b.y;
  if (is.fail())
    return is;
  headSize = size;
  p1 = a;
  p2 = b;
  // A newer writer's extra fields end the first line, before the label.
  EndFirstLine(is, version, kVersion);
  ReadInto(is, label);
  TData::Read(is);
  Recompute();
  return is;
}

TOutStream& TDataDim::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataDim, kVersion);
  os << ' ' << headSize << ' ' << p1.x << ' ' << p1.y << ' ' << p2.x << ' ' << p2.y << '\n';
  WriteNested(os, label);
  os << '\t';
  return TData::Write(os);
}

// ---- geometry ----

bool TDataDim::Contains(int32_t x, int32_t y) const
{
  if (!TRect::Contains(x, y))
    return false;
  if (label.Contains(x, y))
    return true;
  const int32_t width = EffectivePenWidth(*this);
  return HitSegment(x, y, p1, p2, width) || HitSegment(x, y, p1, head1a, width) ||
         HitSegment(x, y, p1, head1b, width) || HitSegment(x, y, p2, head2a, width) ||
         HitSegment(x, y, p2, head2b, width);
}

bool TDataDim::Offset(int32_t dx, int32_t dy)
{
  TRect::Offset(dx, dy);
  for (TPoint* p : {&p1, &head1a, &head1b, &p2, &head2a, &head2b})
    *p = OffsetPoint(*p, dx, dy);
  label.Offset(dx, dy);
  return true;
}

bool TDataDim::Resize(int32_t dx, int32_t dy)
{
  p2 = OffsetPoint(p2, dx, dy);
  Recompute();
  return true;
}

void TDataDim::SetOwner(TDataOwner* client)
{
  TData::SetOwner(client);
  Recompute();
}

void TDataDim::GetRect(TRect& out, int32_t mode) const
{
  if (!EndPointRect(*this, p1, p2, mode, out))
    TData::GetRect(out, mode);
}

void TDataDim::SetRect(const TRect& r, int32_t mode)
{
  switch (mode) {
  case kRectPosition:
    MovePositionTo(r.left, r.top);
    break;
  case kRectCenter:
  case kRectAnchored:
    TData::SetRect(r, mode);
    break;
  default:
    break;
  }
}

void TDataDim::SetLayers(uint16_t mask)
{
  TData::SetLayers(mask);
  label.SetLayers(mask);
}

// ---- messages and drawing ----

uint32_t TDataDim::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_DIMENSION;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  case MSG_MAY_RESIZE:
    // Sizing moves the second end alone.
    return MayMoveEndPoint(p2, a, b, p);
  case MSG_REFRESH:
  case MSG_REFRESH_NO_WINDOW: {
    TRect before;
    GetRect(before, kRectDrawing);
    Recompute();
    if (message == MSG_REFRESH && owner) {
      // The label may have become shorter: its old place is repainted too.
      TRect after;
      GetRect(after, kRectDrawing);
      after.Union(before);
      owner->Invalidate(after);
    }
    return 0;
  }
  default:
    return TData::Message(message, a, b, p);
  }
}

bool TDataDim::Paint(TPage* page, uint8_t mode)
{
  if (!BeginPaint(*this, page, mode))
    return false;
  if (WantsBody(mode)) {
    page->SelectPen(pen);
    page->Line(p1.x, p1.y, p2.x, p2.y);
    page->Line(p1.x, p1.y, head1a.x, head1a.y);
    page->Line(p1.x, p1.y, head1b.x, head1b.y);
    page->Line(p2.x, p2.y, head2a.x, head2a.y);
    page->Line(p2.x, p2.y, head2b.x, head2b.y);
    page->RestoreDefaults();
    label.Paint(page, static_cast<uint8_t>(mode & ~kPaintToggleOutline));
  }
  if (WantsHighlight(*this, mode)) {
    BeginHighlight(page);
    page->Line(p1.x, p1.y, p2.x, p2.y);
    DrawDragCross(*this, page, p1, p2);
    EndHighlight(page);
  }
  return true;
}

uint16_t TDataDim::ContextCommand(TDataOwner* client, uint16_t command)
{
  command = ChooseCommand(client, command);
  if (command == 0)
    return 0;
  uint16_t result = 0;
  switch (command) {
  case CM_OBJ_TEXT_COLOR:
    result = label.ContextCommand(client, CM_OBJ_COLOR) != 0 ? command : 0;
    break;
  case CM_OBJ_FONT:
  case CM_OBJ_DEFAULT_FONT:
  case CM_OBJ_DEFAULT_FONT_COLOR:
    result = label.ContextCommand(client, command);
    break;
  default:
    return TData::ContextCommand(client, command);
  }
  if (result != 0)
    Notify(command, nullptr);
  return result;
}

bool TDataDim::Notify(uint16_t command, TRect* p)
{
  if (command == CM_OBJ_FONT) {
    Recompute();
    return true;
  }
  const auto* edited = dynamic_cast<const TDataDim*>(p);
  if (edited && (command == CM_OBJ_POSITION || command == CM_OBJ_SIZE)) {
    p1 = edited->p1;
    p2 = edited->p2;
    Recompute();
    return true;
  }
  return TData::Notify(command, p);
}

TData* TDataDim::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataDim;
  TData::Clone(target, argument);
  if (auto* copy = dynamic_cast<TDataDim*>(target)) {
    copy->p1 = p1;
    copy->p2 = p2;
    copy->headSize = headSize;
    label.Clone(&copy->label, argument);
    copy->Recompute();
  }
  return target;
}

bool TDataDim::ShowInfo(TDataOwner* client, const TData* reference, uint16_t)
{
  std::string text;
  if (!RectInfoText(client, reference, kRectEndPoints, text))
    return false;
  const TPage* page = client->GetPage();
  if (page && page->GetDragMode() == CM_OBJ_SIZE)
    text += FormatStr(IDS_INFO_LENGTH, CutText(client->FormatLength(Length()), kMaxInfoLength).c_str());
  client->SetStatusText(text);
  return true;
}
