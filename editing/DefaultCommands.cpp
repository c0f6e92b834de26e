#include "DefaultCommands.h"

#include "Colors.h"
#include "CommandIds.h"
#include "Defaults.h"
#include "Messages.h"
#include "StringTable.h"
#include "TPage.h"
#include "TUserInput.h"
#include "TaClientPage.h"

bool IsDefaultAttributeCommand(uint16_t command)
{
  switch (command) {
  case CM_DEFAULT_LINE_TYPE:
  case CM_DEFAULT_FONT:
  case CM_DEFAULT_TEXT_COLOR:
  case CM_DEFAULT_LINE_COLOR:
  case CM_DEFAULT_BACK_COLOR:
  case CM_DEFAULT_PAGE:
    return true;
  default:
    return false;
  }
}

bool DefaultAttributeCommand(TaClientPage& view, uint16_t command)
{
  TUserInput* input = view.GetInput();
  if (!input)
    return false;
  switch (command) {
  case CM_DEFAULT_LINE_TYPE: {
    TPen pen = DefaultPen();
    if (!input->ChoosePen(pen, &view))
      return false;
    DefaultPen() = pen;
    return true;
  }
  case CM_DEFAULT_FONT: {
    TFont font = DefaultFont();
    if (!input->ChooseFont(font))
      return false;
    DefaultFont() = font;
    return true;
  }
  case CM_DEFAULT_TEXT_COLOR:
    return input->ChooseColor(DefaultTextColor(), false);
  case CM_DEFAULT_LINE_COLOR: {
    uint32_t colour = DefaultPen().GetColor();
    if (!input->ChooseColor(colour, false))
      return false;
    DefaultPen().SetColor(colour);
    return true;
  }
  case CM_DEFAULT_BACK_COLOR: {
    TBrush& brush = DefaultBrush();
    uint32_t colour = brush.GetStyle() == TBrush::kHollow ? kNoColor : brush.GetColor();
    if (!input->ChooseColor(colour, true))
      return false;
    if (colour == kNoColor) {
      brush.SetStyle(TBrush::kHollow);
    } else {
      brush.SetStyle(TBrush::kSolid);
      brush.SetColor(colour);
    }
    return true;
  }
  case CM_DEFAULT_PAGE:
    if (!view.GetPage() ||
        input->MessageBox(LoadStr(IDS_DEFAULT_PAGE_QUESTION), LoadStr(IDS_DEFAULT_PAGE_TITLE),
                          MB_OKCANCEL_ | MB_ICONINFORMATION_) != IDOK_)
      return false;
    DefaultPage().CopyPaperSettings(*view.GetPage());
    return true;
  default:
    return false;
  }
}
