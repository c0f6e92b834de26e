#include "DocumentTestSupport.h"
#include "RenderTestSupport.h"

#include "Colors.h"
#include "DateTime.h"
#include "Defaults.h"
#include "ObjectFactories.h"
#include "SheetExport.h"
#include "TDataBezier.h"
#include "TDataCercle.h"
#include "TDataDim.h"
#include "TDataFleche.h"
#include "TDataGroup.h"
#include "TDataGroupSymbol.h"
#include "TDataLine.h"
#include "TDataPolyLine.h"
#include "TDataPolygone.h"
#include "TDataRectangle.h"
#include "TDataSin.h"
#include "TDataSymbol.h"
#include "TDataTexte.h"
#include "TDataTexteDate.h"
#include "TDataTexteHeure.h"
#include "TDataTexteNomFichier.h"
#include "TPolyRectangle.h"

#include <QImage>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <numbers>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// The showcase document is the page a new user sees first. It is built here
// from the real object classes and written by the document file code, so
// the example is exactly what Vekta writes. With VEKTA_UPDATE_SHOWCASE=1 the
// build replaces examples/showcase.vk1 (look at an export before committing).

namespace {

const std::string kShowcase = std::string(VEKTA_SOURCE_DIR) + "/examples/showcase.vk1";

constexpr uint32_t kNavy = MakeColor(0x1F, 0x3A, 0x68);
constexpr uint32_t kInk = MakeColor(0x30, 0x30, 0x38);
constexpr uint32_t kPanel = MakeColor(0xF4, 0xF7, 0xFB);
constexpr uint32_t kPanelEdge = MakeColor(0xB8, 0xC6, 0xD8);
constexpr uint32_t kRed = MakeColor(0xD0, 0x3A, 0x2F);
constexpr uint32_t kOrange = MakeColor(0xF0, 0x8C, 0x1E);
constexpr uint32_t kYellow = MakeColor(0xF6, 0xCD, 0x3B);
constexpr uint32_t kGreen = MakeColor(0x3C, 0x9A, 0x4A);
constexpr uint32_t kDarkGreen = MakeColor(0x2A, 0x6E, 0x34);
constexpr uint32_t kTeal = MakeColor(0x1E, 0x9A, 0xA0);
constexpr uint32_t kBlue = MakeColor(0x2F, 0x6F, 0xD0);
constexpr uint32_t kPurple = MakeColor(0x86, 0x45, 0xA8);
constexpr uint32_t kBrown = MakeColor(0x8A, 0x5A, 0x2E);
constexpr uint32_t kGrey = MakeColor(0x70, 0x78, 0x84);
constexpr uint32_t kWhite = MakeColor(0xFF, 0xFF, 0xFF);

// Panels: two columns of five, 360 x 160 units (an inch is 100 units).
constexpr int32_t kPanelWidth = 360;
constexpr int32_t kPanelHeight = 160;
constexpr int32_t kColumns[2] = {30, 410};
constexpr int32_t kRows[5] = {125, 297, 469, 641, 813};

TFont Font(int32_t size, int32_t weight = 0, bool italic = false)
{
  TLogFont record = TFont(size, 0).Record();
  record.weight = weight;
  record.italic = italic ? 1 : 0;
  return TFont(record);
}

// Builds the objects on a view, each with a pen and a brush.
class ShowcaseBuilder
{
public:
  explicit ShowcaseBuilder(TaClientPage& client) : m_client(client) {}

