// The SVG surface: one element per object under its name, layers an
// editor knows as layers, symbols defined once and used, shared styles,
// text that survives any characters, and a file that is always well formed.

#include "ClassTable.h"
#include "TBrush.h"
#include "TData.h"
#include "TFont.h"
#include "TPen.h"
#include "TSvgDevice.h"
#include "TextMetrics.h"

#include <QTextLayout>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

// A drawing object of a given kind; only its class matters here.
class Kind : public TData
{
public:
  explicit Kind(int32_t id) { classId = id; }
};

struct Element
{
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string text;
  std::string path; // ids of the enclosing elements, outermost first
};

// Every element of the file in document order; fails the test on any XML
// error.
std::vector<Element> Parse(const std::string& svg)
{
  std::vector<Element> elements;
  std::vector<std::string> ids;
  std::vector<size_t> open;
  QXmlStreamReader reader(QByteArray::fromStdString(svg));
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement()) {
      Element element;
      element.name = reader.name().toString().toStdString();
      for (const QXmlStreamAttribute& a : reader.attributes())
        element.attributes[a.qualifiedName().toString().toStdString()] = a.value().toString().toStdString();
      for (const std::string& id : ids)
        element.path += id + "/";
      ids.push_back(element.attributes.count("id") ? element.attributes["id"] : element.name);
      open.push_back(elements.size());
      elements.push_back(element);
    } else if (reader.isEndElement()) {
      ids.pop_back();
      open.pop_back();
    } else if (reader.isCharacters() && !open.empty()) {
      elements[open.back()].text += reader.text().toString().toStdString();
    }
  }
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString() << "\n" << svg;
  return elements;
}

const Element* Find(const std::vector<Element>& elements, const std::string& id)
{
  for (const Element& e : elements)
    if (e.attributes.count("id") && e.attributes.at("id") == id)
      return &e;
  return nullptr;
}

size_t Count(const std::vector<Element>& elements, const std::string& name)
{
  size_t n = 0;
  for (const Element& e : elements)
    n += e.name == name;
  return n;
}

// The style a class stands for, from the file's style sheet.
std::string StyleOf(const std::string& svg, const std::string& cls)
{
  const size_t at = svg.find("." + cls + "{");
  if (at == std::string::npos)
    return {};
  const size_t start = at + cls.size() + 2;
  return svg.substr(start, svg.find('}', start) - start);
}

class SvgDeviceTest : public ::testing::Test
{
protected:
  TSvgDevice svg{800, 1000, 100, false};
  TPen pen{0, 2, TPen::kSolid};
};

} // namespace

TEST_F(SvgDeviceTest, EachObjectIsOneElementUnderItsNameAndLayersAreEditorLayers)
{
  svg.SetLayer(3, "Walls & doors", true);
  svg.SetLayer(0, "Notes", false);
  svg.BeginLayer(8);
  svg.SelectPen(pen);
  svg.BeginObject(Kind(kTDataRectangle));
  svg.Rectangle(10, 20, 110, 70);
  svg.EndObject();
  // An arrow draws its shaft and its head: its parts are grouped.
  svg.BeginObject(Kind(kTDataFleche));
  svg.Line(0, 0, 100, 0);
  svg.Line(100, 0, 90, 5);
  svg.EndObject();
  // A group of a rectangle and of an object that drew nothing here.
  svg.BeginObject(Kind(kTDataGroup));
  svg.BeginObject(Kind(kTDataRectangle));
  svg.Rectangle(0, 0, 5, 5);
  svg.EndObject();
  svg.BeginObject(Kind(kTDataCercle));
  svg.EndObject();
  svg.EndObject();
  // An object of another kind whose only part is an object of its own keeps
  // both names, on two elements.
  svg.BeginObject(Kind(kTVue));
  svg.BeginObject(Kind(kTDataCercle));
  svg.Ellipse(0, 0, 10, 10);
  svg.EndObject();
  svg.EndObject();
  svg.BeginLayer(1);
  svg.BeginObject(Kind(kTDataLine));
  svg.Line(1, 1, 2, 2);
  svg.EndObject();
  const std::string file = svg.Finish();
  const std::vector<Element> e = Parse(file);

  const Element* rect = Find(e, "rect1");
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->name, "rect");
  EXPECT_EQ(rect->path, "svg/layer4/");
  const Element* arrow = Find(e, "arrow1");
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(arrow->name, "g");
  const Element* group = Find(e, "group1");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->name, "g");
  const Element* member = Find(e, "rect2");
  ASSERT_NE(member, nullptr);
  EXPECT_EQ(member->path, "svg/layer4/group1/");
  ASSERT_NE(Find(e, "object1"), nullptr);
  EXPECT_EQ(Find(e, "object1")->name, "g");
  ASSERT_NE(Find(e, "circle1"), nullptr);
  EXPECT_EQ(Find(e, "circle1")->path, "svg/layer4/object1/");
  EXPECT_EQ(Count(e, "line"), 3u);

  // All eight layers, bottom first, named; the hidden one kept but hidden.
  std::vector<std::string> layers;
  for (const Element& x : e)
    if (x.attributes.count("inkscape:groupmode") && x.attributes.at("inkscape:groupmode") == "layer")
      layers.push_back(x.attributes.at("id"));
  EXPECT_EQ(layers, (std::vector<std::string>{"layer8", "layer7", "layer6", "layer5", "layer4", "layer3",
                                              "layer2", "layer1"}));
  EXPECT_EQ(Find(e, "layer4")->attributes.at("inkscape:label"), "Walls & doors");
  EXPECT_EQ(Find(e, "layer1")->attributes.at("style"), "display:none");
  EXPECT_EQ(Find(e, "layer4")->attributes.count("style"), 0u);
  EXPECT_EQ(Find(e, "line1")->path, "svg/layer1/");

  // The paper at its physical size, one user unit per logical unit.
  const Element& root = e.front();
  EXPECT_EQ(root.attributes.at("width"), "8in");
  EXPECT_EQ(root.attributes.at("height"), "10in");
  EXPECT_EQ(root.attributes.at("viewBox"), "0 0 800 1000");
  TSvgDevice metric(2100, 2970, 254, true);
  EXPECT_NE(metric.Finish().find(R"(width="210mm" height="297mm")"), std::string::npos);
}

