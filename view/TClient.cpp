#include "TClient.h"
#include "PageBinding.h"

#include "ClassTable.h"
#include "Colors.h"
#include "CommandIds.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectStream.h"
#include "StringTable.h"
#include "TDataContainer.h"
#include "TInStream.h"
#include "TOutStream.h"
#include "TUserInput.h"
#include "TextEncoding.h"
#include "ValueFormat.h"
#include "WaitCursor.h"
#include "WorkMonitor.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr const char* kClientSection = "VEKT TClient";
constexpr const char* kSnapSection = "VEKT Snap";
constexpr int32_t kClientSectionVersion = 1;
// Mask B bit of the "Layer" entry: a page view takes an active-layer mask.
constexpr uint32_t kMaskLayer = 0x10;
constexpr size_t kCoordinateLength = 31;
// How far Fit Page may step from the proportional zoom to the one that fits.
constexpr int kMaxFitSteps = 50;
// What a page view uses for its numbers when it has no page.
constexpr float kDefaultUnitFactor = 0.01f;

// The nearest multiple of step, halves away from zero.
int32_t RoundToStep(int32_t v, int32_t step)
{
  const int64_t half = step / 2;
  const int64_t n = v >= 0 ? (int64_t{v} + half) / step : (int64_t{v} - half) / step;
  return SaturateInt32(n * step);
}

// value + remainder cut toward zero to a multiple of step; the rest is the
// new remainder. A step below 2 passes the sum through.
int32_t CutToStep(int32_t value, int32_t& remainder, int32_t step)
{
  const int64_t sum = int64_t{value} + remainder;
  if (step < 2) {
    remainder = 0;
    return SaturateInt32(sum);
  }
  const int64_t snapped = sum / step * step;
  remainder = static_cast<int32_t>(sum - snapped);
  return SaturateInt32(snapped);
}

bool InStepRange(int32_t v)
{
  return v >= TClient::kMinStep && v <= TClient::kMaxStep;
}

TDataContainer* AsCarrier(const TData* object)
{
  if (!object || !object->IsA(kTDataGroup))
    return nullptr;
  return dynamic_cast<TDataContainer*>(const_cast<TData*>(object));
}

} // namespace

TClient::TClient() : page(std::make_unique<TPage>())
{
  classId = kTClient;
  page->CopyPaperSettings(DefaultPage());
}

TClient::~TClient()
{
  ClearObjects();
}

bool TClient::IsA(int32_t id) const
{
  return id == kTClient || TVue::IsA(id);
}

uint32_t TClient::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_MASK_B:
    return kMaskLayer;
  case MSG_SET_STATUS:
    return SetStatusText(p ? static_cast<const char*>(p) : "") ? 1 : 0;
  case CM_ZOOM_25:
    return SetZoom(25);
  case CM_ZOOM_50:
    return SetZoom(50);
  case CM_ZOOM_100:
    return SetZoom(100);
  case CM_ZOOM_200:
    return SetZoom(200);
  case CM_ZOOM_400:
    return SetZoom(400);
  case CM_ZOOM_FIT_PAGE:
    return ZoomToFit(false);
  case CM_ZOOM_FIT_WIDTH:
    return ZoomToFit(true);
  case CM_REDRAW:
    InvalidateWindow();
    return 1;
  case CM_PAGE_COLOR: {
    // "None" leaves the page without a colour of its own: it shows white.
    uint32_t colour = GetColor(1);
    if (!input || !input->ChooseColor(colour, true))
      return 0;
    SetColor(1, colour);
    SetModified(true);
    InvalidateWindow();
    return 1;
  }
  default:
    return TVue::Message(message, a, b, p);
  }
}

void TClient::SetFlags(uint16_t bits, bool on)
{
  if (on)
    flags |= bits;
  else
    flags &= static_cast<uint16_t>(~bits);
}

// ---- objects ----

