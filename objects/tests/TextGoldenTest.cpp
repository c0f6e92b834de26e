#include "ShapeTestSupport.h"

#include "Geometry.h"
#include "RenderTestSupport.h"
#include "TDataDim.h"
#include "TDataTexte.h"
#include "TestSupport.h"
#include "ValueFormat.h"

#include <functional>
#include <memory>
#include <string>

// Texts and dimensions drawn into a memory page and compared with reviewed
// reference images. Glyph edges may differ by a few pixels between font
// builds, hence the small tolerance.

namespace {

using namespace palette;

constexpr uint32_t kDarkGreen = 0x008000;
constexpr int kChannelTolerance = 48;
constexpr int kBadPixels = 40;

// A text in Arial of the given height at (x, y).
TDataTexte Text(int32_t x, int32_t y, int32_t height, std::string_view characters, uint32_t colour = kBlack)
{
  const TFont saved = DefaultFont();
  DefaultFont() = TFont(height, 0);
  TDataTexte text(x, y, 0);
  DefaultFont() = saved;
  text.SetColor(0, colour);
  text.SetText(characters);
  return text;
}

} // namespace

TEST(TextGoldenTest, JustifiedTurnedFramedAndSeveralLines)
{
  const QImage image = Render(320, 200, [](TPage& page) {
    for (uint16_t justification : {TDataTexte::kLeft, TDataTexte::kCentred, TDataTexte::kRight}) {
      TDataTexte text = Text(10 + 100 * justification, 10, 14, "Left,\r\ncentred or\r\nright");
      text.SetJustification(justification);
      text.Paint(&page, TData::kPaintScreen);
    }
    TDataTexte turned = Text(40, 180, 16, "Turned 30\xC2\xB0", kBlue);
    turned.SetAngle(30);
    turned.Paint(&page, TData::kPaintScreen);

    TDataTexte framed = Text(170, 80, 18, "Framed", kRed);
    TBordure frame;
    frame.SetType(15);
    frame.colour1 = kBlue;
    framed.SetBorder(frame);
    framed.Paint(&page, TData::kPaintScreen);

    TDataTexte wrapped =
        Text(170, 120, 12, "Several words wrapped in a narrow frame, 150 % apart", kDarkGreen);
    wrapped.SetRect(TRect(170, 120, 300, 130), kRectReframe);
    wrapped.SetLineSpacing(150);
    TBordure dotted;
    dotted.SetType(6);
    wrapped.SetBorder(dotted);
    wrapped.Paint(&page, TData::kPaintScreen);
  });
  EXPECT_TRUE(MatchesGolden(image, Golden("texts"), kChannelTolerance, kBadPixels));
}

TEST(TextGoldenTest, Dimensions)
{
  const char separator = DecimalSeparator();
  SetDecimalSeparator('.');
  TClient view;
  view.GetPage()->SetUnitFactor(0.01f);
  view.GetPage()->SetDecimals(2);
  const QImage image = Render(240, 160, [&](TPage& page) {
    TDataDim horizontal(20, 40, 200, 40);
    horizontal.SetOwner(&view);
    horizontal.Paint(&page, TData::kPaintScreen);
    TDataDim vertical(220, 150, 220, 60);
    vertical.SetOwner(&view);
    vertical.GetPen() = TPen(kBlue, 1, TPen::kSolid);
    vertical.Paint(&page, TData::kPaintScreen);
    TDataDim slanted(20, 140, 160, 80);
    slanted.SetHeadSize(12);
    slanted.SetOwner(&view);
    slanted.GetPen() = TPen(kRed, 2, TPen::kSolid);
    slanted.Paint(&page, TData::kPaintScreen);
  });
  SetDecimalSeparator(separator);
  EXPECT_TRUE(MatchesGolden(image, Golden("dimensions"), kChannelTolerance, kBadPixels));
}

TEST(TextGoldenTest, HighlightOfATurnedTextIsItsTurnedBox)
{
  TDataTexte text = Text(30, 60, 16, "Selected");
  text.SetAngle(20);
  const QImage plain = Render(120, 80, [&](TPage& page) { text.Paint(&page, TData::kPaintScreen); });
  // The outline is drawn in exclusive-or mode: toggled twice, nothing stays.
  const QImage twice = Render(120, 80, [&](TPage& page) {
    text.Paint(&page, TData::kPaintScreen);
    text.Paint(&page, TData::kPaintToggleOutline);
    text.Paint(&page, TData::kPaintToggleOutline);
  });
  EXPECT_TRUE(CompareImages(twice, plain, 0).same);
  EXPECT_EQ(text.GetState(), 0);
  // The outline's top-right corner is turned up with the text.
  const QImage outlined =
      Render(120, 80, [&](TPage& page) { text.Paint(&page, TData::kPaintToggleOutline); });
  const TPoint corner = RotatePoint({text.right, text.top}, {30, 60}, 20);
  bool marked = false;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      marked = marked || outlined.pixel(corner.x + dx, corner.y + dy) != 0xFFFFFFFFu;
  EXPECT_TRUE(marked);
}

TEST(TextGoldenTest, RepaintsFollowEveryChangeOfTextFontAndWidth)
{
  // Painting keeps the wrapped lines; a copy starts without them, so the
  // two pictures differ if the kept lines outlived a change.
  TDataTexte text = Text(10, 10, 14, "first second third fourth");
  text.SetRect(TRect(10, 10, 70, 20), kRectReframe);
  ASSERT_GT(text.GetLineCount(), 1);
  auto paint = [](TDataTexte& shown) {
    return Render(240, 160, [&](TPage& page) { shown.Paint(&page, TData::kPaintScreen); });
  };
  auto expectFresh = [&](const char* change) {
    std::unique_ptr<TData> copy(text.Clone(nullptr, 0));
    const ImageDiff diff = CompareImages(paint(text), paint(static_cast<TDataTexte&>(*copy)));
    EXPECT_TRUE(diff.same) << change << ": " << diff.message;
  };
  QImage before = paint(text);
  text.SetText("other words, wrapped anew");
  expectFresh("text");
  EXPECT_FALSE(CompareImages(paint(text), before).same);
  text.SetFont(TFont(18, 0));
  expectFresh("font");
  text.SetRect(TRect(10, 10, 150, 20), kRectReframe);
  expectFresh("width");
  before = paint(text);
  text.Offset(20, 30);
  expectFresh("place");
  EXPECT_FALSE(CompareImages(paint(text), before).same);
}
