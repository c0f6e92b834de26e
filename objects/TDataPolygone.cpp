#include "TDataPolygone.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectPaint.h"
#include "StringTable.h"
#include "TClient.h"
#include "TDataLine.h"
#include "TPage.h"
#include "TUserInput.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr uint32_t kMaskA = 0x50800407;
constexpr uint32_t kMaskB = 0x480010;
constexpr uint16_t kMinimumClosed = 3;
constexpr uint16_t kMinimumOpen = 2;
// The point entry's DELETE key never takes the list below this.
constexpr uint16_t kMinimumAfterDelete = 2;
constexpr size_t kAngleInfoRoom = 125;
constexpr size_t kAreaTextLength = 98;

// (k * dx) / dy truncated toward zero, for 0 <= k < dy: the x offset at
// which a scan line crosses an edge. The quotient is smaller than |dx|, and
// it is taken in two parts so that no product can overflow, whatever the
// coordinates.
int64_t EdgeCrossing(int64_t k, int64_t dx, int64_t dy)
{
  const uint64_t m = dx < 0 ? 0 - static_cast<uint64_t>(dx) : static_cast<uint64_t>(dx);
  const uint64_t d = static_cast<uint64_t>(dy);
  const uint64_t n = static_cast<uint64_t>(k);
  const uint64_t q = n * (m / d) + n * (m % d) / d;
  return dx < 0 ? -static_cast<int64_t>(q) : static_cast<int64_t>(q);
}

bool IsPointEntry(uint16_t command)
{
  return command == CM_OBJ_ADD_DELETE_POINTS || command == CM_TRACK_SIZE_2;
}

} // namespace

TDataPolygone::TDataPolygone()
{
  classId = kTDataPolygone;
}

TDataPolygone::TDataPolygone(const TPoint* points, uint16_t count) : TDataPolygone()
{
  if (points && count > 0 && vertices.SetCapacity(count))
    vertices.SetPoints(points, count);
  UpdateBounds();
}

TStreamable* TDataPolygone::Create(TDataOwner* client, int32_t)
{
  auto polygon = std::make_unique<TDataPolygone>();
  return client ? EnterNew(client, std::move(polygon)) : polygon.release();
}

TStreamable* TDataPolygone::EnterNew(TDataOwner* client, std::unique_ptr<TDataPolygone> object)
{
  int32_t x = 0, y = 0;
  if (client->GetPosition(x, y) != TDataOwner::kPointGiven)
    return nullptr;
  const TPoint first{x, y};
  if (!object->vertices.SetCapacity(1) || !object->vertices.SetPoints(&first, 1))
    return nullptr;
  object->UpdateBounds();
  object->SetLayers(client->GetLayers());
  if (object->ContextCommand(client, CM_TRACK_SIZE_2) == 0)
    return nullptr;
  return object.release();
}

TInStream& TDataPolygone::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTDataPolygone, version))
    return is;
  EndFirstLine(is, version, kVersion);
  ReadInto(is, vertices);
  if (version == 0) {
    // The first records carried their own pen and brush.
    ReadInto(is, pen);
    ReadInto(is, brush);
  }
  TData::Read(is);
  selection.clear();
  UpdateBounds();
  return is;
}

TOutStream& TDataPolygone::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataPolygone, kVersion);
  os << '\n';
  WriteNested(os, vertices);
  os << '\t';
  return TData::Write(os);
}

bool TDataPolygone::IsA(int32_t id) const
{
  return id == kTDataPolygone || TData::IsA(id);
}

bool TDataPolygone::Contains(int32_t x, int32_t y) const
{
  TRect bounds;
  GetRect(bounds, kRectDrawing);
  if (!bounds.TRect::Contains(x, y))
    return false;
  const uint16_t count = vertices.Count();
  if (count == 0)
    return false;
  const TPoint* v = vertices.Points();
  const int32_t width = EffectivePenWidth(*this);
  const bool closed = !IsOpen();
  const uint16_t edges = closed ? count : count - 1;
  bool inside = false;
  for (uint16_t i = 0; i < edges; ++i) {
    TPoint a = v[i];
    TPoint b = v[(i + 1) % count];
    if (HitSegment(x, y, a, b, width))
      return true;
    if (!closed)
      continue;
    // Even-odd rule: count the edges crossed by the scan line left of the
    // point. Each edge is taken downward, its lower end excluded, so a
    // vertex on the scan line counts once and horizontal edges never.
    if (a.y > b.y)
      std::swap(a, b);
    if (a.y <= y && y < b.y) {
      const int64_t crossing = EdgeCrossing(int64_t{y} - a.y, int64_t{b.x} - a.x, int64_t{b.y} - a.y) + a.x;
      if (crossing < x)
        inside = !inside;
    }
  }
  return inside;
}

