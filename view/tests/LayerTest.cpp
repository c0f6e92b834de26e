#include "ViewTestSupport.h"

#include "CommandIds.h"
#include "StringTable.h"
#include "TClientModuleLayer.h"
#include "TInStream.h"
#include "TOutStream.h"

#include <string>

namespace {

class LayerTest : public ViewTest
{
protected:
  void Read(const std::string& text)
  {
    TInStream is(text);
    layers.Read(is);
  }

  TClientModuleLayer layers{&client};
};

TEST(LayerChecks, RefusalsComeInTheirOrder)
{
  EXPECT_EQ(CheckLayerSettings(8, 0xFFFF & ~8, 8), IDS_LAYER_ACTIVE_PROTECTED_HIDDEN);
  EXPECT_EQ(CheckLayerSettings(8, 0xFFFF, 8), IDS_LAYER_ACTIVE_PROTECTED);
  EXPECT_EQ(CheckLayerSettings(8, 0xFFFF & ~8, 0), IDS_LAYER_ACTIVE_HIDDEN);
  EXPECT_EQ(CheckLayerSettings(8, 0xFFFF, 4), 0u);
  // Several active layers are refused only when all of them offend.
  EXPECT_EQ(CheckLayerSettings(0xFFFF, 0xFFFF & ~8, 8), 0u);
  EXPECT_EQ(std::string(LoadStr(IDS_LAYER_ACTIVE_PROTECTED)),
            "The active layer is protected!\n\nRemove protection or change the active layer");
}

TEST_F(LayerTest, SectionWritesVersionTwoAndReadsBack)
{
  layers.SetName(2, "Walls");
  layers.SetActive(4);
  layers.SetProtected(2);
  layers.SetVisible(0xFF);
  TOutStream os;
  layers.Write(os);
  EXPECT_EQ(os.Data(), "\n[VEKT Layers]\n2 255 4 2 8\n1\n2\nWalls\n4\n5\n6\n7\n8\n");

  TestClient other;
  TClientModuleLayer back(&other);
  TInStream is(os.Data());
  back.Read(is);
  EXPECT_EQ(back.GetVisible(), 0xFF);
  EXPECT_EQ(other.GetPage()->GetDrawingLayers(), 0xFF);
  EXPECT_EQ(back.GetActive(), 4);
  EXPECT_EQ(back.GetProtected(), 2);
  EXPECT_STREQ(back.GetName(2), "Walls");
}

TEST_F(LayerTest, MissingSectionMakesEveryLayerVisibleAndActive)
{
  layers.SetActive(8);
  layers.SetProtected(1);
  Read("\n[VEKT Snap]\n0 0 0 10 10 10 10\n");
  EXPECT_EQ(layers.GetVisible(), 0xFFFF);
  EXPECT_EQ(layers.GetActive(), 0xFFFF);
  EXPECT_EQ(layers.GetProtected(), 0);
}

TEST_F(LayerTest, OldSectionsTurnAllActiveIntoLayerFour)
{
  Read("\n[VEKT Layers]\n1 65535 255 0 8\n1\n2\n3\n4\n5\n6\n7\n8\n");
  EXPECT_EQ(layers.GetActive(), 8);
  // Version 0 has no protected mask.
  layers.SetProtected(4);
  Read("\n[VEKT Layers]\n0 65535 255 2\nA\nB\n");
  EXPECT_EQ(layers.GetActive(), 8);
  EXPECT_EQ(layers.GetProtected(), 0);
  EXPECT_STREQ(layers.GetName(1), "B");
  EXPECT_STREQ(layers.GetName(2), "3");
  // Version 2 keeps 255.
  Read("\n[VEKT Layers]\n2 65535 255 0 0\n");
  EXPECT_EQ(layers.GetActive(), 255);
}

TEST_F(LayerTest, LongNamesAndExtraNamesStayInTheirLines)
{
  const std::string forty(40, 'x');
  const std::string accented = std::string(30, 'a') + "\xC3\xA9"; // 32 bytes, "é" last
  Read("\n[VEKT Layers]\n2 65535 8 0 10\n" + forty + "\nsecond\n" + accented +
       "\n4\n5\n6\n7\neighth\nninth\ntenth\n\n[VEKT Snap]\n");
  EXPECT_EQ(std::string(layers.GetName(0)), std::string(31, 'x'));
  EXPECT_STREQ(layers.GetName(1), "second");
  EXPECT_EQ(std::string(layers.GetName(2)), std::string(30, 'a'));
  EXPECT_STREQ(layers.GetName(7), "eighth");
  EXPECT_EQ(layers.GetName(8), nullptr);
}

TEST_F(LayerTest, DialogRefusesBadSettingsAndAppliesGoodOnes)
{
  TUserInput::LayerSettings bad;
  bad.active = 8;
  bad.protectedMask = 8;
  TUserInput::LayerSettings good;
  good.active = 1;
  good.visible = 0xFFFF & ~4;
  good.protectedMask = 2;
  good.names[0] = "Base";
  input.AnswerLayers(bad);
  input.AnswerLayers(good);
  input.invalidated.clear();
  EXPECT_EQ(layers.Command(CM_LAYERS, nullptr, 0), 1);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, LoadStr(IDS_LAYER_ACTIVE_PROTECTED));
  EXPECT_EQ(input.messageBoxes[0].flags, MB_OK_ | MB_ICONSTOP_);
  EXPECT_EQ(layers.GetActive(), 1);
  EXPECT_EQ(layers.GetVisible(), 0xFFFF & ~4);
  EXPECT_EQ(client.GetPage()->GetDrawingLayers(), 0xFFFF & ~4);
  EXPECT_EQ(layers.GetProtected(), 2);
  EXPECT_STREQ(layers.GetName(0), "Base");
  EXPECT_TRUE(client.IsModified());
  EXPECT_EQ(input.invalidated.size(), 1u);

  // Cancelled: nothing changes.
  client.SetModified(false);
  input.AnswerLayers(std::nullopt);
  EXPECT_EQ(layers.Command(CM_LAYERS, nullptr, 0), 0);
  EXPECT_FALSE(client.IsModified());
  EXPECT_EQ(layers.Command(CM_UNDO, nullptr, 0), 0);
}

} // namespace
