#include "BandedPaint.h"
#include "DisplayList.h"
#include "DisplayRecorder.h"
#include "TPageMem.h"
#include "TPen.h"
#include "WorkMonitor.h"

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// A page recorded once and drawn in bands on several threads must come out
// exactly as the page drawn directly: the seams between bands invisible,
// nothing lost to a band that it reaches into.

namespace {

using namespace palette;

constexpr int32_t kWidth = 400;
constexpr int32_t kHeight = 900;

// What draw paints, recorded and then drawn in bands by threads threads.
QImage RenderInBands(int32_t zoom, int threads, const std::function<void(TPage&)>& draw)
{
  TPageMem page(kWidth, kHeight, zoom);
  EXPECT_TRUE(page.PaintOnCores(draw, threads));
  page.Release();
  return page.Image().copy();
}

// Something of every drawing call, much of it crossing the rows where
// bands meet: thick and thin pens, dashes, hatches, turned and large
// texts, clipped and opaque texts, pictures, exclusive-or lines, a clip.
void DrawBusyPage(TPage& page)
{
  uint32_t seed = 12345;
  auto next = [&seed](int32_t range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int32_t>((seed >> 8) % static_cast<uint32_t>(range));
  };
  const uint32_t colours[] = {kBlack, kRed, kGreen, kBlue, kYellow};
  const uint32_t penStyles[] = {TPen::kSolid, TPen::kDash, TPen::kDot, TPen::kInsideFrame};
  const int32_t hatches[] = {TBrush::kHorizontal,    TBrush::kVertical,        TBrush::kCross,
                             TBrush::kDiagonalCross, TBrush::kForwardDiagonal, TBrush::kBackwardDiagonal};
  for (int i = 0; i < 160; ++i) {
    const int32_t x = next(kWidth), y = next(kHeight);
    const TRect box(x, y, x + 5 + next(120), y + 5 + next(160));
    page.SelectPen(TPen(colours[next(5)], next(4) == 0 ? 0 : next(9), penStyles[next(4)]));
    if (next(3) == 0)
      page.SelectBrush(Hatch(hatches[next(6)], colours[next(5)]));
    else
      page.SelectBrush(Solid(colours[next(5)]));
    switch (i % 9) {
    case 0:
      page.Rectangle(box);
      break;
    case 1:
      page.RoundRect(box, 15, 10);
      break;
    case 2:
      page.Ellipse(box);
      break;
    case 3:
      page.Pie(box, next(360), next(360));
      break;
    case 4:
      page.Chord(box, next(360), next(360));
      break;
    case 5:
      page.Arc(box, next(360), next(360));
      break;
    case 6: {
      std::vector<TPoint> star;
      for (int k = 0; k < 7; ++k)
        star.push_back(TPoint{x + next(150) - 75, y + next(200) - 100});
      if (next(2) == 0)
        page.Polygon(star.data(), static_cast<int32_t>(star.size()));
      else
        page.Polyline(star.data(), static_cast<int32_t>(star.size()));
      break;
    }
    case 7:
      page.Line(x, y, next(kWidth), next(kHeight));
      break;
    default: {
      TLogFont record = TFont(6 + next(60), 0).Record();
      record.escapement = next(4) == 0 ? 0 : next(3600);
      page.SelectFont(TFont(record));
      page.SetTextColor(colours[next(5)]);
      page.SetBkMode(next(2) == 0 ? TRANSPARENT_ : OPAQUE_);
      page.SetBkColor(kYellow);
      page.SetTextAlign(next(2) == 0 ? TA_BASELINE_ : TA_CENTER_);
      if (next(3) == 0)
        page.ExtTextOut(x, y, "Clipped and filled", &box, ETO_CLIPPED_ | ETO_OPAQUE_);
      else
        page.TextOut(x, y, "Bands of a page Wg");
      page.SetTextAlign(0);
      break;
    }
    }
  }
  const TBrush green = Solid(kGreen);
  page.FillRect(20, 380, 380, 386, &green);
  page.DrawEdge(TRect(30, 500, 200, 540));
  QImage picture(40, 40, QImage::Format_RGB32);
  for (int py = 0; py < 40; ++py)
    for (int px = 0; px < 40; ++px)
      picture.setPixel(px, py, qRgb(px * 6, py * 6, 128));
  page.DrawImage(TRect(250, 300, 390, 460), picture);
  for (int32_t px = 10; px < 60; ++px)
    page.SetPixel(px, 420, kRed);
  // Exclusive-or lines over what is there, then a clip for the rest.
  page.SetROP2(R2_XORPEN_);
  page.SelectPen(TPen(kBlue, 3, TPen::kSolid));
  page.Line(0, 0, kWidth, kHeight);
  page.SetROP2(R2_COPYPEN_);
  const TRect clip(50, 600, 350, 800);
  page.SetClipRect(&clip);
  page.SelectBrush(Hatch(TBrush::kDiagonalCross, kRed));
  page.Ellipse(TRect(0, 550, 400, 850));
  page.SetClipRect(nullptr);
}

// Counts what a replay hands over.
class CountingDevice final : public TPageDevice
{
public:
  int pens = 0, fonts = 0, shapes = 0;