TEST_F(SvgDeviceTest, ASymbolIsDefinedOncePerLayerAndEveryInstanceUsesIt)
{
  svg.BeginLayer(8);
  svg.SelectPen(pen);
  // The first instance draws the definition, relative to its own position.
  svg.BeginObject(Kind(kTDataSymbol));
  ASSERT_EQ(svg.BeginSymbol("Desk lamp/2", 8, 100, 200), TPageDevice::SymbolUse::kDefine);
  svg.BeginObject(Kind(kTDataRectangle));
  svg.Rectangle(110, 210, 120, 220);
  svg.EndObject();
  svg.EndSymbol();
  svg.EndObject();
  // The others only refer to it.
  svg.BeginObject(Kind(kTDataSymbol));
  EXPECT_EQ(svg.BeginSymbol("Desk lamp/2", 8, 300, 50), TPageDevice::SymbolUse::kPlaced);
  svg.EndObject();
  // Another layer with nothing of the symbol on it: no definition, no use.
  svg.BeginLayer(4);
  svg.BeginObject(Kind(kTDataSymbol));
  ASSERT_EQ(svg.BeginSymbol("Desk lamp/2", 4, 100, 200), TPageDevice::SymbolUse::kDefine);
  svg.EndSymbol();
  svg.EndObject();
  EXPECT_EQ(svg.BeginSymbol("Desk lamp/2", 4, 1, 1), TPageDevice::SymbolUse::kPlaced);
  // A layer where it shows again gets a definition of its own.
  svg.BeginLayer(2);
  ASSERT_EQ(svg.BeginSymbol("Desk lamp/2", 2, 0, 0), TPageDevice::SymbolUse::kDefine);
  svg.Line(0, 0, 5, 5);
  svg.EndSymbol();
  const std::string file = svg.Finish();
  const std::vector<Element> e = Parse(file);

  ASSERT_EQ(Count(e, "symbol"), 2u);
  const Element* symbol = Find(e, "Desk_lamp_2");
  ASSERT_NE(symbol, nullptr);
  EXPECT_EQ(symbol->name, "symbol");
  EXPECT_NE(Find(e, "Desk_lamp_2-2"), nullptr);
  const Element* inside = Find(e, "rect1");
  ASSERT_NE(inside, nullptr);
  EXPECT_EQ(inside->path, "svg/defs/Desk_lamp_2/");
  // Pen of 2 units: its centre line runs on the box's edge units.
  EXPECT_EQ(inside->attributes.at("x"), "10");
  EXPECT_EQ(inside->attributes.at("y"), "10");

  std::vector<std::string> uses;
  for (const Element& x : e)
    if (x.name == "use")
      uses.push_back(x.attributes.at("xlink:href") + "@" + x.attributes.at("x") + "," + x.attributes.at("y") +
                     " " + (x.attributes.count("id") ? x.attributes.at("id") : std::string()));
  EXPECT_EQ(uses, (std::vector<std::string>{"#Desk_lamp_2@100,200 symbol1", "#Desk_lamp_2@300,50 symbol2",
                                            "#Desk_lamp_2-2@0,0 "}));
}

