#include "TDataSin.h"

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

namespace {

constexpr uint32_t kMaskA = 0x40000407;
constexpr uint32_t kMaskB = 0x6010;
constexpr int32_t kNewSize = 10;
constexpr int32_t kMinHeight = 2;
// A quarter cycle in radians, to the precision the drawing has always used.
constexpr double kQuarterCycle = 1.5707963;

// The page coordinate of the wave's centre line.
int32_t CentreY(const TRect& r)
{
  return static_cast<int32_t>((int64_t{r.top} + r.bottom) / 2);
}

} // namespace

TDataSin::TDataSin()
{
  classId = kTDataSin;
}

TDataSin::TDataSin(int32_t x, int32_t y, int32_t width, int32_t height) : TDataSin()
{
  Assign(TRect(x, y, SaturateInt32(int64_t{x} + width), SaturateInt32(int64_t{y} + height)));
  Resample();
}

TStreamable* TDataSin::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataSin;
  return PlaceAndSize(*client,
                      [](TPoint p) { return std::make_unique<TDataSin>(p.x, p.y, kNewSize, kNewSize); })
      .release();
}

TInStream& TDataSin::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTDataSin, version))
    return is;
  int32_t storedQuarters = quarters, storedStart = startQuarter;
  is >> storedQuarters >> storedStart;
  if (is) {
    quarters = storedQuarters;
    startQuarter = storedStart;
  }
  EndFirstLine(is, version, kVersion);
  if (version == 0)
    ReadInto(is, pen);
  TData::Read(is);
  Resample();
  return is;
}

TOutStream& TDataSin::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataSin, kVersion);
  os << ' ' << quarters << ' ' << startQuarter << "\n\t";
  return TData::Write(os);
}

bool TDataSin::Contains(int32_t x, int32_t y) const
{
  TRect bounds;
  GetRect(bounds, kRectDrawing);
  if (!bounds.TRect::Contains(x, y) || quarters < 1 || Width() < 1)
    return false;
  const int32_t px = SaturateInt32(int64_t{x} - left);
  const int32_t py = SaturateInt32(int64_t{y} - CentreY(*this));
  const int32_t width = EffectivePenWidth(*this);
  // Only the segments that can come within the pen's reach of the point.
  const int64_t first = std::max<int64_t>(1, int64_t{px} - width - 1);
  const int64_t last = std::min<int64_t>(Width(), int64_t{px} + width + 2);
  for (int64_t i = first; i <= last; ++i)
    if (HitSegment(px, py, SampleAt(i - 1), SampleAt(i), width))
      return true;
  return false;
}

bool TDataSin::Resize(int32_t dx, int32_t dy)
{
  if (TRect::Resize(dx, dy))
    Resample();
  return true;
}

uint32_t TDataSin::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_SINUSOID;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  default:
    return TData::Message(message, a, b, p);
  }
}

bool TDataSin::Paint(TPage* page, uint8_t mode)
{
  if (!BeginPaint(*this, page, mode))
    return false;
  if (WantsBody(mode)) {
    if (quarters < 1 || Width() < 1)
      return false;
    // Quarter cycles closer together than two pen widths make a solid band
    // on this device (every column of it is crossed by the stroke): drawn
    // as such, at the cost of one rectangle instead of strokes over every
    // pixel many times.
    const int64_t pixels = std::abs(int64_t{page->ToDeviceX(Width())});
    const int64_t penPixels = std::max<int64_t>(1, std::abs(int64_t{page->ToDeviceX(pen.GetWidth())}));
    if (pixels < int64_t{quarters} * 2 * penPixels) {
      TBrush band;
      band.SetStyle(TBrush::kSolid);
      band.SetColor(pen.GetColor());
      page->FillRect(left, top, right, bottom, &band);
      page->RestoreDefaults();
    } else {
      PaintWave(page);
    }
  }
  if (WantsHighlight(*this, mode)) {
    BeginHighlight(page);
    page->Rectangle(*this);
    EndHighlight(page);
  }
  return true;
}

void TDataSin::PaintWave(TPage* page) const
{
  {
    const std::vector<TPoint> samples = PaintSamples(*page);
    page->SelectPen(pen);
    int32_t originX = 0, originY = 0;
    page->GetOrigin(originX, originY);
    page->SetOrigin(SaturateInt32(int64_t{originX} + left), SaturateInt32(int64_t{originY} + CentreY(*this)));
    if (samples.size() >= 2)
      page->Polyline(samples.data(), static_cast<int32_t>(samples.size()));
    page->SetOrigin(originX, originY);
    page->RestoreDefaults();
  }
}

