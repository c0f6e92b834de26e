#include "DocumentTestSupport.h"

#include "Colors.h"
#include "CommandIds.h"
#include "SheetExport.h"
#include "TPageMem.h"

TEST_F(DocumentTest, AnswersTheDocumentQueries)
{
  char buffer[16] = "";
  EXPECT_EQ(client.Message(MSG_FILE_PATH_QUERY, 16, 0, buffer), 0u);
  EXPECT_EQ(client.Message(MSG_TITLE_QUERY, 16, 0, buffer), 1u);
  EXPECT_STREQ(buffer, "Untitled 3");
  // The size counts the terminating zero.
  EXPECT_EQ(client.Message(MSG_TITLE_QUERY_2, 5, 0, buffer), 1u);
  EXPECT_STREQ(buffer, "Unti");
  client.SetFilePath("/home/me/house.vk1");
  EXPECT_EQ(client.Message(MSG_TITLE_QUERY, 16, 0, buffer), 1u);
  EXPECT_STREQ(buffer, "house.vk1");
  char path[260];
  EXPECT_EQ(client.Message(MSG_FILE_PATH_QUERY, 0, 0, path), 1u);
  EXPECT_STREQ(path, "/home/me/house.vk1");

  client.GetLayerModule().SetActive(4);
  EXPECT_EQ(client.Message(MSG_LAYER_ACTIVE_VALUE, 0, 0, nullptr), 4u);
  TClientModuleLayer* layers = nullptr;
  EXPECT_EQ(client.Message(MSG_LAYER_DATA, 0, 0, &layers), 1u);
  EXPECT_EQ(layers, &client.GetLayerModule());
  EXPECT_EQ(client.Message(MSG_MENU_VETO_A, 0, 0, nullptr), 0u);
}

TEST_F(DocumentTest, RoutesLayersToTheLayerModuleAndTheRestToThePageView)
{
  TUserInput::LayerSettings settings;
  settings.active = 2;
  input.AnswerLayers(settings);
  EXPECT_EQ(client.Message(CM_LAYERS, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.GetLayerModule().GetActive(), 2);
  EXPECT_EQ(client.Message(CM_ZOOM_200, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.GetZoom(), 200);
}

TEST_F(DocumentTest, SheetHasThePageColourAndOnlyVisibleLayers)
{
  client.GetPage()->SetPaperSize(40, 30);
  for (RecordingObject* object : {Add(2, 2, 10, 10), Add(20, 2, 30, 10)}) {
    object->GetBrush().SetStyle(TBrush::kSolid);
    object->GetBrush().SetColor(0x0000FF); // red
  }
  client.ObjectAtIndex(1)->SetLayers(2);
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
  EXPECT_EQ(render().pixel(35, 25), qRgb(0, 255, 0));
  // A page without a colour of its own comes out white.
  client.SetColor(1, kNoColor);
  EXPECT_EQ(render().pixel(35, 25), qRgb(255, 255, 255));
}
