// Documents made to cost more than any page shows: drawing them is bounded
// and says so, and nothing about them takes time that grows with what they
// would expand to.

#include "DocumentTestSupport.h"

#include "ObjectFactories.h"
#include "SheetExport.h"
#include "TDataGroupSymbol.h"
#include "TDataRectangle.h"
#include "TDataSymbol.h"
#include "TPageMem.h"

#include <string>

namespace {

class HostileDocumentTest : public DocumentTest
{
protected:
  void SetUp() override
  {
    DocumentTest::SetUp();
    RegisterObjectFactories();
  }
  // Level 0 is a small frame; every level above shows the one below
  // twice, side by side: level n stands for 2^n frames.
  TDataSymbol* Bomb(int32_t levels)
  {
    TClientModuleSym& library = client.GetSymbolModule();
    auto* base = new TDataGroupSymbol;
    base->SetName("L0");
    base->AddChild(new TDataRectangle(TRect(0, 0, 4, 4)));
    base->SetRect(TRect(0, 0, 4, 4), kRectFrame);
    EXPECT_TRUE(library.AddDefinition(base));
    for (int32_t level = 1; level <= levels; ++level) {
      auto* definition = new TDataGroupSymbol;
      definition->SetName("L" + std::to_string(level));
      const std::string below = "L" + std::to_string(level - 1);
      definition->AddChild(new TDataSymbol(&library, 0, 0, below));
      definition->AddChild(new TDataSymbol(&library, 2, 2, below));
      definition->SetRect(TRect(0, 0, 4 + 2, 4 + 2), kRectFrame);
      EXPECT_TRUE(library.AddDefinition(definition));
    }
    library.UpdateInstances({});
    auto* top = new TDataSymbol(&library, 50, 50, "L" + std::to_string(levels));
    client.AddObject(top, false);
    return top;
  }
};

} // namespace

TEST_F(HostileDocumentTest, SymbolsDoublingAtEachOfFortyLevelsAreDrawnWithinABoundAndSaySo)
{
  TDataSymbol* top = Bomb(40);
  // The layers of 2^40 frames, found by walking each definition once.
  EXPECT_EQ(top->GetLayers(), 8);

  TPageMem image(client.GetPage()->GetPaperWidth(), client.GetPage()->GetPaperHeight(), 10);
  ASSERT_TRUE(image.HasBitmap());
  EXPECT_FALSE(RenderSheet(client, image)) << "the paint says it left part out";
  EXPECT_TRUE(image.NestedPaintLimited());

  // A new binding gives the budget anew: a modest symbol draws whole.
  TaClientPage modest(4);
  auto* frame = new TDataGroupSymbol;
  frame->SetName("Frame");
  frame->AddChild(new TDataRectangle(TRect(0, 0, 10, 10)));
  frame->SetRect(TRect(0, 0, 10, 10), kRectFrame);
  ASSERT_TRUE(modest.GetSymbolModule().AddDefinition(frame));
  modest.AddObject(new TDataSymbol(&modest.GetSymbolModule(), 20, 20, "Frame"), false);
  TPageMem other(modest.GetPage()->GetPaperWidth(), modest.GetPage()->GetPaperHeight(), 10);
  EXPECT_TRUE(RenderSheet(modest, other));
}

TEST_F(HostileDocumentTest, AnExportOfTheNestedSymbolsIsWrittenWithAWarning)
{
  Bomb(30);
  std::string error, warning;
  const std::string path = dir.File("bomb.png");
  ASSERT_TRUE(ExportSheet(client, path, 10, 75, &error, &warning)) << error;
  EXPECT_NE(warning.find("without part of its symbols"), std::string::npos) << warning;
  EXPECT_FALSE(ReadWholeFile(path).empty());
}

TEST_F(HostileDocumentTest, AnSvgOfTheNestedSymbolsDefinesEachLevelOnceAndIsWhole)
{
  // 2^40 frames drawn, yet each definition is written once and used twice
  // by the one above: the file is complete, small, and quick to make.
  Bomb(40);
  std::string error, warning;
  const std::string path = dir.File("bomb.svg");
  ASSERT_TRUE(ExportSheet(client, path, 100, 75, &error, &warning)) << error;
  EXPECT_TRUE(warning.empty()) << warning;
  const std::string svg = ReadWholeFile(path);
  EXPECT_LT(svg.size(), 64u * 1024);
  size_t symbols = 0, uses = 0;
  for (size_t at = svg.find("<symbol "); at != std::string::npos; at = svg.find("<symbol ", at + 1))
    ++symbols;
  for (size_t at = svg.find("<use "); at != std::string::npos; at = svg.find("<use ", at + 1))
    ++uses;
  EXPECT_EQ(symbols, 41u);
  EXPECT_EQ(uses, 2u * 40 + 1);
}
