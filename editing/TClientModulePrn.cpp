#include "TClientModulePrn.h"

#include "CommandIds.h"
#include "Geometry.h"
#include "Messages.h"
#include "StringTable.h"
#include "TData.h"
#include "TImprimante.h"
#include "TaClientPage.h"

#include <algorithm>
#include <utility>

namespace {

// The longest job name.
constexpr size_t kMaxJobName = 79;

int32_t CeilDiv(int64_t a, int64_t b)
{
  return b <= 0 ? 1 : static_cast<int32_t>(std::max<int64_t>(1, (a + b - 1) / b));
}

} // namespace

TClientModulePrn::TClientModulePrn(TaClientPage* view) : TClientModule(view), m_view(view) {}

void TClientModulePrn::SetPrintZoom(int32_t percent)
{
  printZoom = std::clamp(percent, kMinZoom, kMaxZoom);
}

int32_t TClientModulePrn::Command(uint16_t command, TData*, int32_t)
{
  switch (command) {
  case CM_PRINT:
    return Print(true) ? 1 : 0;
  case CM_PRINT_HIDDEN_1:
    return Print(false) ? 1 : 0;
  case CM_PRINT_HIDDEN_2: {
    TUserInput* input = m_view->GetInput();
    TUserInput::PrintSettings settings;
    settings.orientation = m_view->GetPage()->GetOrientation();
    const bool done = input && Setup(2, settings);
    if (input)
      input->EndPrintJob(true);
    return done ? 1 : 0;
  }
  case CM_PRINT_FROM_PRINTER:
    return PageSizeFromPrinter() ? 1 : 0;
  case CM_PRINT_ZOOM:
    return AskPrintZoom() ? 1 : 0;
  default:
    return 0;
  }
}

bool TClientModulePrn::AskPrintZoom()
{
  TUserInput* input = m_view->GetInput();
  if (!input)
    return false;
  int32_t zoom = printZoom;
  if (AskInteger(*input, zoom, kMinZoom, kMaxZoom, LoadStr(IDS_ZOOM_TITLE), LoadStr(IDS_ZOOM_LABEL)) == 0)
    return false;
  SetPrintZoom(zoom);
  return true;
}

bool TClientModulePrn::Setup(int32_t mode, TUserInput::PrintSettings& settings)
{
  TUserInput* input = m_view->GetInput();
  QPagedPaintDevice* device = input ? input->ChoosePrinter(mode, settings) : nullptr;
  TImprimante& printer = TImprimante::Printer();
  printer.SetDevice(device);
  return device != nullptr;
}

TClientModulePrn::Tiling TClientModulePrn::TileSheets(int32_t pw, int32_t ph, int32_t sw, int32_t sh,
                                                      int32_t zoom)
{
  Tiling tiling;
  if (zoom == 100 || sw < 1 || sh < 1)
    return tiling;
  tiling.columns = CeilDiv(MulDivRound(pw, zoom, 100), sw);
  tiling.rows = CeilDiv(MulDivRound(ph, zoom, 100), sh);
  tiling.stepX = MulDivRound(sw, 100, zoom);
  tiling.stepY = MulDivRound(sh, 100, zoom);
  return tiling;
}

bool TClientModulePrn::Print(bool withDialog)
{
  TPage* page = m_view->GetPage();
  TUserInput* input = m_view->GetInput();
  if (!page || !input)
    return false;
  TImprimante& printer = TImprimante::Printer();
  printer.SetVisibleLayers(page->GetVisibleLayers());
  printer.SetPaperSizeCode(page->GetPaperSizeCode());
  printer.SetOrientation(page->GetOrientation());
  printer.SetPaperSize(page->GetPaperWidth(), page->GetPaperHeight());
  printer.SetUnitsPerInch(page->GetUnitsPerInch());

  int32_t pages[2] = {1, 1};
  m_view->Message(MSG_PRINT_PAGES, 0, 0, pages);
  TUserInput::PrintSettings settings;
  settings.rangeKind = 3;
  settings.from = settings.min = pages[0];
  settings.to = settings.max = pages[1];
  settings.orientation = page->GetOrientation();
  if (!Setup(withDialog ? 1 : 0, settings))
    return false;

  int32_t kind = 0, first = 1, last = 1;
  if (withDialog) {
    kind = settings.rangeKind;
    if (kind == 1 || kind == 2) {
      first = 1;
      last = pages[1];
    } else {
      first = settings.from;
      last = std::max(settings.to, settings.from);
    }
  }
  if (printZoom != 100 && !AskPrintZoom()) {
    input->EndPrintJob(true);
    return false;
  }
  const bool printed = PageLoop(kind, first, last);
  return input->EndPrintJob(!printed) && printed;
}

bool TClientModulePrn::PrintSheet()
{
  TImprimante& printer = TImprimante::Printer();
  if (!printer.StartPage())
    return false;
  m_view->PaintObjects(&printer, TData::kPaintOutput);
  return printer.EndPage();
}

