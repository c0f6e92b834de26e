#include "Defaults.h"
#include "TPage.h"
#include "TPen.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <string>
#include <vector>

namespace {

// A backend that writes down what the page hands it, so the page's own
// conventions (origin offset, radial points, widened fills) can be checked
// apart from any rendering.
class RecordingDevice : public TPageDevice
{
public:
  explicit RecordingDevice(std::vector<std::string>& log) : m_log(log) {}

  void SetMapping(int32_t ox, int32_t oy, int32_t wx, int32_t wy, int32_t vx, int32_t vy) override
  {
    Log("SetMapping", {ox, oy, wx, wy, vx, vy});
  }
  void SetClip(const int32_t* r) override { Log("SetClip", r ? std::vector<int32_t>(r, r + 4) : Values{}); }
  void SelectPen(const TPen&) override {}
  void SelectBrush(const TBrush& b) override
  {
    Log("SelectBrush", {int32_t(b.GetStyle()), int32_t(b.GetColor())});
  }
  void SelectFont(const TFont&) override {}
  void SelectDefaults() override {}
  void SetTextColor(uint32_t c) override { Log("SetTextColor", {int32_t(c)}); }
  void SetBkColor(uint32_t) override {}
  void SetBkMode(int32_t) override {}
  void SetTextAlign(uint32_t) override {}
  void SetROP2(int32_t) override {}
  void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override { Log("Rectangle", {l, t, r, b}); }
  void RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t w, int32_t h) override
  {
    Log("RoundRect", {l, t, r, b, w, h});
  }
  void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override { Log("Ellipse", {l, t, r, b}); }
  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override { Log("Line", {x1, y1, x2, y2}); }
  void Polygon(const TPoint* p, int32_t n) override { LogPoints("Polygon", p, n); }
  void Polyline(const TPoint* p, int32_t n) override { LogPoints("Polyline", p, n); }
  void Pie(int32_t l, int32_t t, int32_t r, int32_t b, TPoint s, TPoint e) override
  {
    Log("Pie", {l, t, r, b, s.x, s.y, e.x, e.y});
  }
  void Chord(int32_t, int32_t, int32_t, int32_t, TPoint, TPoint) override {}
  void Arc(int32_t l, int32_t t, int32_t r, int32_t b, TPoint s, TPoint e) override
  {
    Log("Arc", {l, t, r, b, s.x, s.y, e.x, e.y});
  }
  void FillRect(int32_t l, int32_t t, int32_t r, int32_t b, const TBrush* brush) override
  {
    Log("FillRect", {l, t, r, b, brush ? int32_t(brush->GetColor()) : -2});
  }
  bool SetPixel(int32_t x, int32_t y, uint32_t c) override
  {
    Log("SetPixel", {x, y, int32_t(c)});
    return true;
  }
  void TextOut(int32_t x, int32_t y, std::string_view text, const int32_t* clip, uint32_t options) override
  {
    Values v = {x, y, int32_t(options)};
    if (clip)
      v.insert(v.end(), clip, clip + 4);
    Log("TextOut:" + std::string(text), v);
  }
  void GetTextExtent(std::string_view, int32_t& w, int32_t& h) override { w = h = 0; }
  void DrawEdge(int32_t l, int32_t t, int32_t r, int32_t b) override { Log("DrawEdge", {l, t, r, b}); }
  void DrawImage(int32_t l, int32_t t, int32_t r, int32_t b, const QImage& image,
                 const int32_t* from) override
  {
    Log("DrawImage", {l, t, r, b, image.width(), from[0], from[1], from[2], from[3]});
  }

  const TPoint* lastPoints = nullptr;

private:
  using Values = std::vector<int32_t>;
  void Log(const std::string& name, const Values& values)
  {
    std::string line = name;
    for (int32_t v : values)
      line += " " + std::to_string(v);
    m_log.push_back(line);
  }
  void LogPoints(const std::string& name, const TPoint* p, int32_t n)
  {
    lastPoints = p;
    Values v;
    for (int32_t i = 0; i < n; ++i)
      v.insert(v.end(), {p[i].x, p[i].y});
    Log(name, v);
  }
  std::vector<std::string>& m_log;
};