int32_t TClient::AddObject(TData* object, bool redraw)
{
  if (!object)
    return 0;
  if (TDataContainer* carrier = AsCarrier(object)) {
    int32_t added = 0;
    for (int32_t i = 0; i < carrier->ChildCount(); ++i) {
      TData* child = carrier->ChildAt(i);
      if (!child || objects.Contains(child) || !objects.Append(child))
        continue;
      child->SetOwner(this);
      if (redraw)
        InvalidateObject(child);
      ++added;
    }
    return added;
  }
  if (objects.Contains(object) || !objects.Append(object))
    return 0;
  object->SetOwner(this);
  if (redraw)
    InvalidateObject(object);
  return 1;
}

int32_t TClient::AddNewObject(TData* object, bool redraw)
{
  if (!object || AsCarrier(object))
    return AddObject(object, redraw);
  if (!objects.Append(object))
    return 0;
  object->SetOwner(this);
  if (redraw)
    InvalidateObject(object);
  return 1;
}

int32_t TClient::RemoveObject(TData* object, bool redraw)
{
  if (!object)
    return 0;
  auto removeOne = [this, redraw](TData* item) {
    const int32_t index = objects.IndexOf(item);
    if (index < 0)
      return 0;
    objects.RemoveAt(index);
    if (redraw)
      InvalidateObject(item);
    return 1;
  };
  if (TDataContainer* carrier = AsCarrier(object)) {
    int32_t removed = 0;
    for (int32_t i = 0; i < carrier->ChildCount(); ++i)
      removed += removeOne(carrier->ChildAt(i));
    return removed;
  }
  return removeOne(object);
}

bool TClient::ContainsObject(const TData* object) const
{
  if (!object)
    return false;
  if (const TDataContainer* carrier = AsCarrier(object)) {
    if (carrier->ChildCount() == 0)
      return false;
    for (int32_t i = 0; i < carrier->ChildCount(); ++i) {
      if (!objects.Contains(carrier->ChildAt(i)))
        return false;
    }
    return true;
  }
  return objects.Contains(object);
}

void TClient::ClearObjects()
{
  for (TData* object : objects) {
    if (!object->TestState(TData::kNotOwned))
      delete object;
  }
  objects.Clear();
}

std::vector<TData*> TClient::ObjectOrder() const
{
  return std::vector<TData*>(objects.begin(), objects.end());
}

void TClient::RestoreObjectOrder(const std::vector<TData*>& order)
{
  objects.Clear();
  objects.Reserve(static_cast<int32_t>(order.size()));
  for (TData* object : order) {
    if (object && objects.Append(object))
      object->SetOwner(this);
  }
  InvalidateWindow();
}

TData* TClient::ObjectAt(int32_t, int32_t)
{
  return nullptr;
}

// ---- units ----

double TClient::UnitFactor() const
{
  // The factor is stored as a float, whose binary value lies just beside the
  // decimal the user typed (0.01f is 0.0099999998). Computing with that value
  // would show 100 units at 0.01 as 0.99999998 inch, i.e. 63/64", so convert
  // through the float's shortest decimal form.
  const float f = page ? page->GetUnitFactor() : kDefaultUnitFactor;
  char buf[32];
  const auto written = std::to_chars(buf, buf + sizeof buf, f);
  double value = f;
  std::from_chars(buf, written.ptr, value);
  return value;
}

double TClient::ToUser(int32_t v) const
{
  return v * UnitFactor();
}

int32_t TClient::FromUser(double u) const
{
  const double factor = UnitFactor();
  if (factor == 0)
    return 0;
  return RoundHalfAway(u / factor);
}

double TClient::ToUserArea(double area) const
{
  const double factor = UnitFactor();
  return area * factor * factor;
}

std::string TClient::FormatLength(int32_t v, int32_t width, bool relative) const
{
  const double value = ToUser(v);
  uint16_t format = page ? page->GetNumberFormat() : uint16_t{TPage::kFormatDecimal};
  if (relative)
    format |= kFormatPlusSign;
  const int32_t decimals = page ? std::clamp(page->GetDecimals(), 0, 255) : 0;
  return FormatValue(&value, kTypeDouble, format, MakePrecision(decimals, std::clamp(width, 0, 255)));
}

