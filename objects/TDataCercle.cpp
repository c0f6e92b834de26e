#include "TDataCercle.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectCreation.h"
#include "ObjectPaint.h"
#include "StringTable.h"
#include "TClient.h"
#include "TPage.h"
#include "TUserInput.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kMaskAArc = 0x40002407;
constexpr uint32_t kMaskA = 0x40802407;
constexpr uint32_t kMaskBIso = 0x10010;
constexpr uint32_t kMaskBNotIso = 0x8010;
constexpr uint32_t kMaskBAngles = 0x3000000;
constexpr int32_t kShapeCount = 4;

// A distance rounded to whole units.
int32_t RoundedDistance(double dx, double dy)
{
  return static_cast<int32_t>(std::min(std::sqrt(dx * dx + dy * dy) + 0.5, 2147483647.0));
}

// Degrees in 0..359.
int32_t Normalized(int32_t degrees)
{
  const int32_t a = degrees % 360;
  return a < 0 ? a + 360 : a;
}

} // namespace

TDataCercle::TDataCercle()
{
  classId = kTDataCercle;
}

TDataCercle::TDataCercle(int32_t cx, int32_t cy, int32_t r)
{
  classId = kTDataCercle;
  Assign(TRect(SaturateInt32(int64_t{cx} - r), SaturateInt32(int64_t{cy} - r), SaturateInt32(int64_t{cx} + r),
               SaturateInt32(int64_t{cy} + r)));
}

TStreamable* TDataCercle::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataCercle;
  return ReleaseIfNotEmpty(PlaceAndSize(*client, [](TPoint p) -> std::unique_ptr<TData> {
    return std::make_unique<TDataCercle>(p.x, p.y, 0);
  }));
}

void TDataCercle::SetAngles(int32_t start, int32_t end)
{
  startAngle = start % 360;
  endAngle = end % 360;
}

void TDataCercle::SetIso(int32_t notIsoFlag)
{
  if (notIsoFlag != 0) {
    notIso = 1;
    return;
  }
  notIso = 0;
  const TPoint c = Center();
  const int32_t half = static_cast<int32_t>((int64_t{Width()} + Height()) / 4);
  Assign(TRect(SaturateInt32(int64_t{c.x} - half), SaturateInt32(int64_t{c.y} - half),
               SaturateInt32(int64_t{c.x} + half), SaturateInt32(int64_t{c.y} + half)));
}

TInStream& TDataCercle::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTDataCercle, version))
    return is;
  if (version < 2) {
    // Fields of the first records that no longer mean anything.
    int32_t unused[3];
    is >> unused[0] >> unused[1] >> unused[2];
  }
  uint16_t storedNotIso = notIso, storedShape = shape;
  int32_t storedStart = startAngle, storedEnd = endAngle;
  if (version >= 2)
    is >> storedNotIso;
  if (version >= 3)
    is >> storedShape >> storedStart >> storedEnd;
  if (is) {
    notIso = storedNotIso;
    shape = storedShape;
    startAngle = storedStart;
    endAngle = storedEnd;
  }
  EndFirstLine(is, version, kVersion);
  // The first records kept the pen and the brush apart from the common part.
  if (version < 1) {
    ReadInto(is, pen);
    ReadInto(is, brush);
  }
  TData::Read(is);
  return is;
}

TOutStream& TDataCercle::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataCercle, kVersion);
  os << ' ' << notIso << ' ' << shape << ' ' << startAngle << ' ' << endAngle << '\n' << '\t';
  return TData::Write(os);
}

