// Printing a document through the print module onto a PDF printer: the
// questions, the tiling over sheets (each sheet checked against the part of
// the page it must show), page ranges, stopping, and the page size taken
// from the printer.

#include "DocumentTestSupport.h"

#include "CommandIds.h"
#include "SheetExport.h"
#include "TClientModulePrn.h"
#include "TImprimante.h"

#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <regex>

namespace {

// A PDF printer with sheets of width x height inches, 100 pixels to the
// inch and no margins: its printable area is width x height hundredths.
std::unique_ptr<QPdfWriter> PdfPrinter(const std::string& path, double width, double height)
{
  auto writer = std::make_unique<QPdfWriter>(QString::fromStdString(path));
  writer->setResolution(100);
  writer->setPageSize(QPageSize(QSizeF(width, height), QPageSize::Inch, QString(), QPageSize::ExactMatch));
  writer->setPageMargins(QMarginsF(0, 0, 0, 0));
  return writer;
}

int PdfPages(const std::string& path)
{
  const std::string data = ReadWholeFile(path);
  const std::regex page("/Type\\s*/Page[^s]");
  return static_cast<int>(
      std::distance(std::sregex_iterator(data.begin(), data.end(), page), std::sregex_iterator()));
}

// Page n (from 1) of a PDF drawn at 100 dpi by poppler, an independent
// reader of what was printed.
QImage PdfSheet(const std::string& path, int n)
{
  const QString prefix = QString::fromStdString(path + "-sheet");
  QProcess::execute("pdftoppm", {"-r", "100", "-png", "-f", QString::number(n), "-l", QString::number(n),
                                 "-singlefile", QString::fromStdString(path), prefix});
  return QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
}

// The share of pixels that differ by more than a quarter of the range in a
// channel: antialiased edges stay below it, a misplaced shape does not.
double OffShare(const QImage& a, const QImage& b)
{
  if (a.size() != b.size())
    return 1;
  int off = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      off += std::abs(qRed(p) - qRed(q)) > 64 || std::abs(qGreen(p) - qGreen(q)) > 64 ||
             std::abs(qBlue(p) - qBlue(q)) > 64;
    }
  return static_cast<double>(off) / (a.width() * a.height());
}

class PrintTest : public DocumentTest
{
protected:
  void SetUp() override
  {
    DocumentTest::SetUp();
    client.GetPage()->SetPaperSize(800, 1000);
    // A shape in every quarter of the page, each its own colour, and one
    // across the middle.
    const uint32_t colours[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    for (int i = 0; i < 4; ++i) {
      const int32_t x = (i % 2) * 400, y = (i / 2) * 500;
      RecordingObject* box = Add(x + 60, y + 80, x + 300 - 40 * i, y + 380);
      box->GetBrush().SetStyle(TBrush::kSolid);
      box->GetBrush().SetColor(colours[i]);
    }
    Add(300, 420, 500, 580);
  }
  TClientModulePrn& Module() { return client.GetPrintModule(); }
  std::string pdf = dir.File("printed.pdf");
};

} // namespace

TEST_F(PrintTest, AtTwiceTheSizeAPagePrintsOnFourSheetsEachShowingItsQuarter)
{
  auto printer = PdfPrinter(pdf, 8, 10);
  input.AnswerPrinter(printer.get(), std::nullopt, pdf);
  Module().SetPrintZoom(200);
  input.AnswerIntegers(std::vector<int32_t>{200});
  input.AnswerMessageBox(IDYES_);
  ASSERT_EQ(client.Message(CM_PRINT, 0, 0, nullptr), 1u);
  printer.reset();

  // The dialog was offered the document's one page.
  ASSERT_EQ(input.printers.size(), 1u);
  EXPECT_EQ(input.printers[0].mode, 1);
  EXPECT_EQ(input.printers[0].shown.rangeKind, 3);
  EXPECT_EQ(input.printers[0].shown.max, 1);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, "Print on 4 sheets ?");
  EXPECT_EQ(input.messageBoxes[0].title, "Printing");
  EXPECT_EQ(input.progressShown, (std::vector<bool>{true, false}));
  EXPECT_EQ(input.endedJobs, std::vector<bool>{false});
  ASSERT_EQ(PdfPages(pdf), 4);

  // Each sheet is the matching quarter of the page drawn at 200 %.
  client.SetColor(1, 0xFFFFFF);
  std::string error;
  const std::string png = dir.File("page.png");
  ASSERT_TRUE(ExportSheet(client, png, 200, 75, &error)) << error;
  const QImage whole = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(whole.size(), QSize(1600, 2000));
  for (int sheet = 0; sheet < 4; ++sheet) {
    const QImage printed = PdfSheet(pdf, sheet + 1);
    ASSERT_EQ(printed.size(), QSize(800, 1000)) << sheet;
    const QImage quarter = whole.copy((sheet % 2) * 800, (sheet / 2) * 1000, 800, 1000);
    EXPECT_LT(OffShare(printed, quarter), 0.01) << "sheet " << sheet + 1;
    // And not some other quarter.
    const QImage other = whole.copy(((sheet + 1) % 2) * 800, (sheet / 2) * 1000, 800, 1000);
    EXPECT_GT(OffShare(printed, other), 0.05) << "sheet " << sheet + 1;
  }
  // The printer is back at 100 % for the next job.
  EXPECT_EQ(TImprimante::Printer().GetZoom(), 100);
}