bool TDataPolygone::Offset(int32_t dx, int32_t dy)
{
  for (uint16_t i = 0; i < vertices.Count(); ++i) {
    TPoint p;
    vertices.GetPoint(i, p);
    vertices.SetPoint(i, OffsetPoint(p, dx, dy));
  }
  UpdateBounds();
  return true;
}

bool TDataPolygone::Resize(int32_t dx, int32_t dy)
{
  if (selection.empty())
    return false;
  MoveSelected(vertices, dx, dy);
  UpdateBounds();
  return true;
}

void TDataPolygone::MoveSelected(TPolygone& points, int32_t dx, int32_t dy) const
{
  for (uint16_t i = 0; i < points.Count(); ++i) {
    if (!IsSelected(i))
      continue;
    TPoint p;
    points.GetPoint(i, p);
    points.SetPoint(i, OffsetPoint(p, dx, dy));
  }
}

uint32_t TDataPolygone::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_POLYGON;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  case MSG_MAY_RESIZE: {
    // Sizing moves the selected vertices: the polygon they make must stay
    // inside p.
    if (!p || selection.empty())
      return 0;
    TPolygone moved = vertices;
    MoveSelected(moved, a, b);
    TRect bounds;
    moved.GetBounds(bounds);
    return bounds.IsInside(*static_cast<const TRect*>(p)) ? 1 : 0;
  }
  default:
    return TData::Message(message, a, b, p);
  }
}

void TDataPolygone::DrawOutline(TPage* page, bool closed) const
{
  if (closed)
    page->Polygon(vertices.Points(), vertices.Count());
  else
    page->Polyline(vertices.Points(), vertices.Count());
}

bool TDataPolygone::Paint(TPage* page, uint8_t mode)
{
  if (!BeginPaint(*this, page, mode))
    return false;
  const uint16_t count = vertices.Count();
  if (WantsBody(mode) && count > 0) {
    page->SelectPen(pen);
    if (!IsOpen())
      page->SelectBrush(brush);
    DrawOutline(page, !IsOpen());
    page->RestoreDefaults();
  }
  if (WantsHighlight(*this, mode) && count > 0) {
    BeginHighlight(page);
    // A closed outline of two vertices is its one edge there and back:
    // it is drawn once, open, so that exclusive-or drawing shows it.
    DrawOutline(page, !IsOpen() && count != 2);
    if (IsPointEntry(page->GetDragMode()) && count >= 2) {
      TPoint last;
      vertices.GetPoint(count - 1, last);
      DrawReferenceCross(page, last.x, last.y);
    }
    EndHighlight(page);
  }
  return true;
}

uint16_t TDataPolygone::ContextCommand(TDataOwner* client, uint16_t command)
{
  if (!client)
    return 0;
  command = ChooseCommand(client, command);
  switch (command) {
  case 0:
    return 0;
  case CM_OBJ_INFORMATIONS:
    // Only shows the area: nothing changed, so nothing to record.
    if (!IsOpen())
      ShowArea(client);
    return 0;
  case CM_OBJ_EXCHANGE_ENDS:
    ReversePoints();
    Notify(command, nullptr);
    return command;
  case CM_OBJ_SIZE:
    return MoveSurroundedPoints(client);
  case CM_OBJ_ADD_DELETE_POINTS:
  case CM_TRACK_SIZE_2:
    return EnterPoints(client, command);
  default:
    return TData::ContextCommand(client, command);
  }
}