uint16_t TDataSin::ContextCommand(TDataOwner* client, uint16_t command)
{
  if (!client)
    return 0;
  command = ChooseCommand(client, command);
  switch (command) {
  case 0:
    return 0;
  case CM_OBJ_CYCLES: {
    TUserInput* input = client->GetInput();
    int32_t value = quarters;
    if (!input ||
        AskInteger(*input, value, 1, kMaxQuarters, LoadStr(IDS_CYCLES_TITLE), LoadStr(IDS_CYCLES_LABEL)) == 0)
      return 0;
    quarters = value;
    Resample();
    return command;
  }
  case CM_OBJ_START_POSITION: {
    // Quadrants are counted from 1 for the user.
    TUserInput* input = client->GetInput();
    int32_t value = startQuarter + 1;
    if (!input || AskInteger(*input, value, 1, kQuadrants, LoadStr(IDS_CYCLE_START_TITLE),
                             LoadStr(IDS_CYCLE_START_LABEL)) == 0)
      return 0;
    startQuarter = value - 1;
    Resample();
    return command;
  }
  default:
    return TData::ContextCommand(client, command);
  }
}

bool TDataSin::Notify(uint16_t command, TRect* p)
{
  if ((command == CM_OBJ_POSITION || command == CM_OBJ_SIZE) && p) {
    Assign(*p);
    Resample();
    return true;
  }
  return TData::Notify(command, p);
}

void TDataSin::GetRect(TRect& out, int32_t mode) const
{
  if (mode == kRectDrawing) {
    out = StrokeBounds(*this);
    return;
  }
  TData::GetRect(out, mode);
}

TData* TDataSin::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataSin;
  TData::Clone(target, argument);
  if (target->IsA(kTDataSin)) {
    auto* copy = static_cast<TDataSin*>(target);
    copy->quarters = quarters;
    copy->startQuarter = startQuarter;
    if (argument == 0)
      copy->Resample();
  }
  return target;
}

void TDataSin::Resample()
{
  if (quarters < 1)
    return;
  if (Width() / quarters < 1) {
    // At least one unit per quarter cycle.
    right = SaturateInt32(int64_t{left} + quarters);
  }
  if (Height() < kMinHeight)
    bottom = SaturateInt32(int64_t{top} + kMinHeight);
}

TPoint TDataSin::SampleAt(int64_t i) const
{
  const double amplitude = Height() * 0.5;
  const double phase = startQuarter * kQuarterCycle;
  const double step = quarters * kQuarterCycle / static_cast<double>(Width());
  // y grows downwards: a wave starting at quadrant 0 first rises.
  return {static_cast<int32_t>(i),
          RoundHalfAway(-std::sin(static_cast<double>(i) * step + phase) * amplitude)};
}

std::vector<TPoint> TDataSin::Samples() const
{
  std::vector<TPoint> samples;
  const int64_t width = Width();
  if (quarters < 1 || width < 1 || width > kMaxSampledWidth)
    return samples;
  samples.reserve(static_cast<size_t>(width) + 1);
  for (int64_t i = 0; i <= width; ++i)
    samples.push_back(SampleAt(i));
  return samples;
}

std::vector<TPoint> TDataSin::PaintSamples(const TPage& page) const
{
  const int64_t width = Width();
  int64_t first = 0, last = width;
  TRect clip;
  if (page.GetClipRect(clip)) {
    first = std::max<int64_t>(first, int64_t{clip.left} - left - 1);
    last = std::min<int64_t>(last, int64_t{clip.right} - left + 1);
  }
  std::vector<TPoint> samples;
  if (first > last)
    return samples;
  // Where a device pixel holds several units, one sample per pixel shows
  // the same; and no device shows more than kMaxPaintSamples.
  const int64_t pixels = std::abs(int64_t{page.ToDeviceX(SaturateInt32(width))});
  int64_t step = pixels > 0 ? std::max<int64_t>(1, width / pixels) : 1;
  step = std::max(step, (last - first) / kMaxPaintSamples + 1);
  samples.reserve(static_cast<size_t>((last - first) / step + 2));
  for (int64_t i = first; i < last; i += step)
    samples.push_back(SampleAt(i));
  samples.push_back(SampleAt(last));
  return samples;
}