TEST_F(PrintTest, AtHundredPercentNothingIsAskedAndQuickPrintTakesTheCurrentPrinter)
{
  auto printer = PdfPrinter(pdf, 8, 10);
  input.AnswerPrinter(printer.get(), std::nullopt, pdf);
  EXPECT_EQ(client.Message(CM_PRINT_HIDDEN_1, 0, 0, nullptr), 1u);
  printer.reset();
  EXPECT_EQ(input.printers[0].mode, 0);
  EXPECT_TRUE(input.messageBoxes.empty());
  EXPECT_EQ(std::count(input.dialogs.begin(), input.dialogs.end(), "PromptIntegers:Zoom"), 0);
  EXPECT_EQ(PdfPages(pdf), 1);
  // The sheet is the page.
  client.SetColor(1, 0xFFFFFF);
  const std::string png = dir.File("page.png");
  ASSERT_TRUE(ExportSheet(client, png, 100, 75, nullptr));
  EXPECT_LT(
      OffShare(PdfSheet(pdf, 1), QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32)),
      0.01);
}

TEST_F(PrintTest, ACancelledDialogOrSheetQuestionPrintsNothing)
{
  // No printer chosen.
  EXPECT_EQ(client.Message(CM_PRINT, 0, 0, nullptr), 0u);
  EXPECT_TRUE(input.progressShown.empty());
  // The sheets refused.
  auto printer = PdfPrinter(pdf, 8, 10);
  input.AnswerPrinter(printer.get(), std::nullopt, pdf);
  Module().SetPrintZoom(300);
  input.AnswerIntegers(std::vector<int32_t>{300});
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(client.Message(CM_PRINT, 0, 0, nullptr), 0u);
  printer.reset();
  EXPECT_EQ(input.messageBoxes.back().text, "Print on 9 sheets ?");
  EXPECT_EQ(input.endedJobs, std::vector<bool>{true});
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintTest, StoppingBetweenSheetsLeavesNoFileAndGoingOnPrintsThemAll)
{
  auto printer = PdfPrinter(pdf, 8, 10);
  input.AnswerPrinter(printer.get(), std::nullopt, pdf);
  Module().SetPrintZoom(200);
  input.AnswerIntegers(std::vector<int32_t>{200});
  input.AnswerMessageBox(IDYES_);
  input.CancelPrintingAt(2);
  input.AnswerMessageBox(IDYES_); // "Stop printing ?"
  EXPECT_EQ(client.Message(CM_PRINT, 0, 0, nullptr), 0u);
  printer.reset();
  EXPECT_EQ(input.messageBoxes.back().text, "Stop printing ?");
  EXPECT_EQ(input.cancelChecks, 2);
  EXPECT_EQ(input.endedJobs, std::vector<bool>{true});
  EXPECT_FALSE(std::filesystem::exists(pdf));

  // Cancel pressed, then No: the box comes back and every sheet prints.
  printer = PdfPrinter(pdf, 8, 10);
  input.AnswerPrinter(printer.get(), std::nullopt, pdf);
  input.AnswerIntegers(std::vector<int32_t>{200});
  input.AnswerMessageBox(IDYES_);
  input.CancelPrintingAt(3);
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(client.Message(CM_PRINT, 0, 0, nullptr), 1u);
  printer.reset();
  EXPECT_EQ(PdfPages(pdf), 4);
}

