#include "CurvesTestSupport.h"

#include "CommandIds.h"
#include "TDataSin.h"
#include "TPage.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace curves_test;

std::vector<int32_t> Heights(const TDataSin& wave)
{
  std::vector<int32_t> y;
  for (const TPoint& p : wave.Samples())
    y.push_back(p.y);
  return y;
}

TEST(SinusoidTest, OneSamplePerUnitFromTheStartQuadrant)
{
  // A new wave: one full cycle, from the centre line upwards first.
  TDataSin wave(100, 100, 10, 10);
  EXPECT_EQ(Heights(wave), (std::vector<int32_t>{0, -3, -5, -5, -3, 0, 3, 5, 5, 3, 0}));
  EXPECT_EQ(wave.Samples()[7].x, 7);
  // From the second quadrant it starts at the top and falls.
  wave.SetStartQuarter(1);
  wave.Resample();
  EXPECT_EQ(Heights(wave), (std::vector<int32_t>{-5, -4, -2, 2, 4, 5, 4, 2, -2, -4, -5}));
  wave.SetQuarters(0);
  wave.Resample();
  EXPECT_TRUE(wave.Samples().empty());
}

TEST(SinusoidTest, RectangleIsWidenedToOneUnitPerQuarterAndTwoUnitsHigh)
{
  TDataSin wave(0, 0, 3, 1);
  wave.SetQuarters(8);
  wave.Resample();
  EXPECT_EQ(Ltrb(wave), "(0, 0, 8, 2)");
  EXPECT_EQ(Heights(wave), (std::vector<int32_t>{0, -1, 0, 1, 0, -1, 0, 1, 0}));
  // Absurd widths (only a damaged file has them) are not listed whole, yet
  // can be hit like any wave.
  TDataSin huge(0, 0, 5000000, 100);
  EXPECT_TRUE(huge.Samples().empty());
  EXPECT_TRUE(huge.Contains(10, 50));
}

TEST(SinusoidTest, APaintDrawsWhatTheDeviceCanShowAndNoMore)
{
  TPage page;
  page.SetPaperSize(800, 1000);
  TDataSin wave(100, 100, 200, 40);
  wave.SetQuarters(12);
  // One page unit a pixel: every sample, as the list has them.
  EXPECT_EQ(wave.PaintSamples(page), wave.Samples());
  // A pixel of four units: one sample in four, still from end to end.
  page.SetZoom(25);
  const std::vector<TPoint> quarter = wave.PaintSamples(page);
  EXPECT_LE(quarter.size(), 200u / 4 + 2);
  EXPECT_EQ(quarter.front().x, 0);
  EXPECT_EQ(quarter.back().x, 200);
  // Only across the area painted.
  page.SetZoom(100);
  const TRect clip(150, 0, 170, 1000);
  page.SetClipRect(&clip);
  const std::vector<TPoint> clipped = wave.PaintSamples(page);
  ASSERT_FALSE(clipped.empty());
  EXPECT_GE(clipped.front().x, 150 - 100 - 1);
  EXPECT_LE(clipped.back().x, 170 - 100 + 1);

  // A stored wave of 655 385 quarter cycles across a million units, at the
  // largest zoom: the paint is bounded by the clip, then by a hard limit.
  TDataSin wild(0, 0, 1000000, 400);
  wild.SetQuarters(655385);
  page.SetZoom(1000);
  const TRect paper(0, 0, 800, 1000);
  page.SetClipRect(&paper);
  EXPECT_LE(wild.PaintSamples(page).size(), 802u);
  page.SetClipRect(nullptr);
  EXPECT_LE(static_cast<int64_t>(wild.PaintSamples(page).size()), TDataSin::kMaxPaintSamples + 2);
}

TEST(SinusoidTest, MovingKeepsTheSamplesSizingRebuildsThem)
{
  TDataSin wave(100, 100, 10, 10);
  const std::vector<TPoint> before = wave.Samples();
  EXPECT_TRUE(wave.Offset(50, -20));
  EXPECT_EQ(Ltrb(wave), "(150, 80, 160, 90)");
  EXPECT_EQ(wave.Samples(), before);
  EXPECT_TRUE(wave.Resize(10, 0));
  EXPECT_EQ(wave.Samples().size(), 21u);
  EXPECT_TRUE(wave.Resize(-100, -100));
  EXPECT_EQ(Ltrb(wave), "(150, 80, 154, 82)");
}

TEST(SinusoidTest, HitNearTheWaveOnly)
{
  TDataSin wave(100, 100, 10, 10);
  EXPECT_TRUE(wave.Contains(102, 100)); // the crest
  EXPECT_TRUE(wave.Contains(100, 105)); // the start, on the centre line
  EXPECT_TRUE(wave.Contains(107, 110)); // the trough
  EXPECT_FALSE(wave.Contains(103, 108));
  // Samples are computed where they are needed: any copy is hit alike.
  std::unique_ptr<TData> later(wave.Clone(nullptr, 1));
  EXPECT_TRUE(later->Contains(102, 100));
  std::unique_ptr<TData> now(wave.Clone(nullptr, 0));
  EXPECT_TRUE(now->Contains(102, 100));
}