struct RecordedPage
{
  std::vector<std::string> log;
  TPage page;
  RecordingDevice* device = nullptr;

  explicit RecordedPage(int32_t kind = TPage::kCreated)
  {
    auto d = std::make_unique<RecordingDevice>(log);
    device = d.get();
    page.BindBackend(std::move(d), kind);
    log.clear();
  }
};

} // namespace

TEST(PageMapping, ExtentsFollowZoomAndHalvingRule)
{
  TPage page;
  page.SetPaperSize(8000, 6000);
  page.SetZoom(1000);
  EXPECT_EQ(page.GetExtentDivisor(), 1);
  EXPECT_EQ(page.ToDeviceX(100), 1000);

  page.SetZoom(10);
  // 8000 * 100 / 10 = 80000, halved twice to 20000; the viewport follows.
  EXPECT_EQ(page.GetExtentDivisor(), 4);
  EXPECT_EQ(page.ToDeviceX(1000), 100);
  EXPECT_EQ(page.ToLogicalX(100), 1000);

  page.SetZoom(0);
  EXPECT_EQ(page.GetZoom(), 1);
  page.SetZoom(5000);
  EXPECT_EQ(page.GetZoom(), 1000);
}

TEST(PageMapping, DeviceReceivesWindowAndViewportExtents)
{
  RecordedPage r;
  r.page.SetPaperSize(8000, 6000);
  r.page.SetScroll(40, 50);
  r.page.SetZoom(1000);
  EXPECT_EQ(r.log.back(), "SetMapping 40 50 800 600 8000 6000");
  r.page.SetZoom(10);
  EXPECT_EQ(r.log.back(), "SetMapping 40 50 20000 15000 2000 1500");

  // A printer maps with its units per inch and resolution: 0.002 inch
  // units on a 600 dpi device give 1.2 pixels per unit.
  r.page.SetZoom(100);
  r.page.SetUseResolution(1);
  r.page.SetPixelsPerInch(600, 600);
  r.page.SetUnitsPerInch(500);
  EXPECT_EQ(r.log.back(), "SetMapping 40 50 8000 6000 9600 7200");
  EXPECT_EQ(r.page.ToDeviceX(500), 600);

  r.page.SetUnitsPerInch(0);
  EXPECT_EQ(r.page.GetUnitsPerInch(), 500);
}

TEST(PageMapping, MetafileKeepsThePaperAsItsWindow)
{
  RecordedPage r(TPage::kMetafile);
  r.page.SetPaperSize(1200, 900);
  r.page.SetScroll(5, 6);
  r.page.SetZoom(250);
  EXPECT_EQ(r.page.GetZoom(), 100);
  EXPECT_EQ(r.log.back(), "SetMapping 5 6 1200 900 1200 900");
}

TEST(PageMapping, PageAndDevicePointsAllowForScrollAndOrigin)
{
  TPage page;
  page.SetZoom(50);
  page.SetScroll(100, 200);
  page.SetOrigin(10, 20);
  int32_t dx, dy, x, y;
  page.PageToDevice(290, 380, dx, dy);
  EXPECT_EQ(dx, 100);
  EXPECT_EQ(dy, 100);
  page.DeviceToPage(dx, dy, x, y);
  EXPECT_EQ(x, 290);
  EXPECT_EQ(y, 380);
}

TEST(PageMapping, PaintClipComesFromDeviceRectangle)
{
  TPage page;
  page.SetZoom(50);
  page.SetScroll(20, 30);
  page.SetPaintClipFromDevice(0, 0, 100, 100);
  TRect clip;
  ASSERT_TRUE(page.GetClipRect(clip));
  EXPECT_EQ(clip.left, 20);
  EXPECT_EQ(clip.top, 30);
  EXPECT_EQ(clip.right, 220);
  EXPECT_EQ(clip.bottom, 230);
}

