#include "PageBinding.h"
#include "ViewTestSupport.h"

#include "Colors.h"
#include "CommandIds.h"
#include "DateTime.h"
#include "LanguageSettings.h"
#include "TInStream.h"
#include "TOutStream.h"
#include "TVue.h"
#include "ValueFormat.h"

#include <QImage>

#include <string>
#include <utility>
#include <vector>

namespace {

using Log = std::vector<std::pair<std::string, uint16_t>>;

// Records which layer pass painted it.
template <class Base> class Recording : public Base
{
public:
  Recording(std::string name, uint16_t mask, Log& log) : m_name(std::move(name)), m_log(log)
  {
    this->layers = mask;
  }
  bool Paint(TPage* page, uint8_t) override
  {
    if (!this->IsOnPage(page))
      return false;
    m_log.emplace_back(m_name, page->GetDrawingLayers());
    return true;
  }

private:
  std::string m_name;
  Log& m_log;
};

TEST(ClientTest, SnapRoundsHalvesAwayFromZero)
{
  TClient client;
  int32_t x = 14, y = 15;
  client.SnapPoint(x, y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 20);
  x = -15;
  y = -14;
  client.SnapPoint(x, y);
  EXPECT_EQ(x, -20);
  EXPECT_EQ(y, -10);
  // A step of 1 on either axis turns snapping off on both.
  client.SetSnapStep(1, 10);
  x = 14;
  y = 14;
  client.SnapPoint(x, y);
  EXPECT_EQ(x, 14);
  EXPECT_EQ(y, 14);
  // Out-of-range steps keep the old ones.
  client.SetSnapStep(0, 201);
  int32_t sx, sy;
  client.GetSnapStep(sx, sy);
  EXPECT_EQ(sx, 1);
  EXPECT_EQ(sy, 10);
}

TEST(ClientTest, SnapDeltaCarriesWhatItCutsOff)
{
  TClient client;
  int32_t remX = 0, remY = 0;
  int32_t dx = 7, dy = -13;
  EXPECT_TRUE(client.SnapDelta(dx, dy, remX, remY));
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, -10);
  EXPECT_EQ(remX, 7);
  EXPECT_EQ(remY, -3);
  dx = 4;
  dy = -6;
  client.SnapDelta(dx, dy, remX, remY);
  EXPECT_EQ(dx, 10);
  EXPECT_EQ(dy, 0);
  EXPECT_EQ(remX, 1);
  EXPECT_EQ(remY, -9);
  // A step below 2 passes the sum through.
  client.SetSnapStep(1, 10);
  dx = 3;
  dy = 0;
  EXPECT_TRUE(client.SnapDelta(dx, dy, remX, remY));
  EXPECT_EQ(dx, 4);
  EXPECT_EQ(remX, 0);
  EXPECT_EQ(dy, 0);
  EXPECT_EQ(remY, -9);
}

TEST_F(ViewTest, UnitsAndFormats)
{
  TPage& page = *client.GetPage();
  page.SetUnitFactor(0.01f);
  page.SetDecimals(2);
  client.SetOrigin(50, 0);
  const std::string sep(1, DecimalSeparator());
  EXPECT_EQ(client.FormatX(250), "2" + sep + "00");
  EXPECT_EQ(client.FormatLength(150, 0, true), "+1" + sep + "50");
  EXPECT_EQ(client.FormatLength(150, 7), "   1" + sep + "50");
  EXPECT_EQ(client.FromUser(1.235), 124);
  EXPECT_EQ(client.FromUser(-1.235), -124);
  EXPECT_NEAR(client.ToUserArea(10000), 1.0, 1e-6);
  page.SetNumberFormat(TPage::kFormatFeetInches);
  page.SetUnitFactor(1.0f);
  EXPECT_EQ(client.FormatArea(288), "2" + sep + "00'");
}

TEST_F(ViewTest, ObjectsPaintLayerEightFirstAndLayerOneLast)
{
  Log log;
  Recording<TData> a("a", 1, log), b("b", 17, log), c("c", 8, log), hidden("hidden", 2, log);
  Recording<TVue> window("window", 8, log);
  for (TData* o : std::vector<TData*>{&a, &b, &c, &hidden, &window}) {
    o->SetState(TData::kNotOwned, true);
    client.AddObject(o, false);
  }
  TPage& page = *client.GetPage();
  page.SetVisibleLayers(0xFFFF & ~2);
  client.PaintObjects(&page, TData::kPaintScreen);
  // Window objects paint themselves at zoom 100, except on output.
  EXPECT_EQ(log, (Log{{"b", 16}, {"c", 8}, {"a", 1}, {"b", 1}}));
  EXPECT_EQ(page.GetDrawingLayers(), 0xFFFF & ~2);
  EXPECT_EQ(input.Cursor(), 0);
  log.clear();
  client.PaintObjects(&page, TData::kPaintOutput);
  EXPECT_EQ(log, (Log{{"b", 16}, {"c", 8}, {"window", 8}, {"a", 1}, {"b", 1}}));
  client.ClearObjects();
}