std::string TClient::FormatX(int32_t v, int32_t width) const
{
  return FormatLength(SaturateInt32(int64_t{v} - userOriginX), width);
}

std::string TClient::FormatY(int32_t v, int32_t width) const
{
  return FormatLength(SaturateInt32(int64_t{v} - userOriginY), width);
}

std::string TClient::FormatArea(double area, int32_t width) const
{
  double value = ToUserArea(area);
  const uint16_t format = page ? page->GetNumberFormat() : uint16_t{TPage::kFormatDecimal};
  const int32_t decimals = page ? std::clamp(page->GetDecimals(), 0, 255) : 0;
  const uint16_t precision = MakePrecision(decimals, std::clamp(width, 0, 255));
  if (format == TPage::kFormatFeetInches) {
    // Square inches shown as square feet.
    value /= 144.0;
    return FormatValue(&value, kTypeDouble, TPage::kFormatDecimal, precision) + "'";
  }
  return FormatValue(&value, kTypeDouble, format, precision);
}

bool TClient::AskPoint(const char* title, int32_t& x, int32_t& y)
{
  if (!input)
    return false;
  const int32_t decimals = page ? page->GetDecimals() : 0;
  const uint16_t format = page ? page->GetNumberFormat() : uint16_t{TPage::kFormatDecimal};
  std::vector<TUserInput::ValueField> fields(2);
  fields[0] = {LoadStr(IDS_LABEL_X), ToUser(x), decimals, format};
  fields[1] = {LoadStr(IDS_LABEL_Y), ToUser(y), decimals, format};
  if (!input->AskValues(title ? title : "", fields) || fields.size() != 2)
    return false;
  x = FromUser(fields[0].value);
  y = FromUser(fields[1].value);
  return true;
}

// ---- grid and snap ----

void TClient::SetGridShown(bool shown, bool redraw)
{
  if (shown)
    snapFlags |= kGridShown;
  else
    snapFlags &= static_cast<uint16_t>(~kGridShown);
  // The window shows the page from a cache rendered with the grid, so the
  // dots appear or disappear with a repaint of the page.
  if (redraw)
    InvalidateWindow();
}

void TClient::SetSnapOn(bool on)
{
  if (on)
    snapFlags |= kSnapOn;
  else
    snapFlags &= static_cast<uint16_t>(~kSnapOn);
}

void TClient::SuspendSnap(bool suspend)
{
  if (suspend)
    snapFlags |= kSnapSuspended;
  else
    snapFlags &= static_cast<uint16_t>(~kSnapSuspended);
}

bool TClient::IsSnapActive() const
{
  return (snapFlags & kSnapOn) && !(snapFlags & kSnapSuspended);
}

void TClient::SetGridStep(int32_t x, int32_t y, bool redraw)
{
  if (InStepRange(x))
    gridStepX = x;
  if (InStepRange(y))
    gridStepY = y;
  if (redraw && IsGridShown())
    InvalidateWindow();
}

void TClient::SetSnapStep(int32_t x, int32_t y)
{
  if (InStepRange(x))
    snapStepX = x;
  if (InStepRange(y))
    snapStepY = y;
}

void TClient::SnapPoint(int32_t& x, int32_t& y) const
{
  if (snapStepX < 2 || snapStepY < 2)
    return;
  x = RoundToStep(x, snapStepX);
  y = RoundToStep(y, snapStepY);
}

bool TClient::SnapDelta(int32_t& dx, int32_t& dy, int32_t& remainderX, int32_t& remainderY) const
{
  dx = CutToStep(dx, remainderX, snapStepX);
  dy = CutToStep(dy, remainderY, snapStepY);
  return dx != 0 || dy != 0;
}

// ---- origin and last click ----

void TClient::SetOrigin(int32_t x, int32_t y)
{
  userOriginX = x;
  userOriginY = y;
  PostToSelf(MSG_REFRESH_READOUT, 0, 0);
}

TPoint& TClient::LastClick()
{
  static TPoint point;
  return point;
}

bool& TClient::RightButtonCancels()
{
  static bool cancels = true;
  return cancels;
}