uint16_t TDataPolygone::EnterPoints(TDataOwner* client, uint16_t command)
{
  const uint16_t count = vertices.Count();
  if (count == 0)
    return 0;
  const uint16_t minimum = IsOpen() ? kMinimumOpen : kMinimumClosed;
  // A list read from a file may already be longer than the entry allows:
  // it keeps every vertex and gets room for the rubber band.
  const auto room = static_cast<uint16_t>(
      std::clamp<int32_t>(count + 1, kMaxEnteredPoints, std::numeric_limits<uint16_t>::max()));
  std::unique_ptr<TDataPolygone> copy(static_cast<TDataPolygone*>(Clone(nullptr, 0)));
  if (!copy->SetCapacity(room) || !copy->AddPoint())
    return 0;
  copy->SelectLastPoint();

  // The last vertex of the copy follows the pointer (the rubber band) until
  // a click fixes it and a new one is appended.
  bool rubberBand = true;
  for (bool entering = true; entering;) {
    switch (client->TrackObject(copy.get(), command, nullptr)) {
    case TDataOwner::kTrackReleased:
    // A vertex typed with SPACEBAR is fixed like a clicked one, or ENTER
    // would drop it with the rubber band.
    case TDataOwner::kTrackTyped:
      if (copy->AddPoint()) {
        copy->SelectLastPoint();
      } else {
        // The list is full: the vertex just fixed is the last one.
        rubberBand = false;
        entering = false;
      }
      break;
    case TDataOwner::kTrackDelete:
      if (copy->vertices.Count() > kMinimumAfterDelete) {
        copy->RemoveLastPoint();
        copy->SelectLastPoint();
      }
      break;
    case TDataOwner::kTrackEnter:
      entering = false;
      break;
    case TDataOwner::kTrackCancelled:
      if (copy->vertices.Count() <= minimum)
        return 0;
      entering = false;
      break;
    default:
      break;
    }
  }
  // The rubber band is dropped unless it is needed to reach the minimum,
  // or the list is full.
  const uint16_t entered = copy->vertices.Count();
  if (rubberBand && entered > minimum && entered < copy->vertices.Capacity())
    copy->RemoveLastPoint();
  copy->SetCapacity(copy->vertices.Count());
  Notify(command, copy.get());
  return command;
}

uint16_t TDataPolygone::MoveSurroundedPoints(TDataOwner* client)
{
  TRect area;
  if (client->GetRectangle(area, LoadStr(IDS_SURROUND_POINTS), 0) != 1)
    return 0;
  std::unique_ptr<TDataPolygone> copy(static_cast<TDataPolygone*>(Clone(nullptr, 0)));
  if (copy->SelectPoints(area) == 0)
    return 0;
  if (client->TrackObject(copy.get(), CM_OBJ_SIZE, this) == TDataOwner::kTrackCancelled)
    return 0;
  Notify(CM_OBJ_SIZE, copy.get());
  return CM_OBJ_SIZE;
}

void TDataPolygone::ShowArea(TDataOwner* client) const
{
  TUserInput* input = client->GetInput();
  if (!input)
    return;
  const std::string area = CutText(client->FormatArea(Area()), kAreaTextLength);
  input->MessageBox(std::string(LoadStr(IDS_AREA_IS)) + " " + area, LoadStr(IDS_INFORMATIONS_TITLE),
                    MB_OK_ | MB_ICONINFORMATION_);
}

bool TDataPolygone::Notify(uint16_t command, TRect* p)
{
  switch (command) {
  case CM_OBJ_POSITION:
  case CM_OBJ_SIZE:
  case CM_OBJ_ADD_DELETE_POINTS:
  case CM_TRACK_SIZE_2:
    if (p && p->IsA(kTDataPolygone)) {
      vertices = static_cast<const TDataPolygone*>(p)->vertices;
      selection.clear();
      UpdateBounds();
      return true;
    }
    return TData::Notify(command, p);
  default:
    return TData::Notify(command, p);
  }
}