TEST_F(SvgDeviceTest, TextKeepsEveryCharacterSafeAndTheLinesOfOneTextShareAnElement)
{
  TLogFont record;
  record.height = -20;
  record.weight = 700;
  record.SetFaceName("Liberation Sans");
  svg.SelectFont(TFont(record));
  svg.SetBkMode(TRANSPARENT_);
  svg.BeginLayer(8);
  svg.BeginObject(Kind(kTDataTexte));
  svg.TextOut(10, 10, "a<b & \"c\"", nullptr, 0);
  svg.TextOut(10, 30, "\x01tab\there\x7f", nullptr, 0);
  svg.EndObject();
  // Turned text turns about its anchor; a bad byte is mended, not copied.
  record.escapement = 300;
  record.SetFaceName("X']]>}<&\"");
  svg.SelectFont(TFont(record));
  svg.BeginObject(Kind(kTDataTexte));
  svg.TextOut(100, 200, "\xff turned", nullptr, 0);
  svg.EndObject();
  const std::string file = svg.Finish();
  const std::vector<Element> e = Parse(file);

  const Element* first = Find(e, "text1");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->name, "text");
  EXPECT_EQ(first->attributes.at("xml:space"), "preserve");
  EXPECT_EQ(Count(e, "tspan"), 3u);
  std::vector<std::string> lines;
  for (const Element& x : e)
    if (x.name == "tspan")
      lines.push_back(x.text);
  EXPECT_EQ(lines[0], "a<b & \"c\"");
  EXPECT_EQ(lines[1], "tab\there\x7f");
  EXPECT_EQ(lines[2], "\xef\xbf\xbd turned");
  const std::string style = StyleOf(file, first->attributes.at("class"));
  EXPECT_NE(style.find("font-size:20px"), std::string::npos) << style;
  EXPECT_NE(style.find("font-weight:700"), std::string::npos) << style;

  // A face name from a document cannot break out of the style sheet.
  const size_t sheet = file.find("<style");
  EXPECT_EQ(file.find("]]>", sheet), file.find("</style>", sheet) - 3);
  EXPECT_NE(style.find("font-family:'Liberation Sans'"), std::string::npos) << style;

  const Element* turned = Find(e, "text2");
  ASSERT_NE(turned, nullptr);
  EXPECT_EQ(turned->attributes.at("transform"), "rotate(-30 100 200)");
}

TEST_F(SvgDeviceTest, ALineIsAsLongInAViewerThatKernsAsOnThePage)
{
  // The page does not kern; viewers do. A line with kerning pairs is
  // spaced out by what kerning takes away (measured here by laying the
  // line out both ways), a line without them is left alone.
  TLogFont record;
  record.height = -40;
  record.weight = 700;
  record.SetFaceName("Liberation Sans");
  const TFont font(record);
  svg.SelectFont(font);
  svg.SetBkMode(TRANSPARENT_);
  svg.BeginLayer(8);
  for (const char* line : {"AVAVAV To", "minimum"}) {
    svg.BeginObject(Kind(kTDataTexte));
    svg.TextOut(10, 10, line, nullptr, 0);
    svg.EndObject();
  }
  std::vector<const Element*> lines;
  const std::vector<Element> e = Parse(svg.Finish());
  for (const Element& x : e)
    if (x.name == "tspan")
      lines.push_back(&x);
  ASSERT_EQ(lines.size(), 2u);

  const auto width = [&font](const QString& text, bool kerning) {
    QFont qfont = TextFont(font);
    qfont.setKerning(kerning);
    QTextLayout layout(text, qfont);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return line.horizontalAdvance();
  };
  const QString kerned = QStringLiteral("AVAVAV To");
  const double lost = width(kerned, false) - width(kerned, true);
  ASSERT_GT(lost, 1.0) << "the font kerns these pairs";
  ASSERT_EQ(lines[0]->attributes.count("letter-spacing"), 1u);
  EXPECT_NEAR(std::stod(lines[0]->attributes.at("letter-spacing")) * kerned.size(), lost,
              0.01 * kerned.size());
  EXPECT_EQ(lines[1]->attributes.count("letter-spacing"), 0u);
}

