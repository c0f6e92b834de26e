#include "DocumentTestSupport.h"

#include "Colors.h"
#include "CommandIds.h"
#include "SheetExport.h"
#include "TPageMem.h"

#include <QDir>
#include <QImage>

TEST_F(DocumentTest, NewViewIsReadyWhiteAndUntitled)
{
  EXPECT_TRUE(client.GetFlags() & TClient::kReady);
  EXPECT_FALSE(client.GetFlags() & TClient::kConfirmDeletions);
  EXPECT_EQ(client.GetColor(1), 0xFFFFFFu);
  EXPECT_EQ(client.GetExportScale(), 100);
  EXPECT_EQ(client.GetTitle(), "Untitled 3");
  client.SetFilePath("/home/me/plans/house.vk1");
  EXPECT_EQ(client.GetFileName(), "house.vk1");
  EXPECT_EQ(client.GetTitle(), "house.vk1");
  client.SetFilePath("");
  EXPECT_EQ(client.GetTitle(), "Untitled 3");
}

TEST_F(DocumentTest, AnswersTheDocumentQueries)
{
  char buffer[16] = "xxxxxxxxxxxxxxx";
  EXPECT_EQ(client.Message(MSG_FILE_PATH_QUERY, 16, 0, buffer), 0u);
  EXPECT_EQ(client.Message(MSG_TITLE_QUERY, 16, 0, buffer), 1u);
  EXPECT_STREQ(buffer, "Untitled 3");
  // The size counts the terminating zero.
  EXPECT_EQ(client.Message(MSG_TITLE_QUERY_2, 5, 0, buffer), 1u);
  EXPECT_STREQ(buffer, "Unti");
  client.SetFilePath("/tmp/a.vk1");
  char path[260];
  EXPECT_EQ(client.Message(MSG_FILE_PATH_QUERY, 0, 0, path), 1u);
  EXPECT_STREQ(path, "/tmp/a.vk1");

  client.GetLayerModule().SetActive(4);
  EXPECT_EQ(client.Message(MSG_LAYER_ACTIVE_VALUE, 0, 0, nullptr), 4u);
  TClientModuleLayer* layers = nullptr;
  EXPECT_EQ(client.Message(MSG_LAYER_DATA, 0, 0, &layers), 1u);
  EXPECT_EQ(layers, &client.GetLayerModule());
  EXPECT_EQ(client.Message(MSG_MENU_VETO_A, 0, 0, nullptr), 0u);
  EXPECT_EQ(client.Message(MSG_MENU_VETO_B, 0, 0, nullptr), 0u);
}

TEST_F(DocumentTest, RoutesLayersToTheLayerModuleAndTheRestToThePageView)
{
  TUserInput::LayerSettings settings;
  settings.active = 2;
  settings.visible = 0xFF;
  input.AnswerLayers(settings);
  EXPECT_EQ(client.Message(CM_LAYERS, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.GetLayerModule().GetActive(), 2);
  EXPECT_TRUE(client.IsModified());

  EXPECT_EQ(client.Message(CM_ZOOM_200, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.GetZoom(), 200);
}

// ---- whole sheets ----

TEST_F(DocumentTest, SheetHasThePageColourAndOnlyVisibleLayers)
{
  client.GetPage()->SetPaperSize(40, 30);
  RecordingObject* shown = Add(2, 2, 10, 10);
  shown->GetBrush().SetStyle(TBrush::kSolid);
  shown->GetBrush().SetColor(0x0000FF);  // red
  RecordingObject* hidden = Add(20, 2, 30, 10);
  hidden->GetBrush().SetStyle(TBrush::kSolid);
  hidden->GetBrush().SetColor(0xFF0000);  // blue
  hidden->SetLayers(2);
  client.GetLayerModule().SetVisible(0xFF & ~2);

  auto render = [this] {
    TPageMem sheet(40, 30, 100);
    RenderSheet(client, sheet);
    sheet.Release();
    return sheet.Image().copy();
  };
  QImage image = render();
  EXPECT_EQ(image.pixel(35, 25), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(6, 6), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(25, 6), qRgb(255, 255, 255));

  client.SetColor(1, 0x00FF00);
  image = render();
  EXPECT_EQ(image.pixel(35, 25), qRgb(0, 255, 0));
  // A page without a colour of its own comes out white.
  client.SetColor(1, kNoColor);
  image = render();
  EXPECT_EQ(image.pixel(35, 25), qRgb(255, 255, 255));
}

TEST_F(DocumentTest, ExportRefusesUnknownTypesAndLeavesNothingBehind)
{
  std::string error;
  EXPECT_FALSE(IsSheetExportType(dir.File("a.bmp")));
  EXPECT_FALSE(ExportSheet(client, dir.File("a.bmp"), 100, 75, &error));
  EXPECT_NE(error.find(".bmp"), std::string::npos);
  for (const char* name : {"none/a.png", "none/a.jpg", "none/a.pdf", "none/a.svg"}) {
    error.clear();
    EXPECT_FALSE(ExportSheet(client, dir.File(name), 100, 75, &error)) << name;
    EXPECT_FALSE(error.empty()) << name;
  }
  EXPECT_TRUE(ExportSheet(client, dir.File("A.PNG"), 100, 75, &error));
  EXPECT_TRUE(QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files).size() == 1);
}
