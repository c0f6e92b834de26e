// A whole document as an SVG file: its objects, groups, symbols and layers
// come out as the structure an editor opens, with nothing lost.

#include "DocumentTestSupport.h"

#include "ObjectFactories.h"
#include "SheetExport.h"
#include "TDataBezier.h"
#include "TDataGroup.h"
#include "TDataGroupSymbol.h"
#include "TDataRectangle.h"
#include "TDataSymbol.h"

#include <QXmlStreamReader>

#include <map>
#include <string>
#include <vector>

namespace {

class SvgExportTest : public DocumentTest
{
protected:
  void SetUp() override
  {
    DocumentTest::SetUp();
    RegisterObjectFactories();
  }
  // The ids of the elements of the file, each with its element name and the
  // id of the layer or symbol it lies in.
  std::map<std::string, std::string> Ids(const std::string& svg)
  {
    std::map<std::string, std::string> ids;
    std::vector<std::string> within;
    QXmlStreamReader reader(QByteArray::fromStdString(svg));
    while (!reader.atEnd()) {
      reader.readNext();
      if (reader.isStartElement()) {
        const std::string id = reader.attributes().value("id").toString().toStdString();
        const std::string name = reader.name().toString().toStdString();
        if (!id.empty())
          ids[id] = name + (within.empty() || within.back().empty() ? "" : " in " + within.back());
        if (name == "symbol" || id.rfind("layer", 0) == 0)
          within.push_back(id);
        else
          within.push_back(within.empty() ? "" : within.back());
      } else if (reader.isEndElement()) {
        within.pop_back();
      }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return ids;
  }
};

} // namespace

TEST_F(SvgExportTest, ObjectsGroupsSymbolsAndHiddenLayersKeepTheirPlace)
{
  // A symbol made of a rectangle and of a group holding a rectangle and a
  // curve, placed three times.
  TClientModuleSym& library = client.GetSymbolModule();
  auto* group = new TDataGroup;
  group->AddChild(new TDataRectangle(TRect(10, 10, 50, 50)));
  group->AddChild(new TDataBezier(10, 100, 90, 100, 50, 20));
  auto* lamp = new TDataGroupSymbol;
  lamp->SetName("Lamp");
  lamp->AddChild(new TDataRectangle(TRect(0, 0, 20, 10)));
  lamp->AddChild(group);
  lamp->SetRect(TRect(0, 0, 90, 100), kRectFrame);
  ASSERT_TRUE(library.AddDefinition(lamp));
  for (int32_t x : {100, 200, 300})
    client.AddObject(new TDataSymbol(&library, x, 400, "Lamp"), false);

  // On the first layer, which is hidden: written, but hidden.
  auto* hidden = new TDataRectangle(TRect(500, 500, 600, 600));
  hidden->SetLayers(1);
  client.AddObject(hidden, false);
  client.GetLayerModule().SetVisible(0xFE);
  client.GetLayerModule().SetName(0, "Draft");

  std::string error, warning;
  const std::string path = dir.File("doc.svg");
  ASSERT_TRUE(ExportSheet(client, path, 100, 75, &error, &warning)) << error;
  const std::string svg = ReadWholeFile(path);
  SCOPED_TRACE(svg);
  const std::map<std::string, std::string> found = Ids(svg);
  auto ids = [&found](const std::string& id) {
    const auto at = found.find(id);
    return at == found.end() ? std::string("(none)") : at->second;
  };

  // The symbol once, its members inside it, the group as a group and the
  // curve still one curve; every instance uses the symbol.
  EXPECT_EQ(ids("Lamp"), "symbol");
  EXPECT_EQ(ids("rect1"), "rect in Lamp");
  EXPECT_EQ(ids("group1"), "g in Lamp");
  EXPECT_EQ(ids("rect2"), "rect in Lamp");
  EXPECT_EQ(ids("bezier1"), "path in Lamp");
  EXPECT_NE(svg.find(R"(<g id="group1">
<rect id="rect2")"),
            std::string::npos);
  EXPECT_NE(svg.find(R"(<path id="bezier1" d="M10.5 100.5Q50.5 20.5 90.5 100.5")"), std::string::npos);
  EXPECT_EQ(ids("symbol1"), "use in layer4");
  EXPECT_EQ(ids("symbol3"), "use in layer4");
  EXPECT_EQ(ids("symbol4"), "(none)");
  EXPECT_NE(svg.find(R"(<use id="symbol2" xlink:href="#Lamp" x="200" y="400"/>)"), std::string::npos);
  // The hidden layer and what is on it.
  EXPECT_EQ(ids("rect3"), "rect in layer1");
  EXPECT_NE(svg.find(R"(id="layer1" inkscape:groupmode="layer" inkscape:label="Draft" style="display:none")"),
            std::string::npos);
  EXPECT_EQ(svg.find("QtSvg"), std::string::npos);
}