void TDataPolygone::GetRect(TRect& out, int32_t mode) const
{
  const uint16_t count = vertices.Count();
  switch (mode) {
  case kRectPosition:
    // The position of a polygon is its first vertex.
    if (count == 0) {
      TData::GetRect(out, mode);
    } else {
      TPoint first;
      vertices.GetPoint(0, first);
      out.left = first.x;
      out.top = first.y;
      out.right = Width();
      out.bottom = Height();
    }
    break;
  case kRectDrawing:
    out = StrokeBounds(*this);
    break;
  case kRectEndPoints:
  case kRectLastSegment: {
    // The last edge, as two points (mode 9) or a point and a displacement
    // (mode 10).
    if (count < 2) {
      out.Assign(*this);
      break;
    }
    TPoint a, b;
    vertices.GetPoint(count - 2, a);
    vertices.GetPoint(count - 1, b);
    out.left = a.x;
    out.top = a.y;
    out.right = mode == kRectEndPoints ? b.x : SaturateInt32(int64_t{b.x} - a.x);
    out.bottom = mode == kRectEndPoints ? b.y : SaturateInt32(int64_t{b.y} - a.y);
    break;
  }
  default:
    TData::GetRect(out, mode);
    break;
  }
}

void TDataPolygone::SetRect(const TRect& r, int32_t mode)
{
  if (mode == kRectPosition)
    MovePositionTo(r.left, r.top);
}

TData* TDataPolygone::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataPolygone;
  TData::Clone(target, argument);
  if (target->IsA(kTDataPolygone)) {
    auto* copy = static_cast<TDataPolygone*>(target);
    copy->vertices = vertices;
    copy->selection.clear();
    copy->UpdateBounds();
  }
  return target;
}

bool TDataPolygone::ShowInfo(TDataOwner* client, const TData* reference, uint16_t flags)
{
  const TPage* page = client ? client->GetPage() : nullptr;
  const uint16_t count = vertices.Count();
  if (!page || !IsPointEntry(page->GetDragMode()) || count < 2)
    return TData::ShowInfo(client, reference, flags);
  // While vertices are entered: the last edge, and which way it points.
  std::string text;
  if (!RectInfoText(client, reference, kRectEndPoints, text))
    return false;
  if (text.size() < kAngleInfoRoom) {
    TPoint a, b;
    vertices.GetPoint(count - 2, a);
    vertices.GetPoint(count - 1, b);
    text += FormatStr(IDS_INFO_ANGLE, TDataLine(a.x, a.y, b.x, b.y).Angle());
  }
  // A command that takes any number of points: say how it ends.
  text += LoadStr(IDS_POINT_ENTRY_HINT);
  client->SetStatusText(text);
  return true;
}

bool TDataPolygone::IsSelected(uint16_t index) const
{
  return index < selection.size() && selection[index] != 0;
}

uint16_t TDataPolygone::SelectPoints(const TRect& r)
{
  selection.assign(vertices.Count(), 0);
  uint16_t selected = 0;
  for (uint16_t i = 0; i < vertices.Count(); ++i) {
    TPoint p;
    vertices.GetPoint(i, p);
    if (r.TRect::Contains(p.x, p.y)) {
      selection[i] = 1;
      ++selected;
    }
  }
  return selected;
}

void TDataPolygone::SelectLastPoint()
{
  selection.assign(vertices.Count(), 0);
  if (!selection.empty())
    selection.back() = 1;
}

bool TDataPolygone::AddPoint()
{
  if (!vertices.AppendCopyOfLast())
    return false;
  if (!selection.empty())
    selection.push_back(0);
  UpdateBounds();
  return true;
}

bool TDataPolygone::RemoveLastPoint()
{
  if (!vertices.RemoveLast())
    return false;
  if (!selection.empty())
    selection.pop_back();
  UpdateBounds();
  return true;
}

void TDataPolygone::ReversePoints()
{
  vertices.Reverse();
  std::reverse(selection.begin(), selection.end());
}

bool TDataPolygone::SetCapacity(uint16_t n)
{
  const bool done = vertices.SetCapacity(n);
  if (selection.size() > vertices.Count())
    selection.resize(vertices.Count());
  UpdateBounds();
  return done;
}

double TDataPolygone::Area() const
{
  const uint16_t count = vertices.Count();
  if (count < 3)
    return 0;
  const TPoint* v = vertices.Points();
  double sum = 0;
  for (uint16_t i = 0; i < count; ++i) {
    const TPoint& a = v[i];
    const TPoint& b = v[(i + 1) % count];
    sum += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
  }
  return std::fabs(sum) / 2;
}

void TDataPolygone::UpdateBounds()
{
  TRect bounds;
  vertices.GetBounds(bounds);
  Assign(bounds);
}
