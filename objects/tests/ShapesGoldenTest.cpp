#include "BordureDraw.h"
#include "CommandIds.h"
#include "RenderTestSupport.h"
#include "TBordure.h"
#include "TDataCercle.h"
#include "TDataFleche.h"
#include "TDataLine.h"
#include "TDataRectangle.h"
#include "TPolyRectangle.h"
#include "TestSupport.h"

#include "ViewTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

// Every kind drawn into a memory page and compared with a reviewed
// reference image.

namespace {

using namespace palette;

template <class T> T& Styled(T& object, uint32_t colour, int32_t width, uint32_t style)
{
  object.GetPen() = TPen(colour, width, style);
  return object;
}

bool AllWhite(const QImage& image)
{
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != kWhitePixel)
        return false;
  return true;
}

TEST(ShapesGoldenTest, LinesAndArrows)
{
  const QImage image = Render(120, 80, [](TPage& page) {
    TDataLine thick(10, 10, 110, 25);
    Styled(thick, kRed, 4, TPen::kSolid).Paint(&page, TData::kPaintScreen);
    TDataLine dashed(10, 75, 50, 45);
    Styled(dashed, kBlack, 0, TPen::kDash).Paint(&page, TData::kPaintScreen);
    TDataFleche arrow(60, 75, 105, 65);
    Styled(arrow, kBlack, 1, TPen::kSolid).Paint(&page, TData::kPaintScreen);
    TDataFleche big(60, 45, 110, 45);
    big.SetHeadSize(20);
    Styled(big, kBlue, 2, TPen::kSolid).Paint(&page, TData::kPaintScreen);
  });
  EXPECT_TRUE(MatchesGolden(image, Golden("lines_arrows")));
}

TEST(ShapesGoldenTest, Rectangles)
{
  const QImage image = Render(160, 90, [](TPage& page) {
    TDataRectangle rounded(10, 10, 60, 30);
    Styled(rounded, kBlack, 1, TPen::kSolid).SetColor(1, kYellow);
    rounded.Paint(&page, TData::kPaintScreen);
    TDataRectangle flat(10, 50, 60, 30);
    flat.SetCorners(20, 5);
    Styled(flat, kBlue, 2, TPen::kSolid).Paint(&page, TData::kPaintScreen);
    // A thick inside-frame pen stays within the rectangle.
    TPolyRectangle framed(85, 5, 60, 28, 0);
    Styled(framed, kGreen, 6, TPen::kInsideFrame).Paint(&page, TData::kPaintScreen);
    TPolyRectangle turned(90, 62, 50, 25, 30);
    Styled(turned, kBlack, 1, TPen::kSolid).GetBrush() = Hatch(TBrush::kCross, kRed);
    turned.Paint(&page, TData::kPaintScreen);
  });
  EXPECT_TRUE(MatchesGolden(image, Golden("rectangles")));
}

TEST(ShapesGoldenTest, CirclesAndTheirParts)
{
  const QImage image = Render(160, 100, [](TPage& page) {
    TDataCercle ellipse;
    ellipse.Assign(TRect(5, 5, 75, 40));
    Styled(ellipse, kBlack, 1, TPen::kSolid).SetColor(1, kYellow);
    ellipse.Paint(&page, TData::kPaintScreen);
    TDataCercle pie(115, 25, 20);
    pie.SetShape(TDataCercle::kPie);
    pie.SetAngles(30, 300);
    Styled(pie, kBlue, 1, TPen::kSolid).GetBrush() = Hatch(TBrush::kDiagonalCross, kBlue);
    pie.Paint(&page, TData::kPaintScreen);
    TDataCercle chord(40, 70, 20);
    chord.SetShape(TDataCercle::kChord);
    chord.SetAngles(45, 225);
    Styled(chord, kGreen, 2, TPen::kSolid).SetColor(1, kRed);
    chord.Paint(&page, TData::kPaintScreen);
    TDataCercle arc(115, 72, 20);
    arc.SetShape(TDataCercle::kArc);
    arc.SetAngles(0, 270);
    Styled(arc, kRed, 4, TPen::kSolid).SetColor(1, kYellow); // an arc is never filled
    arc.Paint(&page, TData::kPaintScreen);
  });
  EXPECT_TRUE(MatchesGolden(image, Golden("circles")));
}

TEST(ShapesGoldenTest, HighlightsAndHandleCrosses)
{
  const QImage image = Render(160, 60, [](TPage& page) {
    // Drawing the highlight twice leaves the page as it was.
    TDataRectangle twice(5, 5, 30, 20);
    twice.Paint(&page, TData::kPaintToggleOutline);
    twice.Paint(&page, TData::kPaintToggleOutline);
    EXPECT_EQ(twice.GetState(), 0);

    page.SetDragMode(CM_OBJ_SIZE);
    TDataLine line(10, 50, 50, 10);
    line.Paint(&page, TData::kPaintToggleOutline);
    page.SetDragMode(CM_OBJ_START_ANGLE);
    TDataCercle pie(85, 30, 20);
    pie.SetShape(TDataCercle::kPie);
    pie.SetAngles(90, 0);
    pie.Paint(&page, TData::kPaintToggleOutline);
    page.SetDragMode(0);
    TPolyRectangle turned(120, 45, 30, 15, 45);
    turned.Paint(&page, TData::kPaintToggleOutline);
  });
  EXPECT_TRUE(MatchesGolden(image, Golden("highlights")));
}

TEST(ShapesGoldenTest, TextFrames)
{
  DefaultsGuard guard;
  // The frame neither fills nor takes the default line type.
  DefaultBrush().SetStyle(TBrush::kSolid);
  DefaultBrush().SetColor(kYellow);
  DefaultPen().SetStyle(TPen::kNull);
  TBordure plain;
  plain.SetType(1);
  plain.colour1 = kBlue;
  TBordure thick;
  thick.SetType(15);
  thick.colour1 = kRed;
  TBordure dotted;
  dotted.SetType(6);
  dotted.colour1 = kBlack;
  const QImage image = Render(160, 90, [&](TPage& page) {
    // Frames show whatever layer is being painted.
    page.SetDrawingLayers(1);
    DrawBordure(plain, &page, TPolyRectangle(10, 10, 50, 20, 0));
    DrawBordure(thick, &page, TPolyRectangle(80, 10, 60, 25, 0));
    DrawBordure(dotted, &page, TPolyRectangle(15, 65, 50, 20, 20));
    DrawBordure(plain, &page, TPolyRectangle(100, 45, 40, 15, -30));
  });
  EXPECT_TRUE(MatchesGolden(image, Golden("text_frames")));
}

TEST(ShapesGoldenTest, FramesWithoutALineDrawNothing)
{
  TBordure border;
  const TPolyRectangle frame(10, 10, 30, 20, 0);
  DrawBordure(border, nullptr, frame);
  for (int32_t type : {0, 2, 5, 8, 12}) {
    border.SetType(type);
    const QImage image = Render(50, 40, [&](TPage& page) { DrawBordure(border, &page, frame); });
    EXPECT_TRUE(AllWhite(image)) << "type " << type;
  }
}

} // namespace