TEST(PageVisible, UsesViewAreaOrClipMovedByOrigin)
{
  TPage page;
  page.SetScroll(100, 100);
  page.SetViewSize(200, 100);
  EXPECT_TRUE(page.RectVisible(TRect(250, 150, 260, 160)));
  EXPECT_FALSE(page.RectVisible(TRect(0, 0, 100, 100))); // touches the corner only
  page.SetOrigin(50, 0);
  EXPECT_TRUE(page.RectVisible(TRect(60, 150, 70, 160)));
  EXPECT_FALSE(page.RectVisible(TRect(260, 150, 270, 160)));

  const TRect clip(0, 0, 10, 10);
  page.SetOrigin(0, 0);
  page.SetClipRect(&clip);
  EXPECT_TRUE(page.RectVisible(TRect(5, 5, 20, 20)));
  EXPECT_FALSE(page.RectVisible(TRect(250, 150, 260, 160)));
}

TEST(PageDrawing, OriginOffsetMovesEveryCoordinate)
{
  RecordedPage r;
  r.page.SetOrigin(100, 200);
  r.page.Rectangle(TRect(1, 2, 3, 4));
  r.page.RoundRect(TRect(1, 2, 3, 4), 5, 6);
  r.page.Line(1, 2, 3, 4);
  r.page.FillRect(0, 0, 10, 10);
  TBrush red;
  red.SetStyle(TBrush::kSolid);
  red.SetColor(0xFF);
  r.page.FillRectBrush(TRect(0, 0, 10, 10), red);
  r.page.SetPixel(1, 2, 0x123456);
  r.page.DrawEdge(TRect(1, 2, 3, 4));
  const TRect clip(0, 0, 5, 5);
  r.page.ExtTextOut(1, 2, "ab", &clip, ETO_CLIPPED_);
  r.page.TextOut(1, 2, "abcdef", 3);
  QImage image(8, 6, QImage::Format_RGB32);
  r.page.DrawImage(TRect(1, 2, 3, 4), image);
  // Only the image's own pixels are asked for; a part outside it is nothing.
  const TRect part(-2, 1, 20, 5);
  r.page.DrawImage(TRect(1, 2, 3, 4), image, &part);
  const TRect outside(8, 0, 10, 6);
  r.page.DrawImage(TRect(1, 2, 3, 4), image, &outside);
  r.page.DrawImage(TRect(1, 2, 3, 4), QImage());
  const std::vector<std::string> expected = {
      "Rectangle 101 202 103 204",
      "RoundRect 101 202 103 204 10 12",
      "Line 101 202 103 204",
      "FillRect 100 200 111 211 -2", // both corners inside: 11 x 11
      "FillRect 99 199 111 211 255", // widened by one on every side
      "SetPixel 101 202 1193046",
      "DrawEdge 101 202 103 204",
      "TextOut:ab 101 202 4 100 200 105 205",
      "TextOut:abc 101 202 0",
      "DrawImage 101 202 103 204 8 0 0 8 6",
      "DrawImage 101 202 103 204 8 0 1 8 5",
  };
  EXPECT_EQ(r.log, expected);
}

TEST(PageDrawing, PolygonsAreCopiedOnlyWithAnOffset)
{
  RecordedPage r;
  const TPoint points[3] = {{0, 0}, {10, 0}, {5, 8}};
  r.page.Polygon(points, 3);
  EXPECT_EQ(r.device->lastPoints, points);
  r.page.SetOrigin(1, 2);
  r.page.Polyline(points, 3);
  EXPECT_NE(r.device->lastPoints, points);
  EXPECT_EQ(r.log.back(), "Polyline 1 2 11 2 6 10");
  r.log.clear();
  r.page.Polygon(points, 0);
  r.page.Polyline(nullptr, 3);
  EXPECT_TRUE(r.log.empty());
}