bool TDataCercle::Contains(int32_t x, int32_t y) const
{
  TRect bounds;
  GetRect(bounds, kRectDrawing);
  const int32_t width = Width();
  const int32_t height = Height();
  if (!bounds.TRect::Contains(x, y) || width == 0 || height == 0)
    return false;
  const TPoint c = Center();
  // s: the sum of the distances to the foci (for a circle twice the
  // distance to the centre); major: the length of the major axis.
  int32_t s = 0;
  int32_t major = width;
  if (width == height) {
    const int32_t d = RoundedDistance(static_cast<double>(x) - c.x, static_cast<double>(y) - c.y);
    if (d > width / 2)
      return false;
    s = static_cast<int32_t>(std::min<int64_t>(int64_t{2} * d, 2147483647));
  } else {
    major = std::max(width, height);
    const int32_t minor = std::min(width, height);
    const int32_t focal =
        static_cast<int32_t>(std::cos(std::asin(static_cast<double>(minor) / major)) * major);
    TPoint f1 = c, f2 = c;
    if (width > height) {
      f1.x = SaturateInt32(int64_t{c.x} - focal / 2);
      f2.x = SaturateInt32(int64_t{f1.x} + focal);
    } else {
      f1.y = SaturateInt32(int64_t{c.y} - focal / 2);
      f2.y = SaturateInt32(int64_t{f1.y} + focal);
    }
    const int64_t sum =
        int64_t{RoundedDistance(static_cast<double>(x) - f1.x, static_cast<double>(y) - f1.y)} +
        RoundedDistance(static_cast<double>(x) - f2.x, static_cast<double>(y) - f2.y);
    if (sum > major)
      return false;
    s = static_cast<int32_t>(sum);
  }

  if (shape == kEllipse || shape > kArc)
    return true;
  const int32_t from = Normalized(startAngle);
  int32_t to = Normalized(endAngle);
  if (to < from)
    to += 360;
  int32_t a = DirectionDegrees(c, {x, y});
  if (a < from)
    a += 360;
  // Equal angles give the whole ellipse, for every part shape.
  const bool inRange = from == to || (a >= from && a <= to);
  if (shape == kPie)
    return inRange;
  // Chord and arc: only near the curve.
  const int64_t w = EffectivePenWidth(*this);
  return inRange && major - 2 * w <= s;
}

bool TDataCercle::Resize(int32_t dx, int32_t dy)
{
  if (dx == 0 && dy == 0)
    return false;
  const TPoint c = Center();
  if (notIso != 0) {
    const int32_t w = SaturateInt32(std::max<int64_t>(int64_t{Width()} + dx, 1));
    const int32_t h = SaturateInt32(std::max<int64_t>(int64_t{Height()} + dy, 1));
    left = SaturateInt32(int64_t{c.x} - w / 2);
    right = SaturateInt32(int64_t{left} + w);
    top = SaturateInt32(int64_t{c.y} - h / 2);
    bottom = SaturateInt32(int64_t{top} + h);
    return true;
  }
  int32_t d = RoundedDistance(dx, dy);
  if (d == 0)
    return true;
  if (int64_t{dx} + dy < 0)
    d = -d;
  const int32_t side = SaturateInt32(std::max<int64_t>(int64_t{Width()} + d, 1));
  if (side == Width())
    return false;
  left = SaturateInt32(int64_t{c.x} - side / 2);
  right = SaturateInt32(int64_t{left} + side);
  top = SaturateInt32(int64_t{c.y} - side / 2);
  bottom = SaturateInt32(int64_t{top} + side);
  return true;
}

uint32_t TDataCercle::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_CIRCLE;
  case MSG_MASK_A:
    return shape == kArc ? kMaskAArc : kMaskA;
  case MSG_MASK_B: {
    uint32_t mask = notIso == 0 ? kMaskBIso : kMaskBNotIso;
    if (shape == kPie || shape == kChord || shape == kArc)
      mask |= kMaskBAngles;
    return mask;
  }
  case MSG_GET_ANGLE:
    return static_cast<uint32_t>(b == CM_OBJ_END_ANGLE ? endAngle : startAngle);
  case MSG_SET_ANGLE:
    if (b == CM_OBJ_END_ANGLE)
      endAngle = a % 360;
    else
      startAngle = a % 360;
    return 1;
  default:
    return TData::Message(message, a, b, p);
  }
}

