#include "TPolyRectangle.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectCreation.h"
#include "ObjectPaint.h"
#include "StringTable.h"
#include "TClient.h"
#include "TPage.h"

#include <string>

namespace {

constexpr uint32_t kMaskA = 0x40A00407;
constexpr uint32_t kMaskB = 0x10;
// The angle readout is added only to a text shorter than this.
constexpr size_t kAngleInfoRoom = 125;

} // namespace

TPolyRectangle::TPolyRectangle()
{
  classId = kTPolyRectangle;
  Recompute();
}

TPolyRectangle::TPolyRectangle(int32_t x, int32_t y, int32_t width, int32_t height, int32_t degrees)
    : TPolyRectangle(TRect(x, y, SaturateInt32(int64_t{x} + width), SaturateInt32(int64_t{y} + height)),
                     degrees)
{
}

TPolyRectangle::TPolyRectangle(const TRect& box, int32_t degrees) : angle(degrees % 360), frame(box)
{
  classId = kTPolyRectangle;
  Recompute();
}

TStreamable* TPolyRectangle::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TPolyRectangle;
  return ReleaseIfNotEmpty(PlaceAndSize(*client, [](TPoint p) -> std::unique_ptr<TData> {
    return std::make_unique<TPolyRectangle>(p.x, p.y, 0, 0, 0);
  }));
}

void TPolyRectangle::SetAngle(int32_t degrees)
{
  angle = degrees % 360;
  Recompute();
}

void TPolyRectangle::Recompute()
{
  corners.SetRectPoints(0, frame);
  if (angle == 0) {
    Assign(frame);
    return;
  }
  corners.Rotate({frame.left, frame.top}, angle);
  TRect bounds;
  corners.GetBounds(bounds);
  Assign(bounds);
}

TInStream& TPolyRectangle::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTPolyRectangle, version))
    return is;
  int32_t stored = angle;
  is >> stored;
  if (is)
    angle = stored % 360;
  EndFirstLine(is, version, kVersion);
  TRect storedFrame = frame;
  ReadInto(is, storedFrame);
  if (is)
    frame = storedFrame;
  // The corners are recomputed from the frame and the angle; the stored
  // ones are read past only, so a damaged list cannot change the shape.
  TPolygone storedCorners;
  ReadInto(is, storedCorners);
  TDataRectangle::Read(is);
  Recompute();
  return is;
}

TOutStream& TPolyRectangle::Write(TOutStream& os) const
{
  WriteHeader(os, kTPolyRectangle, kVersion);
  os << ' ' << angle << '\n';
  WriteNested(os, frame);
  WriteNested(os, corners);
  os << '\t';
  return TDataRectangle::Write(os);
}

bool TPolyRectangle::IsA(int32_t id) const
{
  return id == kTDataRectangle || TDataRectangle::IsA(id);
}

bool TPolyRectangle::Contains(int32_t x, int32_t y) const
{
  TPoint p{x, y};
  TRect area = frame;
  area.Inflate(EffectivePenWidth(*this) / 2);
  if (angle != 0) {
    if (!MayTurnInto(p, {frame.left, frame.top}, area.left, area.top, area.right, area.bottom))
      return false;
    p = RotatePoint(p, {frame.left, frame.top}, -angle);
  }
  return area.TRect::Contains(p.x, p.y);
}

bool TPolyRectangle::Offset(int32_t dx, int32_t dy)
{
  if (!frame.Offset(dx, dy))
    return false;
  Recompute();
  return true;
}

bool TPolyRectangle::Resize(int32_t dx, int32_t dy)
{
  // The screen deltas in the frame's own axes.
  const int32_t a = ((angle % 360) + 360) % 360;
  int32_t along = dx, across = dy;
  if (a >= 46 && a <= 135) {
    along = SaturateInt32(-int64_t{dy});
    across = dx;
  } else if (a >= 136 && a <= 225) {
    along = SaturateInt32(-int64_t{dx});
    across = SaturateInt32(-int64_t{dy});
  } else if (a >= 226 && a <= 315) {
    along = dy;
    across = SaturateInt32(-int64_t{dx});
  }
  const bool changed = frame.Resize(along, across);
  Recompute();
  return changed;
}

uint32_t TPolyRectangle::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_RECTANGLE;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  case MSG_GET_ANGLE:
    return static_cast<uint32_t>(angle);
  case MSG_SET_ANGLE:
    if (a == angle)
      return 0;
    SetAngle(a);
    return 1;
  default:
    return TDataRectangle::Message(message, a, b, p);
  }
}

bool TPolyRectangle::Paint(TPage* page, uint8_t mode)
{
  if (!BeginPaint(*this, page, mode))
    return false;
  if (WantsBody(mode)) {
    page->SelectPen(pen);
    page->SelectBrush(brush);
    page->Polygon(corners.Points(), corners.Count());
    page->RestoreDefaults();
  }
  if (WantsHighlight(*this, mode)) {
    BeginHighlight(page);
    page->Polygon(corners.Points(), corners.Count());
    EndHighlight(page);
  }
  return true;
}

uint16_t TPolyRectangle::ContextCommand(TDataOwner* client, uint16_t command)
{
  command = ChooseCommand(client, command);
  if (command == 0)
    return 0;
  if (command == CM_OBJ_ANGLE) {
    if (!client)
      return 0;
    TPolyRectangle turned(frame, angle);
    turned.SetLayers(GetLayers());
    if (client->TrackObject(&turned, command, this) == TDataOwner::kTrackCancelled)
      return 0;
    Notify(command, &turned);
    return command;
  }
  return TDataRectangle::ContextCommand(client, command);
}

bool TPolyRectangle::Notify(uint16_t command, TRect* p)
{
  const auto* edited = dynamic_cast<const TPolyRectangle*>(p);
  if (edited) {
    switch (command) {
    case CM_OBJ_POSITION:
    case CM_OBJ_SIZE:
      frame = edited->frame;
      Recompute();
      return true;
    case CM_OBJ_ANGLE:
      SetAngle(edited->angle);
      return true;
    default:
      break;
    }
  }
  return TDataRectangle::Notify(command, p);
}

void TPolyRectangle::GetRect(TRect& out, int32_t mode) const
{
  if (mode == kRectFrame) {
    out = frame;
    return;
  }
  TDataRectangle::GetRect(out, mode);
}

void TPolyRectangle::SetRect(const TRect& r, int32_t mode)
{
  switch (mode) {
  case kRectPosition:
    Offset(SaturateInt32(int64_t{r.left} - left), SaturateInt32(int64_t{r.top} - top));
    break;
  case kRectCenter:
  case kRectAnchored:
    // These give a place, not a frame: the rectangle is moved there whole.
    TDataRectangle::SetRect(r, mode);
    break;
  default:
    frame = r;
    Recompute();
    break;
  }
}

TData* TPolyRectangle::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TPolyRectangle;
  TDataRectangle::Clone(target, argument);
  if (auto* turned = dynamic_cast<TPolyRectangle*>(target)) {
    turned->angle = angle;
    turned->frame = frame;
    turned->Recompute();
  }
  return target;
}

bool TPolyRectangle::ShowInfo(TDataOwner* client, const TData* reference, uint16_t)
{
  std::string text;
  if (!RectInfoText(client, reference, kRectPosition, text))
    return false;
  if (text.size() < kAngleInfoRoom)
    text += FormatStr(IDS_INFO_ANGLE, static_cast<double>(angle));
  client->SetStatusText(text);
  return true;
}
