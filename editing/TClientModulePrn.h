#pragma once

#include "TClientModule.h"
#include "TUserInput.h"

#include <cstdint>

class TaClientPage;

// The printing commands of a document view: Print... (with the print
// dialog), quick print on the current printer, printer set-up, the page
// size from the printer and the print zoom. A page printed above 100 % is
// spread over columns x rows of sheets, each showing the next part of the
// page; the "Printing" box lets the user stop between sheets.
class TClientModulePrn : public TClientModule
{
public:
  static constexpr int32_t kMinZoom = 10;
  static constexpr int32_t kMaxZoom = 400;
  // printFlags: no question before printing on several sheets.
  static constexpr uint16_t kNoSheetQuestion = 1;

  explicit TClientModulePrn(TaClientPage* view);

  int32_t Command(uint16_t command, TData* object, int32_t parameter) override;

  int32_t GetPrintZoom() const { return printZoom; }
  // Kept in 10..400.
  void SetPrintZoom(int32_t percent);
  uint16_t printFlags = 0;

  // Print (32650 with the dialog, 32526 without it on the current printer,
  // the current page only).
  bool Print(bool withDialog);
  // Prints pages first..last (kind 0: the current page; 1..3 ask the view
  // to show each page) at the print zoom, tiled over sheets.
  bool PageLoop(int32_t kind, int32_t first, int32_t last);
  // 32667: the page takes the printer's printable area, paper and
  // orientation.
  bool PageSizeFromPrinter();
  // 32746: asks the print zoom; false when cancelled.
  bool AskPrintZoom();

  // The sheets a page of pw x ph units needs on sheets of sw x sh at zoom
  // percent, and the page units between two sheets (0 at 100 %).
  struct Tiling
  {
    int32_t columns = 1, rows = 1, stepX = 0, stepY = 0;
  };
  static Tiling TileSheets(int32_t pw, int32_t ph, int32_t sw, int32_t sh, int32_t zoom);

private:
  bool Setup(int32_t mode, TUserInput::PrintSettings& settings);
  bool PrintSheet();
  // Between sheets: true when the user chose to stop.
  bool StopAsked();

  TaClientPage* m_view;
  int32_t printZoom = 100;
};