bool TClientModulePrn::StopAsked()
{
  TUserInput* input = m_view->GetInput();
  if (!input->PrintCancelled())
    return false;
  input->ShowPrintProgress(LoadStr(IDS_PRINT_TITLE), false);
  if (input->MessageBox(LoadStr(IDS_PRINT_STOP), LoadStr(IDS_PRINT_TITLE), MB_YESNO_) == IDYES_)
    return true;
  input->ShowPrintProgress(LoadStr(IDS_PRINT_TITLE), true);
  return false;
}

bool TClientModulePrn::PageLoop(int32_t kind, int32_t first, int32_t last)
{
  TPage* page = m_view->GetPage();
  TUserInput* input = m_view->GetInput();
  TImprimante& printer = TImprimante::Printer();
  if (!page || !input || !printer.GetDevice())
    return false;
  printer.SetVisibleLayers(page->GetVisibleLayers());
  // The device already has the orientation the document asked for, so its
  // printable area is the sheet as it lies.
  const int32_t sw = printer.GetPaperWidth();
  const int32_t sh = printer.GetPaperHeight();
  if (first < 1 || last < 1)
    kind = 0;
  if (last < first)
    std::swap(first, last);
  const std::string name = m_view->GetTitle().substr(0, kMaxJobName);
  int32_t ox = 0, oy = 0;
  printer.GetOrigin(ox, oy);

  int32_t zoom = printZoom;
  if (zoom < 10 || zoom > 1000)
    zoom = 100;
  const Tiling tiling = TileSheets(page->GetPaperWidth(), page->GetPaperHeight(), sw, sh, zoom);
  if (zoom != 100) {
    printer.SetZoom(zoom);
    const int32_t sheets = tiling.columns * tiling.rows;
    if (sheets > 1 && (printFlags & kNoSheetQuestion) == 0 &&
        input->MessageBox(FormatStr(IDS_PRINT_SHEETS, sheets), LoadStr(IDS_PRINT_TITLE),
                          MB_YESNO_ | MB_ICONQUESTION_) != IDYES_) {
      printer.SetZoom(100);
      return false;
    }
  }
  for (int32_t i = 0; i < m_view->ObjectCount(); ++i) {
    TData* object = m_view->ObjectAtIndex(i);
    if (object->GetState() & TData::kRefreshOnPrint)
      object->Message(MSG_REFRESH, 0, 0, nullptr);
  }

  bool ok = true;
  bool started = false;
  if (kind != 0) {
    int32_t range[2] = {first, last};
    started = m_view->Message(MSG_PRINT_PAGE, 0, kind, range) != 0;
    if (!started) {
      printer.SetZoom(100);
      return false;
    }
    first = range[0];
    last = range[1];
  }
  ok = printer.StartDoc(name);
  if (ok)
    input->ShowPrintProgress(LoadStr(IDS_PRINT_TITLE), true);
  // Kind 0 prints the page shown; quick print at a zoom above 100 % tiles
  // it like a range, since the user was told the number of sheets.
  const int32_t pageFirst = kind == 0 ? 1 : first;
  const int32_t pageLast = kind == 0 ? 1 : last;
  for (int32_t p = pageFirst; ok && p <= pageLast; ++p) {
    if (kind != 0 && m_view->Message(MSG_PRINT_PAGE, p, last, nullptr) == 0)
      break;
    for (int32_t r = 0; ok && r < tiling.rows; ++r) {
      for (int32_t c = 0; ok && c < tiling.columns; ++c) {
        printer.SetOrigin(ox - tiling.stepX * c, oy - tiling.stepY * r);
        ok = PrintSheet() && !StopAsked();
      }
    }
    printer.SetOrigin(ox, oy);
  }
  if (ok)
    ok = printer.EndDoc();
  else
    printer.AbortDoc();
  input->ShowPrintProgress(LoadStr(IDS_PRINT_TITLE), false);
  printer.SetOrigin(ox, oy);
  printer.SetZoom(100);
  if (started)
    m_view->Message(MSG_PRINT_PAGE, -1, 0, nullptr);
  return ok;
}

bool TClientModulePrn::PageSizeFromPrinter()
{
  TPage* page = m_view->GetPage();
  TUserInput* input = m_view->GetInput();
  if (!page || !input)
    return false;
  TImprimante& printer = TImprimante::Printer();
  printer.SetUnitsPerInch(page->GetUnitsPerInch());
  TUserInput::PrintSettings settings;
  settings.orientation = page->GetOrientation();
  if (!Setup(2, settings)) {
    input->EndPrintJob(true);
    return false;
  }
  page->SetPaperSize(printer.GetPaperWidth(), printer.GetPaperHeight());
  page->SetPaperSizeCode(settings.paperCode);
  page->SetOrientation(settings.orientation);
  page->SetSizeMode(0);
  m_view->SetModified(true);
  input->EndPrintJob(true);
  m_view->RecomputeView();
  m_view->InvalidateWindow();
  return true;
}