TEST(PageDrawing, RadialPointsAre200UnitsOutRoundedHalfAway)
{
  const TRect r(0, 0, 200, 100); // centre (100, 50)
  EXPECT_EQ(TPage::RadialPoint(r, 0), (TPoint{300, 50}));
  EXPECT_EQ(TPage::RadialPoint(r, 90), (TPoint{100, -150})); // counter-clockwise: up on the screen
  EXPECT_EQ(TPage::RadialPoint(r, 180), (TPoint{-100, 50}));
  EXPECT_EQ(TPage::RadialPoint(r, 45), (TPoint{241, -91}));
  EXPECT_EQ(TPage::RadialPoint(r, -30), (TPoint{273, 150}));

  RecordedPage rec;
  rec.page.SetOrigin(10, 0);
  rec.page.Pie(r, 0, 90);
  EXPECT_EQ(rec.log.back(), "Pie 10 0 210 100 310 50 110 -150");
  rec.page.Arc(r, 180, 0);
  EXPECT_EQ(rec.log.back(), "Arc 10 0 210 100 -90 50 310 50");
}

TEST(PageDrawing, MarkersAreBuiltFromShapes)
{
  RecordedPage r;
  r.page.SetTextColor(0x0000FF);
  r.page.DrawMarker(TRect(0, 0, 12, 12), 1, true);
  r.page.DrawMarker(TRect(0, 0, 12, 12), 3840, true);
  const std::vector<std::string> expected = {
      "SetTextColor 255",  "Rectangle 0 0 12 12", "Line 0 0 11 11", "Line 0 11 11 0", "Ellipse 0 0 12 12",
      "SelectBrush 0 255", // solid, text colour
      "Ellipse 3 3 9 9",
      "SelectBrush 1 -1", // the hollow brush selected at binding, back again
  };
  EXPECT_EQ(r.log, expected);
}

TEST(PagePaper, SectionRoundTripsAtVersionMinus3)
{
  TPage page;
  page.SetPaperSize(1500, 2500);
  page.SetPaperSizeCode(9);
  page.SetOrientation(2);
  page.SetUnitFactor(0.25f);
  page.SetDecimals(3);
  page.SetUnitsPerInch(254);
  page.SetNumberFormat(TPage::kFormatFeetInches);
  page.SetSizeMode(1);
  TOutStream os;
  page.WritePaperSection(os);
  EXPECT_EQ(os.Data(), "-3 1500 2500 9 2 0.25 3 254 30 1\n");

  TPage back;
  TInStream is(os.Data());
  back.ReadPaperSection(is, true);
  TOutStream again;
  back.WritePaperSection(again);
  EXPECT_EQ(again.Data(), os.Data());
}

TEST(PagePaper, OlderLayoutsAndMissingSectionTakeDefaults)
{
  TPage page;
  page.SetUnitFactor(5.0f);
  page.SetDecimals(0);
  page.SetUnitsPerInch(500);
  page.SetNumberFormat(TPage::kFormatInches);
  page.SetSizeMode(1);

  TInStream oldest("1200 900 1 2\n");
  page.ReadPaperSection(oldest, true);
  EXPECT_EQ(page.GetPaperWidth(), 1200);
  EXPECT_EQ(page.GetPaperHeight(), 900);
  EXPECT_EQ(page.GetPaperSizeCode(), 1);
  EXPECT_EQ(page.GetOrientation(), 2);
  EXPECT_FLOAT_EQ(page.GetUnitFactor(), 0.01f);
  EXPECT_EQ(page.GetDecimals(), 2);
  EXPECT_EQ(page.GetUnitsPerInch(), 100);
  EXPECT_EQ(page.GetNumberFormat(), TPage::kFormatDecimal);

  page.SetNumberFormat(TPage::kFormatInches);
  page.SetSizeMode(1);
  TInStream v1("-1 700 500 5 1 0.5 1 508\n");
  page.ReadPaperSection(v1, true);
  EXPECT_EQ(page.GetPaperWidth(), 700);
  EXPECT_FLOAT_EQ(page.GetUnitFactor(), 0.5f);
  EXPECT_EQ(page.GetUnitsPerInch(), 508);
  EXPECT_EQ(page.GetNumberFormat(), TPage::kFormatDecimal);
  EXPECT_EQ(page.GetSizeMode(), 0);

  TInStream v2("-2 700 500 5 1 0.5 1 508 31\n");
  page.ReadPaperSection(v2, true);
  EXPECT_EQ(page.GetNumberFormat(), TPage::kFormatInches);

  page.SetSizeMode(1);
  TInStream none("");
  page.ReadPaperSection(none, false);
  EXPECT_EQ(page.GetPaperWidth(), 800);
  EXPECT_EQ(page.GetPaperHeight(), 1000);
  EXPECT_EQ(page.GetUnitsPerInch(), 100);
  EXPECT_EQ(page.GetNumberFormat(), TPage::kFormatDecimal);
  EXPECT_EQ(page.GetSizeMode(), 0);
}

