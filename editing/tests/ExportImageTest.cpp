// Exporting the sheet as a PNG, JPEG or GIF image from the document view: the
// questions, the zoom and quality prompts and a failed write.

#include "DocumentTestSupport.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "ExportImage.h"
#include "Messages.h"

#include <QImage>
#include <QImageReader>

#include <filesystem>

namespace {

// Keeps what the file and integer prompts were shown.
class RecordingInput : public TScriptedInput
{
public:
  bool ChooseSaveFile(std::string& path, const std::string& filter, const std::string& defaultExt) override
  {
    proposed.push_back(path);
    filters.push_back(filter + " " + defaultExt);
    return TScriptedInput::ChooseSaveFile(path, filter, defaultExt);
  }
  bool PromptIntegers(const std::string& title, std::vector<IntegerField>& fields) override
  {
    labels.push_back(title + ": " + (fields.empty() ? std::string() : fields[0].label) + " = " +
                     (fields.empty() ? std::string() : std::to_string(fields[0].value)));
    return TScriptedInput::PromptIntegers(title, fields);
  }
  std::vector<std::string> proposed, filters, labels;
};

class ExportImageTest : public DocumentTest
{
protected:
  void SetUp() override
  {
    DocumentTest::SetUp();
    recorder.Attach(&client);
    client.GetPage()->SetPaperSize(400, 300);
    client.SetFilePath(dir.File("house.vk1"));
    RecordingObject* box = Add(50, 50, 150, 100);
    box->GetBrush().SetStyle(TBrush::kSolid);
    box->GetBrush().SetColor(0x0000FF);
  }
  void TearDown() override
  {
    ExportJpegQuality() = 75;
    DocumentTest::TearDown();
  }

