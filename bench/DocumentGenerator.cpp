#include "DocumentGenerator.h"

#include "Colors.h"
#include "Messages.h"
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
#include "TaClientPage.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kPaperWidth = 800;
constexpr int32_t kPaperHeight = 1000;
constexpr int32_t kMargin = 10;

constexpr std::array<uint32_t, 10> kColours = {MakeColor(0x1F, 0x3A, 0x68), MakeColor(0xD0, 0x3A, 0x2F),
                                               MakeColor(0xF0, 0x8C, 0x1E), MakeColor(0xF6, 0xCD, 0x3B),
                                               MakeColor(0x3C, 0x9A, 0x4A), MakeColor(0x1E, 0x9A, 0xA0),
                                               MakeColor(0x2F, 0x6F, 0xD0), MakeColor(0x86, 0x45, 0xA8),
                                               MakeColor(0x8A, 0x5A, 0x2E), MakeColor(0x30, 0x30, 0x38)};

constexpr std::array<const char*, 16> kWords = {"Vekta", "drawing", "page",  "layer", "symbol", "object",
                                                "text",  "line",    "arc",   "curve", "group",  "frame",
                                                "grid",  "scale",   "north", "plan"};

constexpr std::array<const char*, 3> kSymbolNames = {"Tree", "Valve", "Marker"};

// SplitMix64: small, fast and the same on every platform.
class Random
{
public:
  explicit Random(uint64_t seed) : m_state(seed) {}
  uint64_t Next()
  {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // low..high, both included.
  int32_t Range(int32_t low, int32_t high)
  {
    return low + static_cast<int32_t>(Next() % static_cast<uint64_t>(high - low + 1));
  }
  bool Chance(int32_t percent) { return Range(0, 99) < percent; }
  template <class T, size_t N> const T& Pick(const std::array<T, N>& items)
  {
    return items[static_cast<size_t>(Range(0, static_cast<int32_t>(N) - 1))];
  }

private:
  uint64_t m_state;
};

TBrush Brush(Random& random)
{
  TBrush brush;
  const int32_t kind = random.Range(0, 9);
  if (kind < 4)
    return brush; // hollow
  brush.SetColor(random.Pick(kColours));
  if (kind < 9) {
    brush.SetStyle(TBrush::kSolid);
  } else {
    brush.SetStyle(TBrush::kHatched);
    brush.SetHatch(random.Range(TBrush::kHorizontal, TBrush::kDiagonalCross));
  }
  return brush;
}

TFont Font(Random& random, int32_t minSize, int32_t maxSize)
{
  TLogFont record = TFont(random.Range(minSize, maxSize), 0).Record();
  if (random.Chance(25))
    record.weight = 700;
  record.italic = random.Chance(20) ? 1 : 0;
  return TFont(record);
}

std::string Words(Random& random, int32_t count)
{
  std::string text;
  for (int32_t i = 0; i < count; ++i) {
    if (i > 0)
      text += ' ';
    text += random.Pick(kWords);
  }
  return text;
}

class Generator
{
public:
  Generator(TaClientPage& client, const GeneratorOptions& options) : m_client(client), m_random(options.seed)
  {
  }

  void Build(const GeneratorOptions& options)
  {
    TPage& page = *m_client.GetPage();
    page.SetPaperSize(kPaperWidth, kPaperHeight);
    page.SetUnitsPerInch(100);
    page.SetUnitFactor(0.01f);
    page.SetDecimals(2);
    m_client.SetGridStep(25, 25, false);
    m_client.SetSnapStep(5, 5);
    m_client.SetSnapOn(true);
    const bool mix = !options.simpleOnly && options.kind == GeneratorOptions::Kind::kMix;
    if (mix)
      Symbols();
    for (int32_t i = 0; i < options.count; ++i) {
      std::unique_ptr<TData> object;
      if (options.simpleOnly)
        object = SimpleObject();
      else if (options.kind == GeneratorOptions::Kind::kDense)
        object = DenseObject();
      else if (options.kind == GeneratorOptions::Kind::kPlan)
        object = PlanObject();
      else if (options.kind == GeneratorOptions::Kind::kText)
        object = PageText();
      else
        object = MixedObject();
      object->SetLayers(mix ? Layers() : uint16_t{8});
      m_client.AddNewObject(object.release(), false);
    }
  }

private:
  // Mostly the fourth layer, some objects on the first and second.
  uint16_t Layers()
  {
    const int32_t r = m_random.Range(0, 99);
    if (r < 6)
      return 1;
    if (r < 10)
      return 2;
    return 8;
  }