// ---- zoom and scrolling ----

bool TClient::SetZoom(int32_t percent)
{
  if ((flags & kZoomLocked) || !page || percent < 1)
    return false;
  percent = std::min(percent, kMaxZoom);
  if (percent == page->GetZoom())
    return false;
  page->SetZoom(percent);
  RecomputeView();
  InvalidateWindow();
  return true;
}

bool TClient::ZoomToFit(bool widthOnly)
{
  if (!page || (flags & kZoomLocked))
    return false;
  const int32_t before = page->GetZoom();
  auto fitsAt = [&](int64_t zoom) {
    SetZoom(static_cast<int32_t>(zoom));
    return page->GetViewWidth() >= page->GetPaperWidth() &&
           (widthOnly || page->GetViewHeight() >= page->GetPaperHeight());
  };
  // The view's size in page units goes inversely with the zoom, give or
  // take the rounding to whole units and a scroll bar that comes or goes:
  // start from the proportion, then step to the largest zoom that fits.
  const int64_t zoom = before;
  int64_t fit = zoom * page->GetViewWidth() / std::max(1, page->GetPaperWidth());
  if (!widthOnly)
    fit = std::min(fit, zoom * page->GetViewHeight() / std::max(1, page->GetPaperHeight()));
  fit = std::clamp<int64_t>(fit, 1, kMaxZoom);
  for (int step = 0; step < kMaxFitSteps && fit > 1 && !fitsAt(fit); ++step)
    --fit;
  for (int step = 0; step < kMaxFitSteps && fit < kMaxZoom && fitsAt(fit + 1); ++step)
    ++fit;
  SetZoom(static_cast<int32_t>(fit));
  return page->GetZoom() != before;
}

int32_t TClient::GetZoom() const
{
  return page ? page->GetZoom() : 100;
}

int32_t TClient::ScrollAxis(int32_t position, int32_t view, int32_t paper, int32_t step, int32_t code,
                            int32_t value) const
{
  if (view >= paper)
    return position;
  int64_t change = 0;
  switch (code) {
  case kLineUp:
    change = -int64_t{step};
    break;
  case kLineDown:
    change = step;
    break;
  case kPageUp:
    change = -int64_t{view};
    break;
  case kPageDown:
    change = view;
    break;
  case kThumbPosition:
    change = int64_t{value} * step - position;
    break;
  case kTop:
    change = -int64_t{position};
    break;
  case kBottom:
    change = int64_t{paper} - view - position;
    break;
  case kAbsolute:
    change = int64_t{value} - position;
    break;
  case kRelative:
    change = value;
    break;
  default:
    return position;
  }
  int64_t next = position + change;
  if (next < 0)
    next = 0;
  if (next + view > paper)
    next = int64_t{paper} - view;
  return static_cast<int32_t>(next);
}

bool TClient::Scroll(int32_t bar, int32_t code, int32_t value)
{
  if (!page)
    return false;
  const int32_t oldX = page->GetScrollX();
  const int32_t oldY = page->GetScrollY();
  int32_t x = oldX, y = oldY;
  int32_t stepX, stepY;
  page->GetScrollStep(stepX, stepY);
  if (bar == kHorizontal)
    x = ScrollAxis(oldX, page->GetViewWidth(), page->GetPaperWidth(), stepX, code, value);
  else if (bar == kVertical)
    y = ScrollAxis(oldY, page->GetViewHeight(), page->GetPaperHeight(), stepY, code, value);
  if (x == oldX && y == oldY)
    return false;
  page->SetScroll(x, y);
  if (input)
    input->ScrollChanged(this, page->ToDeviceX(x - oldX), page->ToDeviceY(y - oldY));
  return true;
}