  void Build()
  {
    TPage& page = *m_client.GetPage();
    page.SetPaperSize(800, 1000);
    page.SetUnitsPerInch(100);
    page.SetUnitFactor(0.01f);
    page.SetDecimals(2);
    // Inches and fractions: what the dimensions show reads the same in
    // every language.
    page.SetNumberFormat(TPage::kFormatInches);
    m_client.SetGridStep(25, 25, false);
    m_client.SetSnapStep(5, 5);
    m_client.SetSnapOn(true);
    m_client.GetLayerModule().SetName(3, "Drawing");

    Title();
    LinesAndArrows(kColumns[0], kRows[0]);
    Rectangles(kColumns[1], kRows[0]);
    Circles(kColumns[0], kRows[1]);
    Polygons(kColumns[1], kRows[1]);
    Curves(kColumns[0], kRows[2]);
    Texts(kColumns[1], kRows[2]);
    Fields(kColumns[0], kRows[3]);
    Dimensions(kColumns[1], kRows[3]);
    Symbols(kColumns[0], kRows[4]);
    FillsAndPens(kColumns[1], kRows[4]);
  }

private:
  template <class T>
  T* Add(T* object, uint32_t colour, int32_t width = 1, uint32_t style = TPen::kSolid,
         TBrush brush = TBrush())
  {
    object->GetPen() = TPen(colour, width, style);
    object->GetBrush() = brush;
    // Curves sample by their pen: taking it this way lets them resample.
    TPen pen = object->GetPen();
    object->Message(MSG_TAKE_PEN, 0, 0, &pen);
    m_client.AddObject(object, false);
    return object;
  }

  TDataTexte* Text(int32_t x, int32_t y, std::string_view characters, const TFont& font, uint32_t colour)
  {
    auto* text = new TDataTexte(x, y, 0);
    text->SetText(characters);
    text->SetFont(font);
    text->SetColor(0, colour);
    m_client.AddObject(text, false);
    return text;
  }

  void Panel(int32_t x, int32_t y, std::string_view caption)
  {
    auto* panel = Add(new TDataRectangle(x, y, kPanelWidth, kPanelHeight), kPanelEdge, 1, TPen::kInsideFrame,
                      Solid(kPanel));
    panel->SetCorners(12, 12);
    Text(x + 14, y + 8, caption, Font(15, 700), kNavy);
  }

  void Title()
  {
    auto* band = Add(new TDataRectangle(30, 20, 740, 88), kNavy, 1, TPen::kInsideFrame, Solid(kNavy));
    band->SetCorners(16, 16);
    Text(55, 30, "Vekta", Font(44, 700), kWhite);
    Text(58, 80, "Every kind of drawing object on one page", Font(16, 0, true), MakeColor(0xD8, 0xE4, 0xF4));
    // A little emblem of overlapping shapes.
    auto* square = Add(new TDataRectangle(642, 40, 46, 46), kWhite, 2, TPen::kInsideFrame, Solid(kOrange));
    square->SetCorners(8, 8);
    Add(new TDataCercle(712, 58, 24), kWhite, 2, TPen::kInsideFrame, Solid(kYellow));
    const TPoint triangle[3] = {{672, 96}, {700, 50}, {728, 96}};
    Add(new TDataPolygone(triangle, 3), kWhite, 2, TPen::kInsideFrame, Solid(kTeal));
  }

  void LinesAndArrows(int32_t x, int32_t y)
  {
    Panel(x, y, "Lines and arrows");
    const int32_t left = x + 20, right = x + 150;
    Add(new TDataLine(left, y + 45, right, y + 45), kInk, 1);
    Add(new TDataLine(left, y + 67, right, y + 67), kInk, 0, TPen::kDash);
    Add(new TDataLine(left, y + 89, right, y + 89), kInk, 0, TPen::kDot);
    Add(new TDataLine(left, y + 111, right, y + 111), kBlue, 0, TPen::kDashDot);
    Add(new TDataLine(left, y + 136, right, y + 136), kRed, 5);
    const TPoint from{x + 180, y + 140};
    const uint32_t colours[4] = {kTeal, kGreen, kOrange, kPurple};
    for (int32_t i = 0; i < 4; ++i) {
      auto* arrow = Add(new TDataFleche(from.x, from.y, x + 340, y + 40 + 30 * i), colours[i], 1 + i / 2);
      arrow->SetHeadSize(10 + 2 * i);
    }
  }

  void Rectangles(int32_t x, int32_t y)
  {
    Panel(x, y, "Rectangles");
    auto* rounded =
        Add(new TDataRectangle(x + 20, y + 45, 95, 70), kInk, 2, TPen::kInsideFrame, Solid(kOrange));
    rounded->SetCorners(18, 18);
    Add(new TPolyRectangle(x + 135, y + 45, 90, 70, 0), kBlue, 1, TPen::kInsideFrame,
        Hatch(TBrush::kCross, kBlue));
    Add(new TPolyRectangle(x + 250, y + 95, 80, 45, 30), kPurple, 2, TPen::kInsideFrame,
        Solid(MakeColor(0xD9, 0xC2, 0xE6)));
  }