  TPoint Spot(int32_t width, int32_t height)
  {
    return {m_random.Range(kMargin, kPaperWidth - kMargin - width),
            m_random.Range(kMargin, kPaperHeight - kMargin - height)};
  }

  template <class T> std::unique_ptr<TData> Styled(T* raw, bool filled)
  {
    std::unique_ptr<TData> object(raw);
    uint32_t style = filled && m_random.Chance(50) ? uint32_t{TPen::kInsideFrame} : uint32_t{TPen::kSolid};
    if (m_random.Chance(15))
      style = static_cast<uint32_t>(m_random.Range(TPen::kDash, TPen::kDashDotDot));
    // Styled pens are drawn one unit wide.
    const int32_t width =
        style >= TPen::kDash && style <= TPen::kDashDotDot ? m_random.Range(0, 1) : m_random.Range(0, 5);
    TPen pen(m_random.Pick(kColours), width, style);
    if (filled)
      object->GetBrush() = Brush(m_random);
    // Curves sample by their pen: taking it this way lets them resample.
    object->Message(MSG_TAKE_PEN, 0, 0, &pen);
    object->GetPen() = pen;
    return object;
  }

  std::unique_ptr<TData> SimpleObject()
  {
    switch (m_random.Range(0, 2)) {
    case 0:
      return Line();
    case 1:
      return Rectangle();
    default:
      return Circle();
    }
  }

  std::unique_ptr<TData> MixedObject()
  {
    const int32_t r = m_random.Range(0, 99);
    if (r < 12)
      return Line();
    if (r < 18)
      return Arrow();
    if (r < 30)
      return Rectangle();
    if (r < 36)
      return TurnedRectangle();
    if (r < 48)
      return Circle();
    if (r < 55)
      return Polygon();
    if (r < 60)
      return Polyline();
    if (r < 65)
      return Bezier();
    if (r < 69)
      return Sinusoid();
    if (r < 73)
      return Dimension();
    if (r < 88)
      return Text();
    if (r < 90)
      return Field();
    return Instance();
  }

  // Shapes of every kind, half of them filled, pens 0 to 5 units, and one
  // short text in ten.
  std::unique_ptr<TData> DenseObject()
  {
    const int32_t r = m_random.Range(0, 99);
    if (r < 10)
      return ShortText();
    if (r < 22)
      return Line();
    if (r < 42)
      return Rectangle();
    if (r < 64)
      return Circle();
    if (r < 82)
      return Polygon();
    return Bezier();
  }

  // Thin hollow lines and rectangles, dimensions and small labels.
  std::unique_ptr<TData> PlanObject()
  {
    const int32_t r = m_random.Range(0, 99);
    std::unique_ptr<TData> object;
    if (r < 40) {
      const TPoint a = Spot(0, 0);
      const bool across = m_random.Chance(50);
      const int32_t length = m_random.Range(10, 120);
      object = std::make_unique<TDataLine>(a.x, a.y, across ? std::min(a.x + length, kPaperWidth) : a.x,
                                           across ? a.y : std::min(a.y + length, kPaperHeight));
    } else if (r < 70) {
      const int32_t w = m_random.Range(6, 80), h = m_random.Range(6, 80);
      const TPoint p = Spot(w, h);
      object = std::make_unique<TDataRectangle>(p.x, p.y, w, h);
    } else if (r < 85) {
      object = Dimension();
    } else {
      auto label = LevelText(Spot(60, 12), 2);
      label->SetFont(TFont(m_random.Range(6, 10), 0));
      label->SetColor(0, kColours.back());
      return label;
    }
    object->GetPen() = TPen(m_random.Chance(80) ? kColours.back() : m_random.Pick(kColours),
                            m_random.Range(0, 1), TPen::kSolid);
    return object;
  }

  // One to eight words, 6 to 36 units, mostly level, some turned.
  std::unique_ptr<TData> PageText()
  {
    auto text = LevelText(Spot(150, 40), 8);
    text->SetFont(Font(m_random, 6, 36));
    text->SetColor(0, m_random.Pick(kColours));
    static constexpr std::array<int32_t, 8> kAngles = {0, 0, 0, 0, 0, 30, 90, 330};
    text->SetAngle(m_random.Pick(kAngles));
    return text;
  }

  std::unique_ptr<TData> ShortText()
  {
    auto text = LevelText(Spot(60, 20), 2);
    text->SetFont(Font(m_random, 6, 16));
    text->SetColor(0, m_random.Pick(kColours));
    return text;
  }