bool TClient::ScrollByKey(uint32_t key, bool control)
{
  switch (key) {
  case VK_PRIOR_:
    Scroll(kVertical, kPageUp, 0);
    return true;
  case VK_NEXT_:
    Scroll(kVertical, kPageDown, 0);
    return true;
  case VK_HOME_:
    Scroll(kVertical, kTop, 0);
    return true;
  case VK_END_:
    Scroll(kVertical, kBottom, 0);
    return true;
  case VK_UP_:
    Scroll(kVertical, kLineUp, 0);
    return true;
  case VK_DOWN_:
    Scroll(kVertical, kLineDown, 0);
    return true;
  case VK_LEFT_:
    Scroll(kHorizontal, control ? kPageUp : kLineUp, 0);
    return true;
  case VK_RIGHT_:
    Scroll(kHorizontal, control ? kPageDown : kLineDown, 0);
    return true;
  default:
    return false;
  }
}

bool TClient::HasScrollBar(int32_t bar) const
{
  if (!page || !(flags & kScrollBarsFollowPage))
    return false;
  if (bar == kHorizontal)
    return page->GetViewWidth() < page->GetPaperWidth();
  return bar == kVertical && page->GetViewHeight() < page->GetPaperHeight();
}

int32_t TClient::GetScrollRange(int32_t bar) const
{
  if (!page)
    return 0;
  int32_t stepX, stepY;
  page->GetScrollStep(stepX, stepY);
  const int32_t step = bar == kHorizontal ? stepX : stepY;
  const int32_t paper = bar == kHorizontal ? page->GetPaperWidth() : page->GetPaperHeight();
  return step >= 1 ? paper / step : 0;
}

int32_t TClient::GetScrollThumb(int32_t bar) const
{
  if (!page)
    return 0;
  int32_t stepX, stepY;
  page->GetScrollStep(stepX, stepY);
  const bool horizontal = bar == kHorizontal;
  const int32_t step = horizontal ? stepX : stepY;
  const int32_t position = horizontal ? page->GetScrollX() : page->GetScrollY();
  const int32_t view = horizontal ? page->GetViewWidth() : page->GetViewHeight();
  const int32_t paper = horizontal ? page->GetPaperWidth() : page->GetPaperHeight();
  if (position < 1 || step < 1)
    return 0;
  if (int64_t{paper} - view > position)
    return position / step;
  return GetScrollRange(bar);
}

void TClient::RecomputeView()
{
  if (!page)
    return;
  if (input) {
    int32_t width = 0, height = 0;
    input->GetClientSize(this, width, height);
    page->SetViewSize(page->ToLogicalX(width), page->ToLogicalY(height));
  }
  const int32_t viewWidth = page->GetViewWidth();
  const int32_t viewHeight = page->GetViewHeight();
  const int32_t oldX = page->GetScrollX();
  const int32_t oldY = page->GetScrollY();
  if (flags & kFollowWindow) {
    page->SetPaperSize(viewWidth, viewHeight);
  } else {
    // A larger window could otherwise show past the end of the paper; a
    // document's paper smaller than its window sits in the middle of it.
    const bool centre = (flags & kScrollBarsFollowPage) != 0;
    auto fit = [centre](int32_t position, int32_t view, int32_t paper) {
      if (paper <= view)
        return centre ? static_cast<int32_t>(-((int64_t{view} - paper) / 2)) : 0;
      return std::clamp(position, 0, paper - view);
    };
    page->SetScroll(fit(oldX, viewWidth, page->GetPaperWidth()),
                    fit(oldY, viewHeight, page->GetPaperHeight()));
  }
  if (input)
    input->ScrollChanged(this, page->ToDeviceX(page->GetScrollX() - oldX),
                         page->ToDeviceY(page->GetScrollY() - oldY));
}

// ---- painting ----

void TClient::PaintObjects(TPage* target, uint8_t mode)
{
  if (!target || (m_loading && mode == TData::kPaintScreen))
    return;
  WaitCursor wait(*this);
  PaintCursor cursor;
  PaintObjectsFrom(target, mode, cursor, {});
}