  void Circles(int32_t x, int32_t y)
  {
    Panel(x, y, "Circles, pies, chords and arcs");
    const int32_t cy = y + 95, r = 36;
    Add(new TDataCercle(x + 55, cy, r), kInk, 2, TPen::kInsideFrame, Solid(kYellow));
    auto* pie = Add(new TDataCercle(x + 140, cy, r), kInk, 1, TPen::kInsideFrame, Solid(kOrange));
    pie->SetShape(TDataCercle::kPie);
    pie->SetAngles(35, 325);
    auto* chord = Add(new TDataCercle(x + 225, cy, r), kDarkGreen, 1, TPen::kInsideFrame, Solid(kGreen));
    chord->SetShape(TDataCercle::kChord);
    chord->SetAngles(200, 340);
    auto* arc = Add(new TDataCercle(x + 305, cy, r), kTeal, 4);
    arc->SetShape(TDataCercle::kArc);
    arc->SetAngles(0, 230);
  }

  void Polygons(int32_t x, int32_t y)
  {
    Panel(x, y, "Polygons and polylines");
    // A five-pointed star drawn in one stroke: polygons fill even-odd, so
    // its centre stays empty.
    std::vector<TPoint> star;
    for (int32_t i = 0; i < 5; ++i) {
      const double a = (90 + 144 * i) * std::numbers::pi / 180;
      star.push_back({x + 75 + static_cast<int32_t>(std::lround(52 * std::cos(a))),
                      y + 100 - static_cast<int32_t>(std::lround(52 * std::sin(a)))});
    }
    Add(new TDataPolygone(star.data(), static_cast<uint16_t>(star.size())), kRed, 1, TPen::kInsideFrame,
        Solid(MakeColor(0xF2, 0x9B, 0x93)));
    const TPoint house[5] = {
        {x + 160, y + 145}, {x + 160, y + 90}, {x + 195, y + 55}, {x + 230, y + 90}, {x + 230, y + 145}};
    Add(new TDataPolygone(house, 5), kBrown, 2, TPen::kInsideFrame, Hatch(TBrush::kDiagonalCross, kBrown));
    const TPoint zigzag[6] = {{x + 255, y + 140}, {x + 275, y + 60},  {x + 295, y + 125},
                              {x + 315, y + 55},  {x + 330, y + 110}, {x + 345, y + 70}};
    Add(new TDataPolyLine(zigzag, 6), kGreen, 3);
  }

  void Curves(int32_t x, int32_t y)
  {
    Panel(x, y, "Bezier curves and sinusoids");
    Add(new TDataBezier(x + 20, y + 140, x + 160, y + 140, x + 90, y + 20), kPurple, 3);
    Add(new TDataBezier(x + 20, y + 70, x + 160, y + 110, x + 60, y + 150), kRed, 1, TPen::kDash);
    auto* wave = Add(new TDataSin(x + 185, y + 55, 160, 80), kTeal, 2);
    wave->SetQuarters(8);
    wave->Resample();
    auto* slow = Add(new TDataSin(x + 185, y + 75, 160, 40), kOrange, 1);
    slow->SetStartQuarter(1);
    slow->Resample();
  }

  void Texts(int32_t x, int32_t y)
  {
    Panel(x, y, "Texts");
    Text(x + 20, y + 40, "Left justified,\r\nin three\r\nlines", Font(13), kInk);
    TDataTexte* centred =
        Text(x + 140, y + 40, "Centred and wrapped to the width of its frame", Font(12), kBlue);
    centred->SetRect(TRect(x + 140, y + 40, x + 240, y + 50), kRectReframe);
    centred->SetJustification(TDataTexte::kCentred);
    TDataTexte* right = Text(x + 255, y + 40, "Right\r\njustified at\r\n150 %", Font(13), kInk);
    right->SetLineSpacing(150);
    right->SetJustification(TDataTexte::kRight);

    TDataTexte* framed = Text(x + 24, y + 118, "Framed", Font(18, 700), kRed);
    TBordure frame;
    frame.SetType(15);
    frame.colour1 = kRed;
    framed->SetBorder(frame);
    TDataTexte* turned = Text(x + 150, y + 145, "Turned by 15\xC2\xB0", Font(17, 0, true), kPurple);
    turned->SetAngle(15);
    TBordure dotted;
    dotted.SetType(6);
    dotted.colour1 = kPurple;
    turned->SetBorder(dotted);
  }

