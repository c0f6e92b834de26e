#include "TDataBezier.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "EndPointRules.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectPaint.h"
#include "StringTable.h"
#include "TClient.h"
#include "TPage.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace {

constexpr uint32_t kMaskA = 0x407;
constexpr uint32_t kMaskB = 0x30;

int32_t Distance(TPoint a, TPoint b)
{
  return RoundHalfAway(std::hypot(static_cast<double>(a.x) - b.x, static_cast<double>(a.y) - b.y));
}

} // namespace

TDataBezier::TDataBezier()
{
  classId = kTDataBezier;
}

TDataBezier::TDataBezier(int32_t x0, int32_t y0, int32_t x2, int32_t y2, int32_t x1, int32_t y1)
    : start{x0, y0}, end{x2, y2}, control{x1, y1}
{
  classId = kTDataBezier;
  Resample();
}

TStreamable* TDataBezier::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataBezier;
  int32_t x = 0, y = 0;
  if (client->GetPosition(x, y) != TDataOwner::kPointGiven)
    return nullptr;
  auto curve = std::make_unique<TDataBezier>(x, y, x, y, x, y);
  curve->SetLayers(client->GetLayers());
  // First the end is dragged out, then the curve is bent from a control
  // point half-way between the ends.
  curve->handle = kHandleEnd;
  if (client->TrackObject(curve.get(), CM_OBJ_SIZE, nullptr) == TDataOwner::kTrackCancelled)
    return nullptr;
  curve->control = {static_cast<int32_t>((int64_t{curve->start.x} + curve->end.x) / 2),
                    static_cast<int32_t>((int64_t{curve->start.y} + curve->end.y) / 2)};
  curve->Resample();
  curve->handle = kHandleControl;
  if (client->TrackObject(curve.get(), CM_OBJ_SIZE, nullptr) == TDataOwner::kTrackCancelled)
    return nullptr;
  curve->handle = 0;
  return curve.release();
}

TInStream& TDataBezier::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTDataBezier, version))
    return is;
  TPoint p0, p2, p1;
  uint16_t storedSpare = 0;
  is >> p0.x >> p0.y >> p2.x >> p2.y >> p1.x >> p1.y >> storedSpare;
  if (is) {
    start = p0;
    end = p2;
    control = p1;
  }
  EndFirstLine(is, version, kVersion);
  if (version == 0)
    ReadInto(is, pen);
  TData::Read(is);
  Resample();
  return is;
}

TOutStream& TDataBezier::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataBezier, kVersion);
  os << ' ' << start.x << ' ' << start.y << ' ' << end.x << ' ' << end.y << ' ' << control.x << ' '
     << control.y << ' ' << spare << "\n\t";
  return TData::Write(os);
}

bool TDataBezier::Contains(int32_t x, int32_t y) const
{
  TRect bounds;
  GetRect(bounds, kRectDrawing);
  if (!bounds.TRect::Contains(x, y))
    return false;
  const int32_t width = EffectivePenWidth(*this);
  for (size_t i = 1; i < samples.size(); ++i)
    if (HitSegment(x, y, samples[i - 1], samples[i], width))
      return true;
  return false;
}

bool TDataBezier::Offset(int32_t dx, int32_t dy)
{
  start = OffsetPoint(start, dx, dy);
  end = OffsetPoint(end, dx, dy);
  control = OffsetPoint(control, dx, dy);
  for (TPoint& p : samples)
    p = OffsetPoint(p, dx, dy);
  return TRect::Offset(dx, dy);
}

const TPoint& TDataBezier::HandlePoint() const
{
  switch (handle) {
  case kHandleStart:
    return start;
  case kHandleControl:
    return control;
  default:
    return end;
  }
}

TPoint& TDataBezier::HandlePoint()
{
  return const_cast<TPoint&>(std::as_const(*this).HandlePoint());
}

bool TDataBezier::Resize(int32_t dx, int32_t dy)
{
  TPoint& p = HandlePoint();
  p = OffsetPoint(p, dx, dy);
  Resample();
  return dx != 0 || dy != 0;
}

uint32_t TDataBezier::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_BEZIER;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  case MSG_MAY_RESIZE:
    // Sizing moves one point (the end, or the control point while the curve
    // is bent): that point must stay inside p.
    return MayMoveEndPoint(HandlePoint(), a, b, p);
  default:
    return TData::Message(message, a, b, p);
  }
}