TEST_F(SvgDeviceTest, PensBrushesAndClipsBecomeSharedStyles)
{
  svg.BeginLayer(8);
  TBrush hatch;
  hatch.SetStyle(TBrush::kHatched);
  hatch.SetHatch(TBrush::kCross);
  hatch.SetColor(0x0000FF);
  svg.SelectBrush(hatch);
  svg.SelectPen(pen);
  svg.Rectangle(0, 0, 10, 10);
  svg.Rectangle(20, 0, 30, 10);
  svg.Ellipse(0, 20, 11, 31);
  // A hairline keeps its pixel width at any scale; an inside-frame pen
  // draws inside the box; thin dashes come in pixels.
  svg.SelectPen(TPen(0, 0, TPen::kSolid));
  svg.Line(0, 0, 10, 0);
  svg.SelectPen(TPen(0, 6, TPen::kInsideFrame));
  svg.Rectangle(100, 100, 200, 150);
  svg.SelectPen(TPen(0, 1, TPen::kDash));
  svg.Line(0, 50, 100, 50);
  // Dashes of the widest pen a file can hold are still whole numbers.
  svg.SelectPen(TPen(0, INT32_MAX, TPen::kDashDot));
  svg.Line(0, 60, 100, 60);
  // The paper clips by itself; a smaller clip is a shared clip path.
  const int32_t paper[4] = {0, 0, 800, 1000};
  svg.SetClip(paper);
  svg.Line(1, 1, 2, 2);
  const int32_t box[4] = {5, 5, 50, 50};
  svg.SetClip(box);
  svg.Line(3, 3, 4, 4);
  svg.Line(6, 6, 7, 7);
  svg.SetClip(nullptr);
  const std::string file = svg.Finish();
  const std::vector<Element> e = Parse(file);

  std::vector<const Element*> shapes;
  for (const Element& x : e)
    if (x.name == "rect" || x.name == "ellipse" || x.name == "line")
      if (x.path.find("/defs/") == std::string::npos)
        shapes.push_back(&x);
  ASSERT_EQ(shapes.size(), 10u);
  EXPECT_EQ(shapes[0]->attributes.at("class"), shapes[1]->attributes.at("class"));
  EXPECT_EQ(shapes[0]->attributes.at("class"), shapes[2]->attributes.at("class"));
  EXPECT_EQ(Count(e, "pattern"), 1u);
  EXPECT_EQ(StyleOf(file, shapes[0]->attributes.at("class")),
            "fill:url(#hatch1);stroke:#000000;stroke-width:2;stroke-linecap:round;stroke-linejoin:round");
  // An even width runs on the edge units.
  EXPECT_EQ(shapes[2]->attributes.at("cx"), "5");
  EXPECT_EQ(shapes[2]->attributes.at("rx"), "5");

  EXPECT_EQ(StyleOf(file, shapes[3]->attributes.at("class")),
            "fill:none;stroke:#000000;stroke-width:1;vector-effect:non-scaling-stroke");
  EXPECT_EQ(shapes[3]->attributes.at("y1"), "0.5");
  EXPECT_EQ(shapes[4]->attributes.at("x"), "103");
  EXPECT_EQ(shapes[4]->attributes.at("width"), "94");
  EXPECT_EQ(shapes[4]->attributes.at("height"), "44");
  EXPECT_EQ(StyleOf(file, shapes[5]->attributes.at("class")),
            "fill:none;stroke:#000000;stroke-width:1;stroke-dasharray:18,6");

  EXPECT_NE(StyleOf(file, shapes[6]->attributes.at("class")).find("stroke-dasharray:8589934588,4294967294,"),
            std::string::npos);

  EXPECT_EQ(shapes[7]->attributes.count("clip-path"), 0u);
  EXPECT_EQ(shapes[8]->attributes.at("clip-path"), "url(#clip1)");
  EXPECT_EQ(shapes[9]->attributes.at("clip-path"), "url(#clip1)");
  EXPECT_EQ(Count(e, "clipPath"), 1u);
}

TEST_F(SvgDeviceTest, CurvesStayCurves)
{
  svg.BeginLayer(8);
  TPen even(0, 2, TPen::kSolid);
  svg.SelectPen(even);
  EXPECT_TRUE(svg.QuadraticCurve({0, 0}, {50, 100}, {100, 0}));
  // A quarter pie from the right (0°) to the top (90°), counter-clockwise,
  // and a chord across more than half the ellipse.
  svg.Pie(0, 0, 201, 101, {300, 50}, {100, -200});
  svg.Chord(0, 0, 201, 101, {100, -200}, {300, 50});
  svg.Arc(0, 0, 201, 101, {300, 50}, {300, 50});
  const std::vector<Element> e = Parse(svg.Finish());
  std::vector<std::string> paths;
  for (const Element& x : e)
    if (x.name == "path" && x.path.find("/defs/") == std::string::npos)
      paths.push_back(x.attributes.at("d"));
  ASSERT_EQ(paths.size(), 4u);
  EXPECT_EQ(paths[0], "M0 0Q50 100 100 0");
  EXPECT_EQ(paths[1], "M100 50L200 50A100 50 0 0 0 100 0Z");
  EXPECT_EQ(paths[2], "M100 0A100 50 0 1 0 200 50Z");
  // The same point twice is the whole ellipse: two half arcs.
  EXPECT_EQ(paths[3], "M200 50A100 50 0 0 0 0 50A100 50 0 0 0 200 50");
}