  void SetMapping(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
  void SetClip(const int32_t*) override {}
  void SelectPen(const TPen&) override { ++pens; }
  void SelectBrush(const TBrush&) override {}
  void SelectFont(const TFont&) override { ++fonts; }
  void SelectDefaults() override {}
  void SetTextColor(uint32_t) override {}
  void SetBkColor(uint32_t) override {}
  void SetBkMode(int32_t) override {}
  void SetTextAlign(uint32_t) override {}
  void SetROP2(int32_t) override {}
  void Rectangle(int32_t, int32_t, int32_t, int32_t) override { ++shapes; }
  void RoundRect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override { ++shapes; }
  void Ellipse(int32_t, int32_t, int32_t, int32_t) override { ++shapes; }
  void Line(int32_t, int32_t, int32_t, int32_t) override { ++shapes; }
  void Polygon(const TPoint*, int32_t) override { ++shapes; }
  void Polyline(const TPoint*, int32_t) override { ++shapes; }
  void Pie(int32_t, int32_t, int32_t, int32_t, TPoint, TPoint) override { ++shapes; }
  void Chord(int32_t, int32_t, int32_t, int32_t, TPoint, TPoint) override { ++shapes; }
  void Arc(int32_t, int32_t, int32_t, int32_t, TPoint, TPoint) override { ++shapes; }
  void FillRect(int32_t, int32_t, int32_t, int32_t, const TBrush*) override { ++shapes; }
  bool SetPixel(int32_t, int32_t, uint32_t) override { return true; }
  void TextOut(int32_t, int32_t, std::string_view, const int32_t*, uint32_t) override { ++shapes; }
  void GetTextExtent(std::string_view, int32_t& w, int32_t& h) override { w = h = 0; }
  void DrawEdge(int32_t, int32_t, int32_t, int32_t) override { ++shapes; }
  void DrawImage(int32_t, int32_t, int32_t, int32_t, const QImage&, const int32_t*) override { ++shapes; }
};

} // namespace

TEST(BandedPaint, BandsOnAnyNumberOfThreadsGiveThePixelsOfOneDevice)
{
  for (const int32_t zoom : {100, 150, 300}) {
    SCOPED_TRACE("zoom " + std::to_string(zoom));
    const QImage direct = Render(kWidth, kHeight, zoom, DrawBusyPage);
    for (const int threads : {1, 2, 5}) {
      SCOPED_TRACE(std::to_string(threads) + " threads");
      const QImage banded = RenderInBands(zoom, threads, DrawBusyPage);
      ASSERT_EQ(banded.size(), direct.size());
      int differing = 0, firstRow = -1;
      for (int y = 0; y < direct.height(); ++y) {
        for (int x = 0; x < direct.width(); ++x) {
          if (banded.pixel(x, y) != direct.pixel(x, y)) {
            ++differing;
            if (firstRow < 0)
              firstRow = y;
          }
        }
      }
      EXPECT_EQ(differing, 0) << "first differing row " << firstRow;
    }
  }
}

TEST(BandedPaint, AReplayHandsOverOnlyWhatReachesItsRowsWithTheAttributesItUses)
{
  // At 100 % a logical unit is a device pixel.
  TPageMem page(kWidth, kHeight, 100);
  DisplayList list;
  TPage recording(page);
  recording.BindBackend(std::make_unique<DisplayRecorder>(list, kWidth, kHeight), TPage::kMemory);
  recording.SelectPen(TPen(kRed, 0, TPen::kSolid));
  recording.Rectangle(TRect(10, 10, 50, 50));
  recording.SelectPen(TPen(kBlue, 20, TPen::kSolid));
  recording.SelectPen(TPen(kGreen, 20, TPen::kSolid));
  recording.Line(10, 600, 300, 610);
  recording.SelectFont(TFont(20, 0));
  recording.TextOut(10, 800, "Text");
  recording.Release();
  EXPECT_EQ(list.DrawingCalls(), 3u);

  CountingDevice top;
  list.Replay(top, 0, 100);
  EXPECT_EQ(top.shapes, 1);
  EXPECT_EQ(top.pens, 1);
  EXPECT_EQ(top.fonts, 0);

  // A wide pen reaches rows beyond its line: half its width, and more.
  CountingDevice nearLine;
  list.Replay(nearLine, 575, 590);
  EXPECT_EQ(nearLine.shapes, 1);
  EXPECT_EQ(nearLine.pens, 1) << "only the pen the line is drawn with";

  CountingDevice empty;
  list.Replay(empty, 200, 400);
  EXPECT_EQ(empty.shapes, 0);
  EXPECT_EQ(empty.pens, 0);

  CountingDevice text;
  list.Replay(text, 780, 830);
  EXPECT_EQ(text.shapes, 1);
  EXPECT_EQ(text.fonts, 1);
}

TEST(BandedPaint, EachBandIsReportedOnceWithItsRowsFinished)
{
  // The window shows each band as soon as it is reported: every row asked
  // for is reported once, and what a band's rows hold then is what they
  // hold at the end.
  TPageMem page(kWidth, kHeight, 150);
  DisplayList list;
  TPage recording(page);
  recording.BindBackend(std::make_unique<DisplayRecorder>(list, kWidth, kHeight), TPage::kMemory);
  DrawBusyPage(recording);
  recording.Release();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  std::mutex lock;
  std::vector<int> reported(kHeight, 0);
  std::vector<QImage> bands;
  std::vector<int> bandTops;
  ASSERT_TRUE(PaintInBands(list, image, 3, 70, 830, [&](int top, int bottom) {
    const QImage rows(image.constScanLine(top), kWidth, bottom - top, image.bytesPerLine(), image.format());
    std::lock_guard hold(lock);
    for (int y = top; y < bottom; ++y)
      ++reported[y];
    bands.push_back(rows.copy());
    bandTops.push_back(top);
  }));
  for (int y = 0; y < kHeight; ++y)
    ASSERT_EQ(reported[y], y >= 70 && y < 830 ? 1 : 0) << "row " << y;
  ASSERT_GT(bands.size(), 2u);
  for (size_t i = 0; i < bands.size(); ++i)
    EXPECT_TRUE(bands[i] == image.copy(0, bandTops[i], kWidth, bands[i].height()))
        << "band at " << bandTops[i];
  // The first band is kept short, so the window shows something soon; its
  // extra seam is as invisible as the others.
  const auto first = std::find(bandTops.begin(), bandTops.end(), 70);
  ASSERT_NE(first, bandTops.end());
  EXPECT_EQ(bands[static_cast<size_t>(first - bandTops.begin())].height(), 128 - 70);
  QImage whole(kWidth, kHeight, QImage::Format_RGB32);
  whole.fill(Qt::white);
  ASSERT_TRUE(PaintInBands(list, whole, 3, 70, 830));
  EXPECT_TRUE(image == whole);
}

TEST(BandedPaint, WorkGivenUpStopsBeforeEveryBandIsDrawn)
{
  TPageMem page(kWidth, kHeight, 300);
  int asked = 0;
  // Given up once the page is recorded, before the first band.
  WorkMonitor monitor([&asked] { return ++asked > 0; });
  EXPECT_FALSE(page.PaintOnCores(DrawBusyPage, 2));
  EXPECT_EQ(asked, 1);
  QImage blank(page.Image().size(), page.Image().format());
  blank.fill(Qt::white);
  EXPECT_TRUE(page.Image() == blank) << "nothing was drawn";
}