  void Fields(int32_t x, int32_t y)
  {
    Panel(x, y, "Fields that fill themselves in");
    const char* labels[3] = {"Date:", "Time:", "File:"};
    TDataTexteRpt* fields[3] = {new TDataTexteDate(&m_client, x + 85, y + 45),
                                new TDataTexteHeure(&m_client, x + 85, y + 80),
                                new TDataTexteNomFichier(&m_client, x + 85, y + 115)};
    static_cast<TDataTexteDate*>(fields[0])->SetFormat(kDateMonthFirst);
    for (int32_t i = 0; i < 3; ++i) {
      Text(x + 24, y + 45 + 35 * i, labels[i], Font(15, 700), kGrey);
      fields[i]->SetFont(Font(15));
      fields[i]->SetColor(0, kNavy);
      fields[i]->Message(MSG_REFRESH_NO_WINDOW, 0, 0, nullptr);
      m_client.AddObject(fields[i], false);
    }
    Text(x + 252, y + 45,
         "Date and time\r\nfollow the clock\r\nwhen printed;\r\nthe file name\r\nwhen saved.",
         Font(11, 0, true), kGrey);
  }

  void Dimensions(int32_t x, int32_t y)
  {
    Panel(x, y, "Dimensions");
    // A part 1 3/4" x 3/4" with an inclined strut of 1".
    Add(new TDataRectangle(x + 40, y + 65, 175, 75), kInk, 2, TPen::kInsideFrame,
        Hatch(TBrush::kBackwardDiagonal, kGrey))
        ->SetCorners(0, 0);
    Add(new TDataLine(x + 265, y + 141, x + 326, y + 60), kInk, 4);
    Add(new TDataDim(x + 40, y + 52, x + 215, y + 52), kNavy);
    Add(new TDataDim(x + 230, y + 65, x + 230, y + 140), kNavy);
    Add(new TDataDim(x + 251, y + 130, x + 312, y + 49), kRed);
  }

  void Symbols(int32_t x, int32_t y)
  {
    Panel(x, y, "Symbols and groups");
    // The crown of the tree is a group inside the symbol definition.
    TDataGroup tree;
    auto* crown = new TDataGroup;
    for (const TPoint& centre : {TPoint{22, 32}, TPoint{44, 22}, TPoint{58, 40}, TPoint{36, 50}}) {
      auto* leaf = new TDataCercle(centre.x, centre.y, 20);
      leaf->GetPen() = TPen(kDarkGreen, 1, TPen::kInsideFrame);
      leaf->GetBrush() = Solid(kGreen);
      crown->AddChild(leaf);
    }
    TRect crownBounds;
    crown->UnionOfChildren(crownBounds, 0);
    crown->Assign(crownBounds);
    auto* trunk = new TDataRectangle(34, 62, 14, 36);
    trunk->SetCorners(4, 4);
    trunk->GetPen() = TPen(kBrown, 1, TPen::kInsideFrame);
    trunk->GetBrush() = Solid(kBrown);
    tree.AddChild(trunk);
    tree.AddChild(crown);
    TRect bounds;
    tree.UnionOfChildren(bounds, 0);
    tree.Assign(bounds);

    auto* definition = new TDataGroupSymbol;
    definition->SetName("Tree");
    definition->BuildFrom(tree);
    m_client.GetSymbolModule().AddDefinition(definition);
    for (int32_t i = 0; i < 4; ++i) {
      auto* instance =
          new TDataSymbol(&m_client.GetSymbolModule(), x + 25 + 80 * i, y + 30 + (i % 2) * 8, "Tree");
      m_client.AddObject(instance, false);
    }
    Text(x + 24, y + 142, "One definition, \"Tree\", placed four times.", Font(11, 0, true), kGrey);
  }

