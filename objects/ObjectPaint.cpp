#include "ObjectPaint.h"

#include "Colors.h"
#include "Geometry.h"
#include "TBrush.h"
#include "TData.h"
#include "TPage.h"
#include "TPageDevice.h"
#include "TPen.h"

bool BeginPaint(TData& object, TPage* page, uint8_t mode)
{
  if (!page || !object.IsOnPage(page))
    return false;
  if (mode & TData::kPaintToggleOutline)
    object.SetState(TData::kSelected, !object.TestState(TData::kSelected));
  TRect bounds;
  object.GetRect(bounds, kRectDrawing);
  return page->RectVisible(bounds);
}

bool WantsBody(uint8_t mode)
{
  return (mode & (TData::kPaintScreen | TData::kPaintOutput)) != 0;
}

bool WantsHighlight(const TData& object, uint8_t mode)
{
  return (mode & TData::kPaintToggleOutline) != 0 || object.TestState(TData::kSelected) != 0;
}

void BeginHighlight(TPage* page)
{
  static const TPen kHighlightPen(MakeColor(255, 255, 255), 0, TPen::kDot);
  static const TBrush kHollow;
  page->SelectPen(kHighlightPen);
  page->SelectBrush(kHollow);
  page->SetROP2(R2_XORPEN_);
}

void EndHighlight(TPage* page)
{
  page->SetROP2(R2_COPYPEN_);
  page->RestoreDefaults();
}

int32_t EffectivePenWidth(const TData& object)
{
  return object.GetPen().GetWidth();
}

TRect StrokeBounds(const TData& object)
{
  TRect bounds;
  bounds.Assign(object);
  bounds.Inflate(SaturateInt32(int64_t{EffectivePenWidth(object)} + 2));
  return bounds;
}