  // A text of one to most words at p (each step draws from the generator in
  // turn, so the same seed gives the same page with every compiler).
  std::unique_ptr<TDataTexte> LevelText(TPoint p, int32_t most)
  {
    auto text = std::make_unique<TDataTexte>(p.x, p.y, 0);
    text->SetText(Words(m_random, m_random.Range(1, most)));
    return text;
  }

  std::unique_ptr<TData> Line()
  {
    const TPoint a = Spot(0, 0);
    const int32_t x2 = std::clamp(a.x + m_random.Range(-60, 60), 0, kPaperWidth);
    const int32_t y2 = std::clamp(a.y + m_random.Range(-60, 60), 0, kPaperHeight);
    return Styled(new TDataLine(a.x, a.y, x2, y2), false);
  }

  std::unique_ptr<TData> Arrow()
  {
    const TPoint a = Spot(0, 0);
    const int32_t x2 = std::clamp(a.x + m_random.Range(-80, 80), 0, kPaperWidth);
    const int32_t y2 = std::clamp(a.y + m_random.Range(-80, 80), 0, kPaperHeight);
    auto* arrow = new TDataFleche(a.x, a.y, x2, y2);
    arrow->SetHeadSize(m_random.Range(6, 14));
    return Styled(arrow, false);
  }

  std::unique_ptr<TData> Rectangle()
  {
    const int32_t w = m_random.Range(4, 60), h = m_random.Range(4, 60);
    const TPoint p = Spot(w, h);
    auto* rectangle = new TDataRectangle(p.x, p.y, w, h);
    const int32_t corner = m_random.Chance(40) ? m_random.Range(2, 12) : 0;
    rectangle->SetCorners(corner, corner);
    return Styled(rectangle, true);
  }

  std::unique_ptr<TData> TurnedRectangle()
  {
    const int32_t w = m_random.Range(8, 50), h = m_random.Range(8, 50);
    const TPoint p = Spot(w + 40, h + 40);
    return Styled(new TPolyRectangle(p.x + 20, p.y + 20, w, h, m_random.Range(1, 89)), true);
  }

  std::unique_ptr<TData> Circle()
  {
    const int32_t radius = m_random.Range(3, 30);
    const TPoint p = Spot(2 * radius, 2 * radius);
    auto* circle = new TDataCercle(p.x + radius, p.y + radius, radius);
    switch (m_random.Range(0, 5)) {
    case 2:
      // An ellipse: the circle lets go of its roundness and is stretched.
      circle->SetIso(1);
      circle->SetRect(TRect(p.x, p.y, p.x + 2 * radius, p.y + radius), kRectFrame);
      break;
    case 3:
    case 4:
    case 5:
      circle->SetShape(static_cast<uint16_t>(m_random.Range(TDataCercle::kPie, TDataCercle::kArc)));
      circle->SetAngles(m_random.Range(0, 179), m_random.Range(180, 359));
      break;
    default:
      break;
    }
    return Styled(circle, true);
  }

  std::vector<TPoint> Points(int32_t count, int32_t reach)
  {
    const TPoint centre = Spot(2 * reach, 2 * reach);
    std::vector<TPoint> points;
    for (int32_t i = 0; i < count; ++i)
      points.push_back({centre.x + m_random.Range(0, 2 * reach), centre.y + m_random.Range(0, 2 * reach)});
    return points;
  }

  std::unique_ptr<TData> Polygon()
  {
    const std::vector<TPoint> points = Points(m_random.Range(3, 8), m_random.Range(8, 35));
    return Styled(new TDataPolygone(points.data(), static_cast<uint16_t>(points.size())), true);
  }

  std::unique_ptr<TData> Polyline()
  {
    const std::vector<TPoint> points = Points(m_random.Range(2, 7), m_random.Range(8, 35));
    return Styled(new TDataPolyLine(points.data(), static_cast<uint16_t>(points.size())), false);
  }

  std::unique_ptr<TData> Bezier()
  {
    const std::vector<TPoint> p = Points(3, m_random.Range(10, 40));
    return Styled(new TDataBezier(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y), false);
  }

  std::unique_ptr<TData> Sinusoid()
  {
    const int32_t w = m_random.Range(30, 90), h = m_random.Range(10, 40);
    const TPoint p = Spot(w, h);
    auto* wave = new TDataSin(p.x, p.y, w, h);
    wave->SetQuarters(m_random.Range(2, 8));
    wave->SetStartQuarter(m_random.Range(0, 3));
    wave->Resample();
    return Styled(wave, false);
  }