  RecordingInput recorder;
};

TEST_F(ExportImageTest, PngAtTheChosenZoomProposesTheDocumentsName)
{
  const std::string target = dir.File("out.png");
  recorder.AnswerSaveFile(target);
  recorder.AnswerIntegers(std::vector<int32_t>{50});
  EXPECT_EQ(client.Message(CM_EXPORT_PNG, 0, 0, nullptr), 1u);
  ASSERT_EQ(recorder.proposed.size(), 1u);
  EXPECT_EQ(recorder.proposed[0], dir.File("house.png"));
  EXPECT_EQ(recorder.filters[0], "PNG Files (*.png)|*.png png");
  // The smaller side is 300 units: 100 / 300 is below 10, so 10 is the least.
  EXPECT_EQ(recorder.labels, std::vector<std::string>{"Zoom: Zoom:(in %) (10...100) = 100"});
  QImage image(QString::fromStdString(target));
  ASSERT_EQ(image.size(), QSize(200, 150));
  EXPECT_EQ(image.pixel(50, 37), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(150, 120), qRgb(255, 255, 255));
  // The zoom is remembered for this document.
  EXPECT_EQ(client.GetExportScale(), 50);
  EXPECT_FALSE(client.IsModified());
}

TEST_F(ExportImageTest, GifOffersItsOwnFilterAndKeepsTheDrawingsColours)
{
  const std::string target = dir.File("out.gif");
  recorder.AnswerSaveFile(target);
  recorder.AnswerIntegers(std::vector<int32_t>{100});
  EXPECT_EQ(client.Message(CM_EXPORT_GIF, 0, 0, nullptr), 1u);
  EXPECT_EQ(recorder.proposed[0], dir.File("house.gif"));
  EXPECT_EQ(recorder.filters[0], "GIF Files (*.gif)|*.gif gif");
  // No question beyond the zoom.
  EXPECT_EQ(recorder.labels.size(), 1u);
  QImage image(QString::fromStdString(target));
  ASSERT_EQ(image.size(), QSize(400, 300));
  // Two colours only: both kept exactly.
  EXPECT_EQ(image.pixel(100, 75), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(300, 200), qRgb(255, 255, 255));
}

namespace {

// An image object whose picture is a metafile.
class MetafilePicture : public RecordingObject
{
public:
  MetafilePicture() : RecordingObject(10, 10, 20, 20) { classId = kTDataImage; }
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override
  {
    return message == MSG_IMAGE_IS_METAFILE ? 1 : RecordingObject::Message(message, a, b, p);
  }
};

// The placeable header's bounds and units per inch of a metafile.
std::vector<int> WmfFrame(const std::string& path)
{
  const std::string data = ReadWholeFile(path);
  if (data.size() < 22 || data.substr(0, 4) != "\xD7\xCD\xC6\x9A")
    return {};
  auto word = [&data](size_t at) {
    return static_cast<int>(static_cast<uint8_t>(data[at]) | static_cast<uint8_t>(data[at + 1]) << 8);
  };
  return {word(6), word(8), word(10), word(12), word(14)};
}

} // namespace

TEST_F(ExportImageTest, WmfExportSpansThePaperAndProposesTheDocumentsName)
{
  const std::string target = dir.File("plan.wmf");
  recorder.AnswerSaveFile(target);
  EXPECT_EQ(client.Message(CM_EXPORT_WMF, 0, 0, nullptr), 1u);
  ASSERT_EQ(recorder.proposed.size(), 1u);
  EXPECT_EQ(recorder.proposed[0], dir.File("house.wmf"));
  EXPECT_EQ(recorder.filters[0], "Windows Metafiles (*.wmf)|*.wmf wmf");
  // No zoom to ask: a metafile has no pixels.
  EXPECT_TRUE(recorder.labels.empty());
  EXPECT_EQ(WmfFrame(target), (std::vector<int>{0, 0, 400, 300, 100}));
  EXPECT_FALSE(client.IsModified());

  // Without the paper flag the picture reaches from the page's origin to the
  // drawing's right and bottom edge; an empty name asks for one.
  TRect bounds;
  client.ObjectAtIndex(0)->GetRect(bounds, kRectDrawing);
  const std::string drawing = dir.File("drawing.wmf");
  recorder.AnswerSaveFile(drawing);
  EXPECT_EQ(ExportWmf(client, "", 0), 1);
  EXPECT_EQ(WmfFrame(drawing), (std::vector<int>{0, 0, bounds.right, bounds.bottom, 100}));
  // A given name and no flags: no dialog at all.
  const std::string quiet = dir.File("quiet.wmf");
  EXPECT_EQ(ExportWmf(client, quiet, 1), 1);
  EXPECT_EQ(recorder.proposed.size(), 2u);
  EXPECT_EQ(WmfFrame(quiet), (std::vector<int>{0, 0, 400, 300, 100}));
}

TEST_F(ExportImageTest, WmfExportOfAnEmptyPageDoesNothingAndMetafilePicturesAreWarnedAboutOnce)
{
  client.ClearObjects();
  EXPECT_EQ(client.Message(CM_EXPORT_WMF, 0, 0, nullptr), 0u);
  EXPECT_TRUE(recorder.proposed.empty());
  EXPECT_TRUE(recorder.messageBoxes.empty());

  client.AddObject(new MetafilePicture, false);
  client.AddObject(new MetafilePicture, false);
  recorder.AnswerMessageBox(IDCANCEL_);
  EXPECT_EQ(client.Message(CM_EXPORT_WMF, 0, 0, nullptr), 0u);
  ASSERT_EQ(recorder.messageBoxes.size(), 1u);
  EXPECT_EQ(recorder.messageBoxes[0].title, "Export WMF");
  EXPECT_EQ(recorder.messageBoxes[0].text, "WMF images in page\nwill not be exported\nto file");
  EXPECT_EQ(recorder.messageBoxes[0].flags, uint32_t{MB_OKCANCEL_ | MB_ICONEXCLAMATION_});
  EXPECT_TRUE(recorder.proposed.empty());

  const std::string target = dir.File("pictures.wmf");
  recorder.AnswerMessageBox(IDOK_);
  recorder.AnswerSaveFile(target);
  EXPECT_EQ(client.Message(CM_EXPORT_WMF, 0, 0, nullptr), 1u);
  EXPECT_EQ(recorder.messageBoxes.size(), 2u);
  EXPECT_EQ(WmfFrame(target).size(), 5u);
}

TEST_F(ExportImageTest, PdfAndSvgAskForTheFileOnlyAndHoldTheDrawing)
{
  const std::string pdf = dir.File("sheet.pdf");
  recorder.AnswerSaveFile(pdf);
  EXPECT_EQ(client.Message(CM_EXPORT_PDF, 0, 0, nullptr), 1u);
  EXPECT_EQ(recorder.proposed[0], dir.File("house.pdf"));
  EXPECT_EQ(recorder.filters[0], "PDF Files (*.pdf)|*.pdf pdf");
  EXPECT_TRUE(recorder.labels.empty());
  EXPECT_EQ(ReadWholeFile(pdf).substr(0, 5), "%PDF-");

  const std::string svg = dir.File("sheet.svg");
  recorder.AnswerSaveFile(svg);
  EXPECT_EQ(client.Message(CM_EXPORT_SVG, 0, 0, nullptr), 1u);
  EXPECT_EQ(recorder.filters[1], "SVG Files (*.svg)|*.svg svg");
  EXPECT_TRUE(recorder.labels.empty());
  const std::string text = ReadWholeFile(svg);
  EXPECT_NE(text.find("<svg"), std::string::npos);
  // The blue box of the page is there as a drawn shape.
  EXPECT_NE(text.find("#ff0000"), std::string::npos);
}

TEST_F(ExportImageTest, AnExportGivenUpWritesNothingAndSaysNothing)
{
  for (int i = 0; i < 1000; ++i)
    Add(10 + i % 300, 10 + i % 200, 20 + i % 300, 20 + i % 200);
  const std::string old = "the previous picture";
  struct Case
  {
    uint16_t command;
    std::string name;
  };
  for (const Case& c :
       {Case{CM_EXPORT_PNG, "out.png"}, Case{CM_EXPORT_SVG, "out.svg"}, Case{CM_EXPORT_WMF, ""}}) {
    const std::string target = dir.File(c.name.empty() ? "house.wmf" : c.name);
    WriteWholeFile(target, old);
    recorder.workShown.clear();
    recorder.workPolls = 0;
    recorder.CancelWorkAt(2);
    recorder.AnswerSaveFile(target);
    if (c.command == CM_EXPORT_PNG)
      recorder.AnswerIntegers(std::vector<int32_t>{100});
    EXPECT_EQ(client.Message(c.command, 0, 0, nullptr), 0u) << c.name;
    EXPECT_EQ(recorder.workPolls, 2) << c.name; // drawing stopped at once
    EXPECT_EQ(recorder.workShown, (std::vector<std::string>{"+Exporting", "-Exporting"}));
    EXPECT_TRUE(recorder.messageBoxes.empty()) << recorder.messageBoxes.back().text;
    EXPECT_EQ(ReadWholeFile(target), old) << c.name;
  }
  // Not given up, the drawing asked every 256 objects of each of the eight
  // layer passes (and the picture once before each band it is drawn in),
  // and the file is new.
  recorder.CancelWorkAt(0);
  recorder.workPolls = 0;
  const std::string target = dir.File("out.png");
  recorder.AnswerSaveFile(target);
  recorder.AnswerIntegers(std::vector<int32_t>{100});
  EXPECT_EQ(client.Message(CM_EXPORT_PNG, 0, 0, nullptr), 1u);
  EXPECT_GE(recorder.workPolls, 8 * 1001 / 256);
  EXPECT_NE(ReadWholeFile(target), old);
}

TEST(ExportImage, ZoomRangeFollowsTheSmallerSide)
{
  int32_t lower = 0, upper = 0;
  ASSERT_TRUE(ExportZoomRange(40, 5, lower, upper));
  EXPECT_EQ(lower, 20);
  EXPECT_EQ(upper, 100);
  ASSERT_TRUE(ExportZoomRange(2000, 3000, lower, upper));
  EXPECT_EQ(lower, 10);
  ASSERT_TRUE(ExportZoomRange(1, 1, lower, upper));
  EXPECT_EQ(lower, 100);
  EXPECT_FALSE(ExportZoomRange(0, 300, lower, upper));
}

TEST_F(ExportImageTest, JpegQualityStartsAt75AndIsRemembered)
{
  // An untitled document proposes its title.
  client.SetFilePath("");
  const std::string target = dir.File("out.jpg");
  recorder.AnswerSaveFile(target);
  recorder.AnswerIntegers(std::vector<int32_t>{100});
  recorder.AnswerIntegers(std::vector<int32_t>{0});
  EXPECT_EQ(client.Message(CM_EXPORT_JPG, 0, 0, nullptr), 1u);
  ASSERT_EQ(recorder.labels.size(), 2u);
  EXPECT_EQ(recorder.labels[1], "Image quality: Quality  (0...100) = 75");
  EXPECT_EQ(recorder.proposed[0], "Untitled 3.jpg");
  EXPECT_EQ(QImageReader(QString::fromStdString(target)).format(), "jpeg");
  EXPECT_EQ(ExportJpegQuality(), 0);

  recorder.AnswerSaveFile(target);
  recorder.AnswerIntegers(std::vector<int32_t>{100});
  recorder.AnswerIntegers(std::nullopt);
  EXPECT_EQ(client.Message(CM_EXPORT_JPG, 0, 0, nullptr), 0u);
  EXPECT_EQ(recorder.labels.back(), "Image quality: Quality  (0...100) = 0");
  EXPECT_EQ(ExportJpegQuality(), 0);
}

TEST_F(ExportImageTest, EmptyPageIsExportedOnlyWhenConfirmed)
{
  client.ClearObjects();
  client.SetColor(1, 0x00FF00);
  recorder.AnswerMessageBox(IDNO_);
  EXPECT_EQ(client.Message(CM_EXPORT_PNG, 0, 0, nullptr), 0u);
  ASSERT_EQ(recorder.messageBoxes.size(), 1u);
  EXPECT_EQ(recorder.messageBoxes[0].title, "Export");
  EXPECT_EQ(recorder.messageBoxes[0].flags, uint32_t{MB_YESNO_ | MB_ICONQUESTION_});
  EXPECT_TRUE(recorder.proposed.empty());

  const std::string target = dir.File("empty.png");
  recorder.AnswerMessageBox(IDYES_);
  recorder.AnswerSaveFile(target);
  recorder.AnswerIntegers(std::vector<int32_t>{10});
  EXPECT_EQ(client.Message(CM_EXPORT_PNG, 0, 0, nullptr), 1u);
  QImage image(QString::fromStdString(target));
  ASSERT_EQ(image.size(), QSize(40, 30));
  EXPECT_EQ(image.pixel(20, 15), qRgb(0, 255, 0));
}

TEST_F(ExportImageTest, AFailedWriteIsReportedWithItsReasonAndLeavesNoPartialFile)
{
  const std::string missing = dir.File("no such folder/out.png");
  recorder.AnswerSaveFile(missing);
  recorder.AnswerIntegers(std::vector<int32_t>{100});
  EXPECT_EQ(client.Message(CM_EXPORT_PNG, 0, 0, nullptr), 0u);
  ASSERT_EQ(recorder.messageBoxes.size(), 1u);
  EXPECT_EQ(recorder.messageBoxes[0].title, "Export");
  EXPECT_EQ(recorder.messageBoxes[0].flags, uint32_t{MB_OK_ | MB_ICONSTOP_});
  EXPECT_NE(recorder.messageBoxes[0].text.find("Cannot create a file in " + dir.File("no such folder") +
                                               ": No such file or directory"),
            std::string::npos)
      << recorder.messageBoxes[0].text;

  // A name taken by a folder is refused: the folder stays and no partial
  // file is left beside it.
  const std::string taken = dir.File("taken.png");
  std::filesystem::create_directory(taken);
  recorder.AnswerSaveFile(taken);
  recorder.AnswerIntegers(std::vector<int32_t>{100});
  EXPECT_EQ(client.Message(CM_EXPORT_PNG, 0, 0, nullptr), 0u);
  ASSERT_EQ(recorder.messageBoxes.size(), 2u);
  EXPECT_NE(recorder.messageBoxes[1].text.find("Cannot write " + taken + ": not a regular file"),
            std::string::npos)
      << recorder.messageBoxes[1].text;
  EXPECT_TRUE(std::filesystem::is_directory(taken));
  int32_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    ++files;
  EXPECT_EQ(files, 1);
}

} // namespace
