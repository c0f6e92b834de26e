#include "ClassTable.h"
#include "DocumentFile.h"
#include "DocumentGenerator.h"
#include "ObjectFactories.h"
#include "TDataGroup.h"
#include "TDataGroupSymbol.h"
#include "TDataTexte.h"
#include "TaClientPage.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

class GeneratorTest : public ::testing::Test
{
protected:
  void SetUp() override { RegisterObjectFactories(); }

  // Generates and saves; answers the file's bytes.
  std::string Written(const GeneratorOptions& options)
  {
    TaClientPage client;
    GenerateDocument(client, options);
    client.SetFilePath(path);
    EXPECT_EQ(SaveDocument(client, false, false), kDocumentDone);
    return ReadWholeFile(path);
  }

  TempDir dir;
  const std::string path = dir.File("generated.vk1");
};

void Collect(const TData* object, std::vector<const TData*>& out)
{
  out.push_back(object);
  if (const auto* group = dynamic_cast<const TDataGroup*>(object)) {
    for (int32_t i = 0; i < group->GetChildCount(); ++i)
      Collect(group->GetChild(i), out);
  }
}

} // namespace

TEST_F(GeneratorTest, TheSameOptionsWriteTheSameFile)
{
  GeneratorOptions options;
  options.count = 500;
  const std::string first = Written(options);
  EXPECT_EQ(Written(options), first);
  options.seed = 2;
  EXPECT_NE(Written(options), first);
}

TEST_F(GeneratorTest, TheFileHoldsEveryKindOnAnEightByTenInchPage)
{
  GeneratorOptions options;
  options.count = 2000;
  Written(options);
  TaClientPage client;
  LoadReport report;
  ASSERT_EQ(LoadDocument(client, path.c_str(), &report), 1);
  EXPECT_FALSE(report.damaged);
  EXPECT_EQ(client.ObjectCount(), 2000) << "no group on the page is split when read";
  EXPECT_EQ(client.GetPage()->GetPaperWidth(), 800);
  EXPECT_EQ(client.GetPage()->GetPaperHeight(), 1000);
  EXPECT_EQ(client.GetPage()->GetUnitsPerInch(), 100);

  std::vector<const TData*> objects;
  for (int32_t i = 0; i < client.ObjectCount(); ++i)
    Collect(client.ObjectAtIndex(i), objects);
  for (int32_t i = 0; i < client.GetSymbolModule().GetDefinitionCount(); ++i)
    Collect(client.GetSymbolModule().GetDefinition(i), objects);
  std::set<int32_t> classes, widths, textSizes, angles;
  std::set<uint16_t> layers;
  bool filled = false;
  for (const TData* object : objects) {
    classes.insert(object->ClassId());
    widths.insert(object->GetPen().GetWidth());
    layers.insert(object->GetLayers());
    filled = filled || object->GetBrush().GetStyle() != TBrush::kHollow;
    if (const auto* text = dynamic_cast<const TDataTexte*>(object)) {
      textSizes.insert(text->GetFont().Record().height);
      angles.insert(text->GetAngle());
    }
  }
  for (int32_t kind :
       {kTDataLine, kTDataFleche, kTDataRectangle, kTPolyRectangle, kTDataCercle, kTDataPolygone,
        kTDataPolyLine, kTDataBezier, kTDataSin, kTDataTexte, kTDataTexteDate, kTDataTexteHeure,
        kTDataTexteNomFichier, kTDataDim, kTDataGroup, kTDataGroupSymbol, kTDataSymbol})
    EXPECT_EQ(classes.count(kind), 1u) << GetClassName(kind);
  EXPECT_EQ(*widths.begin(), 1) << "width 0 draws one pixel";
  EXPECT_EQ(*widths.rbegin(), 5);
  EXPECT_GT(textSizes.size(), 5u);
  EXPECT_GT(angles.size(), 3u);
  EXPECT_GT(layers.size(), 2u);
  EXPECT_TRUE(filled);
}

TEST_F(GeneratorTest, SimpleDocumentsHoldOnlyLinesRectanglesAndCircles)
{
  GeneratorOptions options;
  options.count = 300;
  options.simpleOnly = true;
  TaClientPage client;
  GenerateDocument(client, options);
  ASSERT_EQ(client.ObjectCount(), 300);
  std::set<int32_t> classes;
  for (int32_t i = 0; i < client.ObjectCount(); ++i)
    classes.insert(client.ObjectAtIndex(i)->ClassId());
  EXPECT_EQ(classes, (std::set<int32_t>{kTDataLine, kTDataRectangle, kTDataCercle}));
  EXPECT_EQ(client.GetSymbolModule().GetDefinitionCount(), 0);
}

TEST_F(GeneratorTest, EachKindOfPageHoldsWhatItIsNamedFor)
{
  struct Expected
  {
    GeneratorOptions::Kind kind;
    std::set<int32_t> classes;
    int32_t minTexts, maxTexts; // percent of the objects
  };
  const Expected cases[] = {
      {GeneratorOptions::Kind::kDense,
       {kTDataTexte, kTDataLine, kTDataRectangle, kTDataCercle, kTDataPolygone, kTDataBezier},
       5,
       15},
      {GeneratorOptions::Kind::kPlan, {kTDataLine, kTDataRectangle, kTDataDim, kTDataTexte}, 10, 20},
      {GeneratorOptions::Kind::kText, {kTDataTexte}, 100, 100},
  };
  for (const Expected& expected : cases) {
    TaClientPage client;
    GeneratorOptions options;
    options.count = 2000;
    options.kind = expected.kind;
    GenerateDocument(client, options);
    ASSERT_EQ(client.ObjectCount(), 2000);
    std::set<int32_t> classes;
    int32_t texts = 0, filled = 0, thick = 0;
    for (int32_t i = 0; i < client.ObjectCount(); ++i) {
      const TData* object = client.ObjectAtIndex(i);
      classes.insert(object->ClassId());
      texts += object->ClassId() == kTDataTexte;
      filled += object->GetBrush().GetStyle() != TBrush::kHollow;
      thick += object->GetPen().GetWidth() > 1;
    }
    EXPECT_EQ(classes, expected.classes) << static_cast<int>(expected.kind);
    EXPECT_GE(texts * 100, expected.minTexts * 2000);
    EXPECT_LE(texts * 100, expected.maxTexts * 2000);
    if (expected.kind == GeneratorOptions::Kind::kDense) {
      // About half the shapes filled, many pens wider than a unit.
      EXPECT_GT(filled * 100, 2000 * 30);
      EXPECT_GT(thick * 100, 2000 * 30);
    }
    if (expected.kind == GeneratorOptions::Kind::kPlan) {
      EXPECT_EQ(filled, 0);
      EXPECT_EQ(thick, 0);
    }
  }
}