bool TDataCercle::Paint(TPage* page, uint8_t mode)
{
  if (!BeginPaint(*this, page, mode))
    return false;
  auto draw = [this, page] {
    switch (shape) {
    case kPie:
      page->Pie(*this, startAngle, endAngle);
      break;
    case kChord:
      page->Chord(*this, startAngle, endAngle);
      break;
    case kArc:
      page->Arc(*this, startAngle, endAngle);
      break;
    default:
      page->Ellipse(*this);
      break;
    }
  };
  if (WantsBody(mode)) {
    page->SelectPen(pen);
    page->SelectBrush(brush);
    draw();
    page->RestoreDefaults();
  }
  if (WantsHighlight(*this, mode)) {
    BeginHighlight(page);
    draw();
    const TPoint c = Center();
    switch (page->GetDragMode()) {
    case CM_OBJ_POSITION:
      DrawReferenceCross(page, c.x, c.y);
      break;
    case CM_OBJ_START_ANGLE:
    case CM_OBJ_END_ANGLE: {
      const int32_t angle = page->GetDragMode() == CM_OBJ_START_ANGLE ? startAngle : endAngle;
      const TPoint handle = RotatePoint({right, c.y}, c, angle);
      DrawReferenceCross(page, handle.x, handle.y);
      break;
    }
    default:
      break;
    }
    EndHighlight(page);
  }
  return true;
}

uint16_t TDataCercle::ContextCommand(TDataOwner* client, uint16_t command)
{
  command = ChooseCommand(client, command);
  if (command == 0)
    return 0;
  switch (command) {
  case CM_OBJ_START_ANGLE:
  case CM_OBJ_END_ANGLE:
  case CM_OBJ_ANGLE: {
    if (!client)
      return 0;
    std::unique_ptr<TData> turned(Clone(nullptr, 0));
    if (client->TrackObject(turned.get(), command, this) == TDataOwner::kTrackCancelled)
      return 0;
    Notify(command, turned.get());
    return command;
  }
  case CM_OBJ_FORMAT: {
    TUserInput* input = client ? client->GetInput() : nullptr;
    const std::vector<std::string> options = {LoadStr(IDS_CIRCLE_TYPE_CIRCLE), LoadStr(IDS_CIRCLE_TYPE_PIE),
                                              LoadStr(IDS_CIRCLE_TYPE_CHORD), LoadStr(IDS_CIRCLE_TYPE_ARC)};
    int32_t index = shape < kShapeCount ? int32_t{shape} : int32_t{kEllipse};
    if (!input ||
        !input->ChooseOption(LoadStr(IDS_CIRCLE_TYPE_TITLE), LoadStr(IDS_CIRCLE_TYPE_GROUP), options,
                             index) ||
        index < 0 || index >= kShapeCount)
      return 0;
    shape = static_cast<uint16_t>(index);
    Notify(command, nullptr);
    return command;
  }
  case CM_OBJ_ISO:
  case CM_OBJ_NOT_ISO:
    SetIso(command == CM_OBJ_ISO ? 0 : 1);
    Notify(command, nullptr);
    return command;
  default:
    return TData::ContextCommand(client, command);
  }
}

bool TDataCercle::Notify(uint16_t command, TRect* p)
{
  const auto* edited = dynamic_cast<const TDataCercle*>(p);
  if (edited && (command == CM_OBJ_START_ANGLE || command == CM_OBJ_END_ANGLE || command == CM_OBJ_ANGLE)) {
    startAngle = edited->startAngle;
    endAngle = edited->endAngle;
    return true;
  }
  return TData::Notify(command, p);
}

void TDataCercle::GetRect(TRect& out, int32_t mode) const
{
  switch (mode) {
  case kRectPosition: {
    const TPoint c = Center();
    out = TRect(c.x, c.y, Width(), Height());
    break;
  }
  case kRectDrawing:
    out = *this;
    out.Inflate(2);
    break;
  default:
    TData::GetRect(out, mode);
    break;
  }
}

void TDataCercle::SetRect(const TRect& r, int32_t mode)
{
  if (mode == kRectPosition)
    MovePositionTo(r.left, r.top);
  else
    TData::SetRect(r, mode);
}

TData* TDataCercle::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataCercle;
  TData::Clone(target, argument);
  if (auto* circle = dynamic_cast<TDataCercle*>(target)) {
    circle->notIso = notIso;
    circle->shape = shape;
    circle->startAngle = startAngle;
    circle->endAngle = endAngle;
  }
  return target;
}