TEST(SinusoidTest, RecordsRoundTripAndRebuildTheSamples)
{
  TDataSin wave(10, 20, 40, 30);
  wave.SetQuarters(6);
  wave.SetStartQuarter(2);
  wave.Resample();
  const std::string text = Written(wave);
  EXPECT_EQ(text.substr(0, text.find('\t')), "TDataSin 1 6 2\n");
  auto back = ReadBack<TDataSin>(text);
  EXPECT_EQ(Written(*back), text);
  EXPECT_EQ(back->Samples(), wave.Samples());

  auto old = ReadBack<TDataSin>("TDataSin 0 8 1\n\tTPen 0 0 3 3 0\n\tTData 1 0 8 0 0 4294967295\n"
                                "\tTRect 0 0 0 40 1\n");
  EXPECT_EQ(old->GetStartQuarter(), 1);
  EXPECT_EQ(old->GetPen().GetWidth(), 3);
  EXPECT_EQ(old->Samples().size(), 41u);
  EXPECT_EQ(Ltrb(*old), "(0, 0, 40, 2)"); // a flat rectangle gets its two units
  auto newer = ReadBack<TDataSin>("TDataSin 2 6 2 9 9\n\tTData 3 0 8 0\n\tTPen 0 0 1 1 0\n\tTBrush 0 1 0 0\n"
                                  "\tTRect 0 0 0 40 10\n");
  EXPECT_EQ(newer->GetQuarters(), 6);
  TDataSin other;
  EXPECT_EQ(LeftUnread(other, "TDataBezier 1 0 0 0 0 0 0 0\n"), 28u);
}

class SinusoidCommandTest : public CurvesTest
{
};

TEST_F(SinusoidCommandTest, NumberOfCyclesAsksForQuartersInRange)
{
  TDataSin wave(100, 100, 40, 20);
  input.AnswerIntegers(std::vector<int32_t>{8});
  EXPECT_EQ(wave.ContextCommand(&client, CM_OBJ_CYCLES), CM_OBJ_CYCLES);
  EXPECT_EQ(wave.GetQuarters(), 8);
  EXPECT_EQ(wave.Samples()[5].y, -10);
  EXPECT_EQ(input.dialogs.back(), "PromptIntegers:Cycles Count");

  // Answers out of range are refused until one fits.
  input.AnswerIntegers(std::vector<int32_t>{0});
  input.AnswerIntegers(std::vector<int32_t>{401});
  input.AnswerIntegers(std::vector<int32_t>{400});
  EXPECT_EQ(wave.ContextCommand(&client, CM_OBJ_CYCLES), CM_OBJ_CYCLES);
  ASSERT_EQ(input.messageBoxes.size(), 2u);
  EXPECT_EQ(input.messageBoxes[0].text, "Inapropriate value");
  EXPECT_EQ(input.messageBoxes[0].title, "ERROR");
  // 400 quarters do not fit in 40 units: the wave is widened.
  EXPECT_EQ(Ltrb(wave), "(100, 100, 500, 120)");

  input.AnswerIntegers(std::vector<int32_t>{-3});
  input.AnswerIntegers(std::nullopt);
  EXPECT_EQ(wave.ContextCommand(&client, CM_OBJ_CYCLES), 0);
  EXPECT_EQ(wave.GetQuarters(), 400);
}

TEST_F(SinusoidCommandTest, StartPositionIsAQuadrantCountedFromOne)
{
  TDataSin wave(100, 100, 40, 20);
  input.AnswerIntegers(std::vector<int32_t>{5});
  input.AnswerIntegers(std::vector<int32_t>{4});
  EXPECT_EQ(wave.ContextCommand(&client, CM_OBJ_START_POSITION), CM_OBJ_START_POSITION);
  EXPECT_EQ(wave.GetStartQuarter(), 3);
  EXPECT_EQ(wave.Samples().front().y, 10);
  EXPECT_EQ(input.dialogs.back(), "PromptIntegers:Cycle Start");

  input.AnswerIntegers(std::nullopt);
  EXPECT_EQ(wave.ContextCommand(&client, CM_OBJ_START_POSITION), 0);
  EXPECT_EQ(wave.GetStartQuarter(), 3);
}

TEST_F(SinusoidCommandTest, CreationPlacesACornerAndDragsTheOther)
{
  client.SetLayers(16);
  input.Click(100, 100);
  input.Drag(30, 20);
  input.LeftUp();
  auto wave = CreateInteractively<TDataSin>(kTDataSin);
  ASSERT_TRUE(wave);
  // A new wave is 10 units square before the drag.
  EXPECT_EQ(Ltrb(*wave), "(100, 100, 140, 130)");
  EXPECT_EQ(wave->Samples().size(), 41u);
  EXPECT_EQ(wave->GetLayers(), 16);

  input.Char(VK_ESCAPE_);
  EXPECT_EQ(CreateObject(kTDataSin, &client, 0), nullptr);
  input.Click(100, 100);
  input.Drag(30, 20);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(CreateObject(kTDataSin, &client, 0), nullptr);
  input.Click(100, 100);
  EXPECT_EQ(CreateObject(kTDataSin, &client, 0), nullptr);
  EXPECT_EQ(input.PendingMessages(), 0);
  ExpectViewRestored();
}

} // namespace