TEST(PageRecord, RoundTripsAndToleratesOtherVersions)
{
  TPage page;
  page.SetPaperSizeCode(9);
  page.SetOrientation(2);
  page.SetUnitsPerInch(127);
  page.SetZoom(250);
  page.SetUseResolution(1);
  page.SetOrigin(-3, 4);
  page.SetPaperSize(1234, 567);
  page.SetScroll(12, 34);
  page.SetViewSize(300, 200);
  page.SetScrollStep(7, 9);
  page.SetUnitFactor(0.125f);
  page.SetDecimals(1);
  page.SetNumberFormat(TPage::kFormatInches);
  TOutStream os;
  page.Write(os);
  EXPECT_EQ(os.Data(), "TPage 1 9 2 127 250 1 -3 4 1234 567 12 34 300 200 7 9 0.125 1 31\n");

  TPage back;
  TInStream is(os.Data());
  back.Read(is);
  TOutStream again;
  back.Write(again);
  EXPECT_EQ(again.Data(), os.Data());

  // Version 0 has no unit fields; a newer version's extra fields are skipped
  // and a zoom out of range is clamped.
  TPage old;
  old.SetDecimals(4);
  TInStream v0("TPage 0 1 1 100 100 0 0 0 800 1000 0 0 800 1000 20 20\n");
  old.Read(v0);
  EXPECT_EQ(old.GetDecimals(), 4);
  TInStream v2(
      "TPage 2 1 1 100 5000 0 0 0 800 1000 0 0 800 1000 20 20 1 0 6 99 98\nTPage 1 1 1 100 40 0 0 0 800 "
      "1000 0 0 800 1000 20 20 1 0 6\n");
  TPage newer;
  newer.Read(v2);
  EXPECT_EQ(newer.GetZoom(), 1000);
  newer.Read(v2);
  EXPECT_EQ(newer.GetZoom(), 40);
}

TEST(PageRecord, DefaultPageGoesThroughTheDefaultsFile)
{
  TPage& defaults = DefaultPage();
  EXPECT_EQ(defaults.GetPaperWidth(), 800);
  EXPECT_EQ(defaults.GetPaperHeight(), 1000);
  EXPECT_EQ(defaults.GetDecimals(), 0);
  EXPECT_FLOAT_EQ(defaults.GetUnitFactor(), 1.0f);

  TPage page(defaults);
  page.SetPaperSize(2000, 3000);
  page.SetUnitsPerInch(254);
  TempDir dir;
  const std::string path = dir.File("vekta.prf");
  ASSERT_TRUE(WriteDefaultsFile(path, &page));
  TPage back;
  ASSERT_TRUE(ReadDefaultsFile(path, &back));
  EXPECT_EQ(back.GetPaperWidth(), 2000);
  EXPECT_EQ(back.GetPaperHeight(), 3000);
  EXPECT_EQ(back.GetUnitsPerInch(), 254);
  EXPECT_FLOAT_EQ(back.GetUnitFactor(), 1.0f);

  TPage fresh;
  fresh.SetZoom(300);
  fresh.CopyPaperSettings(back);
  EXPECT_EQ(fresh.GetPaperWidth(), 2000);
  EXPECT_EQ(fresh.GetUnitsPerInch(), 254);
  EXPECT_EQ(fresh.GetDecimals(), 0);
  EXPECT_EQ(fresh.GetZoom(), 300);
}