TEST_F(ViewTest, GridDotsStopShortOfTheEdges)
{
  QImage image(800, 1000, QImage::Format_RGB32);
  image.fill(Qt::white);
  TPage& page = *client.GetPage();
  client.SetGridShown(true, false);
  ASSERT_TRUE(BindPage(page, &image, TPage::kMemory));
  client.PaintObjects(&page, TData::kPaintScreen);
  page.Release();
  int dots = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      dots += image.pixel(x, y) == qRgb(0, 0, 0);
  EXPECT_EQ(dots, 79 * 99);
  EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(790, 990), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(0, 10), qRgb(255, 255, 255));

  // Output and a step below 2 draw no dots.
  image.fill(Qt::white);
  client.SetGridStep(1, 10, false);
  ASSERT_TRUE(BindPage(page, &image, TPage::kMemory));
  client.PaintObjects(&page, TData::kPaintScreen);
  page.Release();
  EXPECT_EQ(image.pixel(10, 10), qRgb(255, 255, 255));
}

TEST_F(ViewTest, FitPageAndFitWidthTakeTheLargestZoomThatShowsThePaper)
{
  TPage& page = *client.GetPage();
  const auto fits = [&](bool widthOnly) {
    return page.GetViewWidth() >= page.GetPaperWidth() &&
           (widthOnly || page.GetViewHeight() >= page.GetPaperHeight());
  };
  for (const auto& [width, height] : {std::pair{400, 500}, std::pair{1300, 300}, std::pair{3000, 4000}}) {
    input.SetClientSize(width, height);
    for (const bool widthOnly : {false, true}) {
      client.SetZoom(100);
      client.Message(widthOnly ? CM_ZOOM_FIT_WIDTH : CM_ZOOM_FIT_PAGE, 0, 0, nullptr);
      const int32_t zoom = client.GetZoom();
      EXPECT_TRUE(fits(widthOnly)) << width << "x" << height << " at " << zoom;
      client.SetZoom(zoom + 1);
      EXPECT_FALSE(fits(widthOnly)) << width << "x" << height << " at " << zoom + 1;
    }
  }
  // A wide, low window: the page fits by its height, the width by its width.
  input.SetClientSize(1300, 300);
  client.Message(CM_ZOOM_FIT_PAGE, 0, 0, nullptr);
  const int32_t pageZoom = client.GetZoom();
  client.Message(CM_ZOOM_FIT_WIDTH, 0, 0, nullptr);
  EXPECT_GT(client.GetZoom(), pageZoom);
}

TEST_F(ViewTest, ScrollingStaysWithinThePaper)
{
  input.SetClientSize(400, 500);
  TPage& page = *client.GetPage();
  EXPECT_EQ(page.GetViewHeight(), 500);
  struct Step
  {
    int32_t code, value, expected;
    bool moved;
  };
  const Step steps[] = {
      {TClient::kLineDown, 0, 20, true},
      {TClient::kPageDown, 0, 500, true},
      {TClient::kLineDown, 0, 500, false},
      {TClient::kLineUp, 0, 480, true},
      {TClient::kTop, 0, 0, true},
      {TClient::kLineUp, 0, 0, false},
      {TClient::kThumbPosition, 7, 140, true},
      {TClient::kAbsolute, 2000, 500, true},
      {TClient::kRelative, -50, 450, true},
      {TClient::kBottom, 0, 500, true},
      {5, 0, 500, false},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(client.Scroll(TClient::kVertical, s.code, s.value), s.moved) << s.code;
    EXPECT_EQ(page.GetScrollY(), s.expected) << s.code;
  }
  EXPECT_EQ(client.GetScrollRange(TClient::kVertical), 50);
  EXPECT_EQ(client.GetScrollThumb(TClient::kVertical), 50);
  client.Scroll(TClient::kVertical, TClient::kThumbPosition, 7);
  EXPECT_EQ(client.GetScrollThumb(TClient::kVertical), 7);
  EXPECT_TRUE(client.HasScrollBar(TClient::kVertical));

  // A window larger than the paper does not scroll and shows the paper in
  // its middle.
  input.SetClientSize(800, 1200);
  EXPECT_EQ(page.GetScrollY(), -100);
  EXPECT_FALSE(client.Scroll(TClient::kVertical, TClient::kLineDown, 0));
  EXPECT_FALSE(client.HasScrollBar(TClient::kVertical));
  EXPECT_EQ(client.GetScrollThumb(TClient::kVertical), 0);
}

