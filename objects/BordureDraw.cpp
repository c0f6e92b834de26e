#include "BordureDraw.h"

#include "TBordure.h"
#include "TBrush.h"
#include "TPage.h"
#include "TPen.h"
#include "TPolyRectangle.h"

void DrawBordure(const TBordure& border, TPage* page, const TPolyRectangle& frame)
{
  if (!page || border.GetType() == 0)
    return;
  uint32_t style = 0;
  switch (border.GetType()) {
  case 1:
  case 13:
  case 14:
  case 15:
  case 16:
    style = TPen::kInsideFrame;
    break;
  case 6:
    style = TPen::kDot;
    break;
  default:
    return;
  }
  TPolyRectangle outline(frame.GetFrame(), frame.GetAngle());
  outline.SetLayers(page->GetDrawingLayers());
  // The frame is drawn over the text, so it never fills; and its line does
  // not follow the default line type the user last chose.
  outline.GetPen() = TPen(border.colour1, border.GetThickness(), style);
  outline.GetBrush() = TBrush();
  outline.Paint(page, TData::kPaintScreen);
}