  void FillsAndPens(int32_t x, int32_t y)
  {
    Panel(x, y, "Fills, hatches and pen widths");
    const uint32_t colours[6] = {kRed, kOrange, kGreen, kTeal, kBlue, kPurple};
    for (int32_t i = 0; i < 6; ++i) {
      auto* swatch = Add(new TDataRectangle(x + 20 + 55 * i, y + 40, 45, 45), colours[i], 1,
                         TPen::kInsideFrame, Hatch(i, colours[i]));
      swatch->SetCorners(0, 0);
    }
    for (int32_t i = 0; i < 4; ++i)
      Add(new TDataLine(x + 20, y + 103 + 14 * i, x + 340, y + 103 + 14 * i), kNavy, 1 + 2 * i);
  }

  TaClientPage& m_client;
};

// Every object of the document and of its symbol definitions, groups
// opened.
void Collect(const TData* object, std::vector<const TData*>& out)
{
  out.push_back(object);
  if (const auto* group = dynamic_cast<const TDataGroup*>(object)) {
    for (int32_t i = 0; i < group->GetChildCount(); ++i)
      Collect(group->GetChild(i), out);
  }
}

// The date and time fields show the moment they were made; a comparison
// of two builds gives them the same text.
void CopyClockTexts(const TaClientPage& from, TaClientPage& to)
{
  ASSERT_EQ(from.ObjectCount(), to.ObjectCount());
  for (int32_t i = 0; i < from.ObjectCount(); ++i) {
    const TData* source = from.ObjectAtIndex(i);
    if (source->IsA(kTDataTexteDate) || source->IsA(kTDataTexteHeure))
      static_cast<TDataTexte*>(to.ObjectAtIndex(i))
          ->SetText(static_cast<const TDataTexte*>(source)->GetText());
  }
}

class ShowcaseTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    RegisterObjectFactories();
    SetNameLanguage(kLanguageEnglish);
  }
  void TearDown() override { SetNameLanguage(m_language); }

  std::string Build(TaClientPage& client, const std::string& path)
  {
    ShowcaseBuilder(client).Build();
    client.SetFilePath(path);
    EXPECT_EQ(SaveDocument(client, false, false), kDocumentDone);
    return ReadWholeFile(path);
  }

  const int32_t m_language = NameLanguage();
  TempDir dir;
};

} // namespace

// The document without the record of its file-name field, which shows
// where the document was last saved and so differs from one folder to the
// next.
std::string WithoutFileNameField(const std::string& document)
{
  std::istringstream lines(document);
  std::string kept, line;
  bool inField = false;
  while (std::getline(lines, line)) {
    if (line.rfind("TDataTexteNomFichier ", 0) == 0)
      inField = true;
    else if (line.empty() || line[0] != '\t')
      inField = false;
    if (!inField)
      kept += line + '\n';
  }
  return kept;
}

// The text the file-name field of a saved document shows.
std::string FileNameFieldOf(const std::string& path)
{
  TaClientPage page;
  if (LoadDocument(page, path.c_str()) != 1)
    return {};
  for (int32_t i = 0; i < page.ObjectCount(); ++i) {
    if (const auto* field = dynamic_cast<const TDataTexteNomFichier*>(page.ObjectAtIndex(i)))
      return std::string(field->GetText());
  }
  return {};
}

TEST_F(ShowcaseTest, TheExampleIsWhatTheBuilderWrites)
{
  TaClientPage built;
  const std::string written = Build(built, dir.File("showcase.vk1"));
  if (const char* update = std::getenv("VEKTA_UPDATE_SHOWCASE"); update && std::string(update) == "1") {
    std::ofstream(kShowcase, std::ios::binary) << written;
    GTEST_SKIP() << "wrote " << kShowcase;
  }
  TaClientPage example;
  ASSERT_EQ(LoadDocument(example, kShowcase.c_str()), 1);
  CopyClockTexts(example, built);
  built.SetFilePath(dir.File("showcase.vk1"));
  ASSERT_EQ(SaveDocument(built, false, false), kDocumentDone);
  EXPECT_EQ(WithoutFileNameField(ReadWholeFile(dir.File("showcase.vk1"))),
            WithoutFileNameField(ReadWholeFile(kShowcase)));
}

