#include "PageBinding.h"
#include "TBrush.h"
#include "TFont.h"
#include "TPage.h"
#include "TPageMem.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

TEST(PageBinding, UnboundPageIgnoresDrawingAndStillMeasures)
{
  TPage page;
  EXPECT_FALSE(page.IsBound());
  page.Rectangle(TRect(0, 0, 10, 10));
  const TPoint points[2] = {{0, 0}, {5, 5}};
  page.Polygon(points, 2);
  page.TextOut(0, 0, "x");
  EXPECT_FALSE(page.SetPixel(1, 1, 0));

  TFont font(40, 0);
  page.SelectFont(font);
  int32_t w = 0, h = 0;
  page.GetTextExtent("Vekta", w, h);
  EXPECT_GT(w, 40);
  EXPECT_GT(h, 40);

  // Bound at any zoom, the same text measures the same in logical units.
  QImage image(50, 50, QImage::Format_RGB32);
  page.SetZoom(350);
  ASSERT_TRUE(BindPage(page, &image, TPage::kMemory));
  page.SelectFont(font);
  int32_t bw = 0, bh = 0;
  page.GetTextExtent("Vekta", bw, bh);
  EXPECT_EQ(bw, w);
  EXPECT_EQ(bh, h);
  page.GetTextExtent("Vekta", bw, bh, 2);
  EXPECT_LT(bw, w);
  page.GetTextExtent("", bw, bh);
  EXPECT_EQ(bw, 0);
  EXPECT_EQ(bh, 0);
  page.Release();
  EXPECT_FALSE(page.IsBound());
}

TEST(PageBinding, BorrowedPainterGetsItsStateBack)
{
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::red, 3));
  painter.setBrush(Qt::green);
  painter.setClipRect(0, 0, 20, 20);

  TPage page;
  ASSERT_TRUE(BindPage(page, &painter, TPage::kPaint));
  const TRect clip(0, 0, 30, 30);
  page.SetClipRect(&clip);
  TBrush blue;
  blue.SetStyle(TBrush::kSolid);
  blue.SetColor(0xFF0000);
  page.SelectBrush(blue);
  page.Rectangle(TRect(0, 0, 30, 30));
  page.Release();
  TRect after;
  EXPECT_FALSE(page.GetClipRect(after)); // released pages draw unclipped

  EXPECT_EQ(painter.pen().color(), QColor(Qt::red));
  EXPECT_EQ(painter.pen().width(), 3);
  EXPECT_EQ(painter.brush().color(), QColor(Qt::green));
  EXPECT_EQ(painter.clipBoundingRect(), QRectF(0, 0, 20, 20));
  painter.end();
  // The page's clip could only narrow the painter's.
  EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(25, 25), qRgb(255, 255, 255));
  EXPECT_FALSE(BindPage(page, &painter, TPage::kPaint)); // not active any more
}

TEST(PageBinding, ImagesAreStretchedOverTheirPageRectangle)
{
  // Four pixels, red green / blue white, shown 20 x 20 units at 200 %.
  QImage picture(2, 2, QImage::Format_RGB32);
  picture.setPixel(0, 0, qRgb(255, 0, 0));
  picture.setPixel(1, 0, qRgb(0, 255, 0));
  picture.setPixel(0, 1, qRgb(0, 0, 255));
  picture.setPixel(1, 1, qRgb(255, 255, 255));
  TPageMem page(100, 100, 200);
  page.DrawImage(TRect(10, 10, 30, 30), picture);
  // Only the right column of the picture, over a second rectangle.
  const TRect column(1, 0, 2, 2);
  page.DrawImage(TRect(50, 10, 60, 30), picture, &column);
  page.Release();
  const QImage& shown = page.Image();
  // Well inside each quadrant, away from the blended seams of smooth scaling.
  EXPECT_EQ(shown.pixel(24, 24), qRgb(255, 0, 0));
  EXPECT_EQ(shown.pixel(56, 24), qRgb(0, 255, 0));
  EXPECT_EQ(shown.pixel(24, 56), qRgb(0, 0, 255));
  EXPECT_EQ(shown.pixel(56, 56), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(10, 10), qRgb(255, 255, 255)) << "nothing outside the rectangle";
  EXPECT_EQ(shown.pixel(110, 24), qRgb(0, 255, 0));
  EXPECT_EQ(shown.pixel(110, 56), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(95, 24), qRgb(255, 255, 255));
}