bool TClient::PaintObjectsFrom(TPage* target, uint8_t mode, PaintCursor& cursor,
                               const std::function<bool()>& pause)
{
  if (!target || (m_loading && mode == TData::kPaintScreen))
    return true;
  const uint16_t visible = target->GetVisibleLayers();
  // At zoom 100 window objects paint themselves as windows; otherwise (and
  // on output) they are part of the page.
  const bool skipWindows = mode != TData::kPaintOutput && GetZoom() == 100;
  for (; cursor.layer != 0; cursor.layer >>= 1, cursor.index = 0, cursor.layerBegun = false) {
    if (!(visible & cursor.layer))
      continue;
    if (!cursor.layerBegun) {
      target->BeginLayer(cursor.layer);
      cursor.layerBegun = true;
    }
    for (; cursor.index < objects.Count(); ++cursor.index) {
      // Long output (an export of a huge document) can be given up: the
      // work that asked for it is asked now and then.
      if (++cursor.sinceAsked == WorkMonitor::kItemsBetweenPolls) {
        cursor.sinceAsked = 0;
        if (WorkMonitor::Poll()) {
          target->SetDrawingLayers(visible);
          cursor.layer = 0;
          return true;
        }
      }
      if (pause && pause())
        return false;
      TData* object = objects[cursor.index];
      if (skipWindows && object->IsA(kTVue))
        continue;
      target->PaintObject(*object, mode);
    }
  }
  if (mode == TData::kPaintScreen && IsGridShown())
    DrawGrid(target);
  target->SetDrawingLayers(visible);
  return true;
}

void TClient::DrawGrid(TPage* target)
{
  if (!target || !page || gridStepX < 2 || gridStepY < 2)
    return;
  int64_t x0 = 0, y0 = 0;
  int64_t x1 = page->GetPaperWidth(), y1 = page->GetPaperHeight();
  TRect clip;
  if (target->GetClipRect(clip)) {
    x0 = std::max<int64_t>(x0, clip.left);
    y0 = std::max<int64_t>(y0, clip.top);
    x1 = std::min<int64_t>(x1, clip.right);
    y1 = std::min<int64_t>(y1, clip.bottom);
  }
  // The first dot of each axis lies one step from the edge: none on x = 0
  // or y = 0.
  const int64_t firstX = std::max<int64_t>(gridStepX, (x0 + gridStepX - 1) / gridStepX * gridStepX);
  const int64_t firstY = std::max<int64_t>(gridStepY, (y0 + gridStepY - 1) / gridStepY * gridStepY);
  for (int64_t y = firstY; y < y1; y += gridStepY) {
    for (int64_t x = firstX; x < x1; x += gridStepX)
      target->SetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y), 0);
  }
}

void TClient::Invalidate(const TRect& r)
{
  if (!input || !page)
    return;
  int32_t l, t, rr, b;
  page->PageToDevice(r.left, r.top, l, t);
  page->PageToDevice(r.right, r.bottom, rr, b);
  const int32_t ltrb[4] = {std::min(l, rr) - 1, std::min(t, b) - 1, std::max(l, rr) + 1, std::max(t, b) + 1};
  input->Invalidate(this, ltrb);
}

void TClient::InvalidateObject(const TData* object)
{
  if (!object)
    return;
  TRect bounds;
  object->GetRect(bounds, kRectDrawing);
  Invalidate(bounds);
}

void TClient::ToggleOutline(TData* object)
{
  if (!object || !input || !page || page->IsBound())
    return;
  QPaintDevice* overlay = input->OverlayDevice(this);
  if (!overlay || !BindPage(*page, overlay, TPage::kWindowClient))
    return;
  object->Paint(page.get(), TData::kPaintToggleOutline);
  page->Release();
  TRect bounds;
  object->GetRect(bounds, kRectDrawing);
  // The handle crosses of end points and edges reach half a cross beyond the
  // drawing bounds.
  bounds.Inflate(TData::kCrossLength / 2);
  int32_t l, t, r, b;
  page->PageToDevice(bounds.left, bounds.top, l, t);
  page->PageToDevice(bounds.right, bounds.bottom, r, b);
  // A little margin for pens drawn over the edge.
  const int32_t ltrb[4] = {std::min(l, r) - 2, std::min(t, b) - 2, std::max(l, r) + 2, std::max(t, b) + 2};
  input->OverlayChanged(this, ltrb);
}