TEST_F(ShowcaseTest, EveryObjectKindIsShown)
{
  TaClientPage example;
  LoadReport report;
  ASSERT_EQ(LoadDocument(example, kShowcase.c_str(), &report), 1);
  EXPECT_FALSE(report.damaged);
  EXPECT_EQ(report.fileVersion, kDocumentFileVersion);
  std::vector<const TData*> objects;
  for (int32_t i = 0; i < example.ObjectCount(); ++i)
    Collect(example.ObjectAtIndex(i), objects);
  const TClientModuleSym& symbols = example.GetSymbolModule();
  ASSERT_EQ(symbols.GetDefinitionCount(), 1);
  Collect(symbols.GetDefinition(0), objects);

  std::set<int32_t> classes;
  std::set<uint16_t> circleShapes;
  bool turnedRectangle = false, framedText = false, turnedText = false;
  for (const TData* object : objects) {
    classes.insert(object->ClassId());
    if (const auto* circle = dynamic_cast<const TDataCercle*>(object))
      circleShapes.insert(circle->GetShape());
    if (const auto* rectangle = dynamic_cast<const TPolyRectangle*>(object))
      turnedRectangle = turnedRectangle || rectangle->GetAngle() != 0;
    if (const auto* text = dynamic_cast<const TDataTexte*>(object)) {
      framedText = framedText || text->GetBorder().GetThickness() != 0;
      turnedText = turnedText || text->GetAngle() != 0;
    }
  }
  for (int32_t kind :
       {kTDataLine, kTDataFleche, kTDataRectangle, kTPolyRectangle, kTDataCercle, kTDataPolygone,
        kTDataPolyLine, kTDataBezier, kTDataSin, kTDataTexte, kTDataTexteDate, kTDataTexteHeure,
        kTDataTexteNomFichier, kTDataDim, kTDataGroup, kTDataGroupSymbol, kTDataSymbol})
    EXPECT_EQ(classes.count(kind), 1u) << GetClassName(kind);
  EXPECT_EQ(circleShapes.size(), 4u);
  EXPECT_TRUE(turnedRectangle);
  EXPECT_TRUE(framedText);
  EXPECT_TRUE(turnedText);
}

TEST_F(ShowcaseTest, ResavingChangesNoByte)
{
  TaClientPage example;
  ASSERT_EQ(LoadDocument(example, kShowcase.c_str()), 1);
  example.SetFilePath(dir.File("showcase.vk1"));
  ASSERT_EQ(SaveDocument(example, false, false), kDocumentDone);
  EXPECT_EQ(WithoutFileNameField(ReadWholeFile(dir.File("showcase.vk1"))),
            WithoutFileNameField(ReadWholeFile(kShowcase)));
  // Only the file-name field changed: it shows where the document lives now.
  EXPECT_EQ(FileNameFieldOf(dir.File("showcase.vk1")), dir.File("showcase.vk1"));
}

TEST_F(ShowcaseTest, ExportsToEveryFormat)
{
  TaClientPage example;
  ASSERT_EQ(LoadDocument(example, kShowcase.c_str()), 1);
  for (const char* name : {"showcase.png", "showcase.jpg", "showcase.pdf", "showcase.svg"}) {
    std::string error;
    EXPECT_TRUE(ExportSheet(example, dir.File(name), 100, kDefaultJpegQuality, &error))
        << name << ": " << error;
    EXPECT_GT(ReadWholeFile(dir.File(name)).size(), 1000u) << name;
  }
  // The picture holds the page: the title band's navy is at its top left.
  const QImage image(QString::fromStdString(dir.File("showcase.png")));
  ASSERT_EQ(image.width(), 800);
  ASSERT_EQ(image.height(), 1000);
  EXPECT_EQ(image.pixel(40, 60) & 0xFFFFFF, 0x1F3A68u);
}