  std::unique_ptr<TData> Dimension()
  {
    const TPoint a = Spot(80, 80);
    const bool horizontal = m_random.Chance(50);
    const int32_t length = m_random.Range(20, 80);
    auto* dimension =
        horizontal ? new TDataDim(a.x, a.y, a.x + length, a.y) : new TDataDim(a.x, a.y, a.x, a.y + length);
    return Styled(dimension, false);
  }

  std::unique_ptr<TData> Text()
  {
    const TPoint p = Spot(120, 60);
    auto text = std::make_unique<TDataTexte>(p.x, p.y, 0);
    // The text first: a new font keeps the number of lines the text has.
    const int32_t kind = m_random.Range(0, 9);
    if (kind < 6)
      text->SetText(Words(m_random, m_random.Range(1, 3)));
    else if (kind < 8)
      text->SetText(Words(m_random, 2) + "\r\n" + Words(m_random, m_random.Range(1, 3)));
    else
      text->SetText(Words(m_random, m_random.Range(6, 12)));
    text->SetFont(Font(m_random, 6, 30));
    text->SetColor(0, m_random.Pick(kColours));
    if (kind >= 8) {
      // A paragraph wrapped to a frame of its own width.
      text->SetRect(TRect(p.x, p.y, p.x + m_random.Range(60, 140), p.y + 10), 6);
      text->SetJustification(static_cast<uint16_t>(m_random.Range(0, 2)));
    }
    static constexpr std::array<int32_t, 8> kAngles = {0, 0, 0, 0, 15, 30, 90, 330};
    text->SetAngle(m_random.Pick(kAngles));
    if (m_random.Chance(10)) {
      TBordure frame;
      frame.SetType(m_random.Range(1, 15));
      frame.colour1 = m_random.Pick(kColours);
      text->SetBorder(frame);
    }
    return text;
  }

  std::unique_ptr<TData> Field()
  {
    const TPoint p = Spot(120, 30);
    std::unique_ptr<TDataTexteRpt> field;
    switch (m_random.Range(0, 2)) {
    case 0:
      field = std::make_unique<TDataTexteDate>(&m_client, p.x, p.y);
      // A fixed date, so that the same options give the same file.
      field->SetText("12/31/2024");
      break;
    case 1:
      field = std::make_unique<TDataTexteHeure>(&m_client, p.x, p.y);
      field->SetText("12:00:00");
      break;
    default:
      // The file name follows the document when it is saved.
      field = std::make_unique<TDataTexteNomFichier>(&m_client, p.x, p.y);
      break;
    }
    field->SetFont(Font(m_random, 8, 20));
    field->SetColor(0, m_random.Pick(kColours));
    return field;
  }

  std::unique_ptr<TData> Instance()
  {
    const TPoint p = Spot(60, 60);
    return std::make_unique<TDataSymbol>(&m_client.GetSymbolModule(), p.x, p.y, m_random.Pick(kSymbolNames));
  }

  // Every definition holds a nested group besides plain members.
  void Symbols()
  {
    for (const char* name : kSymbolNames) {
      TDataGroup source;
      auto* inner = new TDataGroup;
      for (int32_t i = 0; i < 3; ++i) {
        auto* leaf = new TDataCercle(10 + 12 * i, 12, 8);
        leaf->GetPen() = TPen(m_random.Pick(kColours), 1, TPen::kInsideFrame);
        leaf->GetBrush() = Brush(m_random);
        inner->AddChild(leaf);
      }
      TRect innerBounds;
      inner->UnionOfChildren(innerBounds, 0);
      inner->Assign(innerBounds);
      auto* base = new TDataRectangle(4, 24, 44, 20);
      base->GetPen() = TPen(m_random.Pick(kColours), 2, TPen::kSolid);
      base->GetBrush() = Brush(m_random);
      auto* label = new TDataTexte(8, 28, 0);
      label->SetText(name);
      label->SetFont(TFont(9, 0));
      source.AddChild(base);
      source.AddChild(inner);
      source.AddChild(new TDataLine(0, 50, 52, 50));
      source.AddChild(label);
      TRect bounds;
      source.UnionOfChildren(bounds, 0);
      source.Assign(bounds);
      auto* definition = new TDataGroupSymbol;
      definition->SetName(name);
      definition->BuildFrom(source);
      m_client.GetSymbolModule().AddDefinition(definition);
    }
  }

  TaClientPage& m_client;
  Random m_random;
};

} // namespace

void GenerateDocument(TaClientPage& client, const GeneratorOptions& options)
{
  Generator(client, options).Build(options);
}