namespace {

// A view of nine pages that keeps which pages it was asked to show.
class NinePages : public TaClientPage
{
public:
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override
  {
    if (message == MSG_PRINT_PAGES) {
      static_cast<int32_t*>(p)[0] = 1;
      static_cast<int32_t*>(p)[1] = 9;
      return 1;
    }
    if (message == MSG_PRINT_PAGE) {
      shown.push_back(a);
      return 1;
    }
    return TaClientPage::Message(message, a, b, p);
  }
  std::vector<int32_t> shown;
};

} // namespace

TEST_F(PrintTest, ARangeEnteredBackwardsPrintsItsFirstPageOnly)
{
  NinePages view;
  TScriptedInput viewInput;
  viewInput.Attach(&view);
  view.GetPage()->SetPaperSize(800, 1000);
  auto printer = PdfPrinter(pdf, 8, 10);
  TUserInput::PrintSettings range;
  range.rangeKind = 3;
  range.from = 5;
  range.to = 3;
  viewInput.AnswerPrinter(printer.get(), range, pdf);
  EXPECT_EQ(view.Message(CM_PRINT, 0, 0, nullptr), 1u);
  printer.reset();
  EXPECT_EQ(viewInput.printers[0].shown.max, 9);
  // Begin, page 5, end.
  EXPECT_EQ(view.shown, (std::vector<int32_t>{0, 5, -1}));
  EXPECT_EQ(PdfPages(pdf), 1);
}

TEST_F(PrintTest, ALandscapeSheetIsTiledAsItLies)
{
  // A landscape page on landscape sheets of the same size: at 200 % it
  // takes 2 x 2 of them, not the 3 x 2 that upright sheets would need.
  client.GetPage()->SetPaperSize(1000, 800);
  client.GetPage()->SetOrientation(2);
  auto printer = PdfPrinter(pdf, 10, 8);
  input.AnswerPrinter(printer.get(), std::nullopt, pdf);
  Module().SetPrintZoom(200);
  input.AnswerIntegers(std::vector<int32_t>{200});
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(client.Message(CM_PRINT, 0, 0, nullptr), 1u);
  printer.reset();
  EXPECT_EQ(input.printers[0].shown.orientation, 2);
  EXPECT_EQ(input.messageBoxes[0].text, "Print on 4 sheets ?");
  EXPECT_EQ(TClientModulePrn::TileSheets(1000, 800, 800, 1000, 200).columns, 3);
}

TEST_F(PrintTest, PrintZoomAndPageSizeFromThePrinter)
{
  input.AnswerIntegers(std::vector<int32_t>{500});
  input.AnswerIntegers(std::vector<int32_t>{250});
  EXPECT_EQ(client.Message(CM_PRINT_ZOOM, 0, 0, nullptr), 1u);
  EXPECT_EQ(Module().GetPrintZoom(), 250);
  // 500 is refused (said in a message) and asked again.
  EXPECT_EQ(std::count(input.dialogs.begin(), input.dialogs.end(), "PromptIntegers:Zoom"), 2);
  Module().SetPrintZoom(5);
  EXPECT_EQ(Module().GetPrintZoom(), 10);

  // A4 at 100 pixels to the inch is 827 x 1169 pixels: in tenths of a
  // millimetre the page becomes 2100 x 2969 (the pixels to hundredths of
  // an inch, then to the page's units).
  client.GetPage()->SetUnitsPerInch(254);
  auto printer = std::make_unique<QPdfWriter>(QString::fromStdString(pdf));
  printer->setResolution(100);
  printer->setPageSize(QPageSize(QPageSize::A4));
  printer->setPageMargins(QMarginsF(0, 0, 0, 0));
  TUserInput::PrintSettings a4;
  a4.paperCode = 9;
  input.AnswerPrinter(printer.get(), a4, pdf);
  EXPECT_EQ(client.Message(CM_PRINT_FROM_PRINTER, 0, 0, nullptr), 1u);
  EXPECT_EQ(input.printers.back().mode, 2);
  const int32_t width = printer->width() * 100 / 100 * 254 / 100;
  EXPECT_NEAR(client.GetPage()->GetPaperWidth(), width, 1);
  EXPECT_EQ(client.GetPage()->GetPaperSizeCode(), 9);
  EXPECT_EQ(client.GetPage()->GetSizeMode(), 0);
  EXPECT_TRUE(client.IsModified());
  // Nothing was printed: the job leaves no file.
  printer.reset();
  EXPECT_FALSE(std::filesystem::exists(pdf));
}