TEST_F(ViewTest, ZoomFollowsTheClientRules)
{
  EXPECT_FALSE(client.SetZoom(100));
  EXPECT_FALSE(client.SetZoom(0));
  EXPECT_TRUE(client.SetZoom(200));
  EXPECT_EQ(client.GetPage()->GetViewWidth(), 400);
  EXPECT_TRUE(client.SetZoom(1500));
  EXPECT_EQ(client.GetZoom(), 1000);
  client.SetFlags(TClient::kZoomLocked, true);
  EXPECT_FALSE(client.SetZoom(50));
  EXPECT_EQ(client.Message(CM_ZOOM_50, 0, 0, nullptr), 0u);
  client.SetFlags(TClient::kZoomLocked, false);
  EXPECT_EQ(client.Message(CM_ZOOM_50, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.GetZoom(), 50);
  // Menu commands arrive as command messages.
  client.WndProc(WM_COMMAND_, CM_ZOOM_200, 0);
  EXPECT_EQ(client.GetZoom(), 200);
}

TEST_F(ViewTest, ViewsReportToTheirParent)
{
  TVue child;
  child.SetInput(&input);
  child.SetParent(&client);
  input.invalidated.clear();
  EXPECT_TRUE(child.Notify(CM_OBJ_COLOR, nullptr));
  EXPECT_EQ(input.invalidated.size(), 1u);
  child.Message(MSG_BROADCAST_COMMAND, 1234, 0, nullptr);
  ASSERT_EQ(input.posted.size(), 2u);
  EXPECT_EQ(input.posted[0].view, &client);
  EXPECT_EQ(input.posted[0].message, MSG_CHILD_NOTIFY);
  EXPECT_EQ(input.posted[0].param1, CM_OBJ_COLOR);
  EXPECT_EQ(input.posted[1].param1, 1234u);
  EXPECT_TRUE(child.IsA(kTVue));
  EXPECT_TRUE(child.IsA(kTData));
  EXPECT_FALSE(child.IsA(kTClient));
  EXPECT_TRUE(client.IsA(kTVue));
}

TEST(ClientTest, SnapAndClientSectionsWriteAndRead)
{
  TClient client;
  client.SetSnapOn(true);
  client.SetGridStep(20, 30, false);
  client.SetColor(1, 0xFFFFFF);
  TOutStream os;
  client.WriteClientSection(os);
  client.WriteSnapSection(os);
  EXPECT_EQ(os.Data(), "\n[VEKT TClient]\n1 100 16777215\n\n[VEKT Snap]\n0 1 1 20 30 10 10\n");

  TClient back;
  TInStream is(os.Data());
  back.ReadSnapSection(is);
  back.ReadClientSection(is);
  EXPECT_TRUE(back.IsSnapOn());
  EXPECT_FALSE(back.IsGridShown());
  int32_t gx, gy;
  back.GetGridStep(gx, gy);
  EXPECT_EQ(gy, 30);
  EXPECT_EQ(back.GetColor(1), 0xFFFFFFu);

  // Steps outside 1..200 keep what the client had; an old client record
  // has no colour, which leaves the background hollow.
  TInStream old("\n[VEKT Snap]\n1 0 0 0 300 5 5\n\n[VEKT TClient]\n0 200\n");
  back.ReadSnapSection(old);
  back.ReadClientSection(old);
  EXPECT_TRUE(back.IsGridShown());
  EXPECT_FALSE(back.IsSnapOn());
  back.GetGridStep(gx, gy);
  EXPECT_EQ(gx, 20);
  EXPECT_EQ(gy, 30);
  EXPECT_EQ(back.GetZoom(), 200);
  EXPECT_EQ(back.GetBrush().GetStyle(), TBrush::kHollow);

  // Missing sections give the defaults.
  TInStream none("\n[VEKT Papier]\n-3 800 1000 1 1 0.01 2 100 6 0\n");
  back.ReadSnapSection(none);
  back.ReadClientSection(none);
  EXPECT_FALSE(back.IsGridShown());
  back.GetGridStep(gx, gy);
  EXPECT_EQ(gx, 10);
  EXPECT_EQ(back.GetZoom(), 100);
  EXPECT_EQ(back.GetColor(1), kNoColor);
}

TEST(ClientTest, CarriersAreAddedRemovedAndFoundChildByChild)
{
  TClient client;
  auto* a = new TData;
  auto* b = new TData;
  TestCarrier carrier({a, b});
  EXPECT_EQ(client.AddObject(nullptr, false), 0);
  EXPECT_EQ(client.AddObject(a, false), 1);
  EXPECT_EQ(client.AddObject(a, false), 0);
  EXPECT_FALSE(client.ContainsObject(&carrier));
  EXPECT_EQ(client.AddObject(&carrier, false), 1);
  EXPECT_EQ(client.ObjectCount(), 2);
  EXPECT_TRUE(client.ContainsObject(&carrier));
  EXPECT_EQ(b->GetOwner(), &client);
  EXPECT_EQ(client.RemoveObject(&carrier, false), 2);
  EXPECT_EQ(client.ObjectCount(), 0);
  EXPECT_FALSE(client.ContainsObject(a));
  const TestCarrier empty({});
  EXPECT_FALSE(client.ContainsObject(&empty));
  // Back in the list, the view owns them again and destroys them with itself.
  client.AddObject(&carrier, false);
}

TEST(ClientTest, ClearingUnlinksObjectsItDoesNotOwn)
{
  TData shared;
  shared.SetState(TData::kNotOwned, true);
  {
    TClient client;
    client.AddObject(&shared, false);
    client.AddObject(new TData, false);
    client.ClearObjects();
    EXPECT_EQ(client.ObjectCount(), 0);
    client.AddObject(&shared, false);
  }
  EXPECT_EQ(shared.GetLayers(), 8);
}

TEST_F(ViewTest, IdleKeysAndCharacters)
{
  input.MoveTo(120, 340);
  input.Char('s');
  input.Char('g');
  input.Char('o');
  input.Char('O');
  input.AnswerValues(std::vector<double>{15, 25});
  input.Key(VK_NEXT_);
  while (input.PumpMessage(&client)) {
  }
  EXPECT_TRUE(client.IsSnapOn());
  EXPECT_TRUE(client.IsGridShown());
  int32_t ox, oy;
  client.GetOrigin(ox, oy);
  EXPECT_EQ(ox, 15);
  EXPECT_EQ(oy, 25);
  // The origin typed starts from the one set at the pointer.
  ASSERT_EQ(input.valueFields.size(), 1u);
  EXPECT_EQ(input.valueFields[0][0].value, 120);
  EXPECT_EQ(input.dialogs.back(), "AskValues:Origin");
  // The readout followed the pointer; the paper fits the window, so the key
  // scrolls nothing.
  EXPECT_EQ(input.statusTexts.front(), "   X = 120   Y = 340");
  EXPECT_EQ(client.GetPage()->GetScrollY(), 0);
}

TEST_F(ViewTest, MouseShortcutsPostCommandsForThePickedObject)
{
  auto* object = new TData;
  client.AddObject(object, false);
  client.picked = object;
  input.Click(10, 10, MK_CONTROL_);
  while (input.PumpMessage(&client)) {
  }
  // Not ready yet: nothing happens.
  EXPECT_TRUE(input.posted.empty());
  client.SetFlags(TClient::kReady, true);
  input.Click(10, 10, MK_CONTROL_ | MK_SHIFT_);
  input.Click(20, 30, MK_SHIFT_);
  input.RightClick(40, 50);
  input.Click(10, 10);
  while (input.PumpMessage(&client)) {
  }
  ASSERT_EQ(input.posted.size(), 3u);
  EXPECT_EQ(input.posted[0].message, CM_OBJ_DELETE);
  EXPECT_EQ(input.posted[1].message, CM_OBJ_COPY_PASTE);
  EXPECT_EQ(input.posted[2].message, CM_MODIFY);
  EXPECT_EQ(input.posted[2].param2, reinterpret_cast<uintptr_t>(object));
  EXPECT_EQ(TClient::LastClick(), (TPoint{40, 50}));
  // The posted commands already ran as the loop handed them out.
  int commands = 0;
  for (const auto& r : client.received)
    commands += r.object == object;
  EXPECT_EQ(commands, 3);
}

} // namespace

TEST(ClientUnits, InchFractionsReadTheTypedFactor)
{
  TClient client;
  TPage* page = client.GetPage();
  ASSERT_NE(page, nullptr);
  page->SetUnitFactor(0.01f);
  page->SetNumberFormat(TPage::kFormatInches);
  page->SetDecimals(2);
  EXPECT_EQ(client.FormatLength(100), "1\"") << "not 63/64\"";
  EXPECT_EQ(client.FormatLength(175), "1 3/4\"");
  EXPECT_EQ(client.FromUser(1.75), 175);
}

TEST(LanguageSettings, EnglishResourcesGiveEnglishNamesAndAPoint)
{
  const char separator = DecimalSeparator();
  ApplyResourceLanguage();
  EXPECT_EQ(DecimalSeparator(), '.');
  std::string name;
  MonthName(12, name);
  EXPECT_EQ(name, "December");
  SetDecimalSeparator(separator);
  SetNameLanguage(kLanguageFrench);
}
