#include "TDataFleche.h"

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

namespace {

constexpr uint32_t kMaskA = 0x40000407;
constexpr uint32_t kMaskB = 0x00000010;

} // namespace

TDataFleche::TDataFleche()
{
  classId = kTDataFleche;
  Recompute();
}

TDataFleche::TDataFleche(int32_t x1, int32_t y1, int32_t x2, int32_t y2) : start{x1, y1}, tip{x2, y2}
{
  classId = kTDataFleche;
  Recompute();
}

TStreamable* TDataFleche::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataFleche;
  return PlaceAndSize(*client,
                      [](TPoint p) -> std::unique_ptr<TData> {
                        return std::make_unique<TDataFleche>(p.x, p.y, p.x, p.y);
                      })
      .release();
}

void TDataFleche::SetHeadSize(int32_t size)
{
  headSize = size;
  Recompute();
}

void TDataFleche::Recompute()
{
  // The head opens around the direction back along the shaft.
  barb1 = PointToward(tip, start, headSize, kHeadAngle);
  barb2 = PointToward(tip, start, headSize, -kHeadAngle);
  const TPoint points[4] = {start, barb1, barb2, tip};
  TRect bounds;
  TPolygone(4, points).GetBounds(bounds);
  Assign(bounds);
}

TInStream& TDataFleche::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTDataFleche, version))
    return is;
  int32_t size = headSize;
  TPoint s = start, t = tip;
  is >> size >> s.x >> s.y >> t.x >> t.y;
  if (is) {
    headSize = size;
    start = s;
    tip = t;
  }
  EndFirstLine(is, version, kVersion);
  TData::Read(is);
  Recompute();
  return is;
}

TOutStream& TDataFleche::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataFleche, kVersion);
  os << ' ' << headSize << ' ' << start.x << ' ' << start.y << ' ' << tip.x << ' ' << tip.y << '\n' << '\t';
  return TData::Write(os);
}

bool TDataFleche::Contains(int32_t x, int32_t y) const
{
  if (!TRect::Contains(x, y))
    return false;
  const int32_t width = EffectivePenWidth(*this);
  return HitSegment(x, y, start, tip, width) || HitSegment(x, y, tip, barb1, width) ||
         HitSegment(x, y, tip, barb2, width);
}

bool TDataFleche::Offset(int32_t dx, int32_t dy)
{
  start = OffsetPoint(start, dx, dy);
  tip = OffsetPoint(tip, dx, dy);
  Recompute();
  return true;
}

bool TDataFleche::Resize(int32_t dx, int32_t dy)
{
  tip = OffsetPoint(tip, dx, dy);
  Recompute();
  return true;
}

uint32_t TDataFleche::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_ARROW;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  case MSG_MAY_RESIZE:
    // Sizing moves the tip alone.
    return MayMoveEndPoint(tip, a, b, p);
  default:
    return TData::Message(message, a, b, p);
  }
}

bool TDataFleche::Paint(TPage* page, uint8_t mode)
{
  if (!BeginPaint(*this, page, mode))
    return false;
  if (WantsBody(mode)) {
    page->SelectPen(pen);
    page->Line(start.x, start.y, tip.x, tip.y);
    page->Line(tip.x, tip.y, barb1.x, barb1.y);
    page->Line(tip.x, tip.y, barb2.x, barb2.y);
    page->RestoreDefaults();
  }
  if (WantsHighlight(*this, mode)) {
    BeginHighlight(page);
    page->Line(start.x, start.y, tip.x, tip.y);
    DrawDragCross(*this, page, start, tip);
    EndHighlight(page);
  }
  return true;
}

bool TDataFleche::Notify(uint16_t command, TRect* p)
{
  const auto* edited = dynamic_cast<const TDataFleche*>(p);
  if (edited && (command == CM_OBJ_POSITION || command == CM_OBJ_SIZE)) {
    start = edited->start;
    tip = edited->tip;
    Recompute();
    return true;
  }
  return TData::Notify(command, p);
}

void TDataFleche::GetRect(TRect& out, int32_t mode) const
{
  // Mode 9 stays the base's: an arrow's readout is its position and size.
  if (mode == kRectEndPoints || !EndPointRect(*this, start, tip, mode, out))
    TData::GetRect(out, mode);
}

void TDataFleche::SetRect(const TRect& r, int32_t mode)
{
  switch (mode) {
  case kRectFrame:
    // A rectangle given as a whole is the tail and the tip, as for a line;
    // taking it as the bounds would leave them behind.
    start = {r.left, r.top};
    tip = {r.right, r.bottom};
    Recompute();
    break;
  case kRectPosition:
    // The position of an arrow is its tail.
    MovePositionTo(r.left, r.top);
    break;
  default:
    TData::SetRect(r, mode);
    break;
  }
}

TData* TDataFleche::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataFleche;
  TData::Clone(target, argument);
  if (auto* arrow = dynamic_cast<TDataFleche*>(target)) {
    arrow->start = start;
    arrow->tip = tip;
    arrow->headSize = headSize;
    arrow->Recompute();
  }
  return target;
}