// ---- status bar ----

bool TClient::SetPrompt(const char* text)
{
  prompt = text ? text : "";
  return SetStatusText(prompt);
}

bool TClient::SetStatusText(const std::string& text)
{
  return input && input->SetStatusText(this, text);
}

bool TClient::ShowCoordinates(const char* label, int32_t x, int32_t y)
{
  const std::string xs = CutText(FormatX(x), kCoordinateLength);
  const std::string ys = CutText(FormatY(y), kCoordinateLength);
  return SetStatusText(FormatStr(IDS_COORDINATES, label ? label : "", xs.c_str(), ys.c_str()));
}

bool TClient::PostObjectCommand(uint16_t command, TData* object)
{
  return PostToSelf(command, 0, reinterpret_cast<uintptr_t>(object));
}

// ---- document sections ----

void TClient::WriteClientSection(TOutStream& os) const
{
  WriteSectionTag(os, kClientSection);
  os << kClientSectionVersion << ' ' << GetZoom() << ' ' << GetColor(1) << '\n';
}

void TClient::ReadClientSection(TInStream& is)
{
  int32_t zoom = 100;
  uint32_t colour = kNoColor;
  if (FindSectionTag(is, kClientSection)) {
    int32_t version = 0;
    is >> version >> zoom;
    if (version >= 1)
      is >> colour;
  }
  SetZoom(zoom);
  SetColor(1, colour);
}

void TClient::WriteSnapSection(TOutStream& os) const
{
  WriteSectionTag(os, kSnapSection);
  const int32_t snap = IsSnapOn() ? 1 : 0;
  os << (IsGridShown() ? 1 : 0) << ' ' << snap << ' ' << snap << ' ' << gridStepX << ' ' << gridStepY << ' '
     << snapStepX << ' ' << snapStepY << '\n';
}

void TClient::ReadSnapSection(TInStream& is)
{
  int32_t grid = 0, snap = 0, unused = 0;
  int32_t gx = 10, gy = 10, sx = 10, sy = 10;
  if (FindSectionTag(is, kSnapSection))
    is >> grid >> snap >> unused >> gx >> gy >> sx >> sy;
  SetGridShown(grid != 0, false);
  SetSnapOn(snap != 0);
  SetGridStep(gx, gy, false);
  SetSnapStep(sx, sy);
}

// ---- helpers ----

bool TClient::PointerPosition(int32_t& x, int32_t& y)
{
  if (!input || !page)
    return false;
  int32_t dx = 0, dy = 0;
  input->GetPointerPos(this, dx, dy);
  page->DeviceToPage(dx, dy, x, y);
  return true;
}

bool TClient::PointerInWindow(int32_t& x, int32_t& y)
{
  if (!input || !page)
    return false;
  int32_t dx = 0, dy = 0, width = 0, height = 0;
  input->GetPointerPos(this, dx, dy);
  input->GetClientSize(this, width, height);
  if (width > 0 && height > 0) {
    dx = std::clamp(dx, 0, width - 1);
    dy = std::clamp(dy, 0, height - 1);
  }
  page->DeviceToPage(dx, dy, x, y);
  return true;
}

void TClient::ToPageDelta(DeviceDelta& acc, int32_t deviceDx, int32_t deviceDy, int32_t& dx,
                          int32_t& dy) const
{
  acc.deviceX = SaturateInt32(int64_t{acc.deviceX} + deviceDx);
  acc.deviceY = SaturateInt32(int64_t{acc.deviceY} + deviceDy);
  const int32_t pageX = page->ToLogicalX(acc.deviceX);
  const int32_t pageY = page->ToLogicalY(acc.deviceY);
  dx = pageX - acc.pageX;
  dy = pageY - acc.pageY;
  acc.pageX = pageX;
  acc.pageY = pageY;
}

TRect TClient::PaperRect() const
{
  return page ? TRect(0, 0, page->GetPaperWidth(), page->GetPaperHeight()) : TRect();
}

bool TClient::IsOnPaper(int32_t x, int32_t y) const
{
  return PaperRect().Contains(x, y);
}