void TDataBezier::DrawCurve(TPage* page) const
{
  if (samples.empty())
    page->Line(start.x, start.y, end.x, end.y);
  else if (!page->QuadraticCurve(start, control, end))
    page->Polyline(samples.data(), static_cast<int32_t>(samples.size()));
}

bool TDataBezier::Paint(TPage* page, uint8_t mode)
{
  if (!BeginPaint(*this, page, mode))
    return false;
  if (WantsBody(mode)) {
    page->SelectPen(pen);
    DrawCurve(page);
    page->RestoreDefaults();
  }
  if (WantsHighlight(*this, mode)) {
    BeginHighlight(page);
    DrawCurve(page);
    // The cross marks the end being dragged; none while the curve is bent.
    if (handle != kHandleControl)
      DrawDragCross(*this, page, start, end);
    EndHighlight(page);
  }
  return true;
}

uint16_t TDataBezier::ContextCommand(TDataOwner* client, uint16_t command)
{
  if (!client)
    return 0;
  command = ChooseCommand(client, command);
  if (command != CM_OBJ_CURVE_SHAPE)
    return command == 0 ? 0 : TData::ContextCommand(client, command);
  std::unique_ptr<TDataBezier> copy(static_cast<TDataBezier*>(Clone(nullptr, 0)));
  copy->handle = kHandleControl;
  if (client->TrackObject(copy.get(), CM_OBJ_SIZE, this) == TDataOwner::kTrackCancelled)
    return 0;
  Notify(command, copy.get());
  return command;
}

bool TDataBezier::Notify(uint16_t command, TRect* p)
{
  switch (command) {
  case CM_OBJ_POSITION:
  case CM_OBJ_SIZE:
  case CM_OBJ_CURVE_SHAPE:
    if (p && p->IsA(kTDataBezier)) {
      const auto* copy = static_cast<const TDataBezier*>(p);
      start = copy->start;
      end = copy->end;
      control = copy->control;
      Resample();
      return true;
    }
    return TData::Notify(command, p);
  case CM_OBJ_LINE_TYPE:
    // The sample density follows the pen width.
    Resample();
    return true;
  default:
    return TData::Notify(command, p);
  }
}

void TDataBezier::GetRect(TRect& out, int32_t mode) const
{
  switch (mode) {
  case kRectPosition:
    // The position of a curve is its start.
    out.left = start.x;
    out.top = start.y;
    out.right = Width();
    out.bottom = Height();
    break;
  case kRectDrawing:
    out = StrokeBounds(*this);
    break;
  default:
    TData::GetRect(out, mode);
    break;
  }
}

void TDataBezier::SetRect(const TRect& r, int32_t mode)
{
  if (mode == kRectPosition)
    MovePositionTo(r.left, r.top);
}

TData* TDataBezier::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataBezier;
  TData::Clone(target, argument);
  if (target->IsA(kTDataBezier)) {
    auto* copy = static_cast<TDataBezier*>(target);
    copy->start = start;
    copy->end = end;
    copy->control = control;
    copy->Resample();
  }
  return target;
}

void TDataBezier::Resample()
{
  // About one sample every four pen widths along the control polygon.
  const int64_t width = std::max(pen.GetWidth(), 1);
  const int64_t length = int64_t{Distance(start, control)} + Distance(end, control);
  const int32_t n = static_cast<int32_t>(std::clamp<int64_t>(length / (4 * width), kMinSteps, kMaxSteps));
  samples.assign(static_cast<size_t>(n) + 2, start);
  samples.back() = end;
  // The inner samples are taken at i / (n + 2), so the last step, to the
  // end, spans two of them: the drawing has always been made this way.
  for (int32_t i = 1; i <= n; ++i) {
    const double t = static_cast<double>(i) / (n + 2);
    const double u = 1 - t;
    const double a = u * u, b = 2 * t * u, c = t * t;
    samples[static_cast<size_t>(i)] = {RoundHalfAway(a * start.x + b * control.x + c * end.x),
                                       RoundHalfAway(a * start.y + b * control.y + c * end.y)};
  }
  TRect bounds(start.x, start.y, start.x, start.y);
  for (const TPoint& p : samples) {
    bounds.left = std::min(bounds.left, p.x);
    bounds.top = std::min(bounds.top, p.y);
    bounds.right = std::max(bounds.right, p.x);
    bounds.bottom = std::max(bounds.bottom, p.y);
  }
  Assign(bounds);
}
