// A page view in its widget, driven by real mouse and key events through
// the modal procedures of the core.

#include "UiTestSupport.h"

#include "ClassTable.h"
#include "Colors.h"
#include "CommandIds.h"
#include "Messages.h"
#include "ObjectFactories.h"
#include "TClient.h"
#include "TClientWidget.h"
#include "TDataLine.h"
#include "TDataRectangle.h"
#include "TStatus.h"
#include "TWindow.h"

#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QScrollBar>
#include <QWheelEvent>

#include <cstdlib>
#include <memory>

namespace {

// The page as the screen shows it: no objects, white paper.
class ClientWidgetTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    RegisterObjectFactories();
    TPage* page = client.GetPage();
    page->SetUnitsPerInch(100);
    page->SetPaperSize(800, 1000);
    page->SetUnitFactor(1.0f);
    page->SetDecimals(0);
    client.SetColor(1, MakeColor(255, 255, 255));
    frame = std::make_unique<TWindow>(0, 0, 660, 540, "Vekta", nullptr);
    frame->CreateStatusBar();
    widget = new TClientWidget(client);
    frame->SetClient(&client);
    frame->Widget()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame->Widget()));
    // The pointer starts from a known place.
    MoveMouse(widget, {50, 50});
  }
  void TearDown() override
  {
    delete widget;
    frame.reset();
    client.ClearObjects();
  }

  // Runs action in the event loop after the pending events (the pointer
  // placements of snapping among them) were handled.
  static void Step(std::function<void()> action)
  {
    Later([action] {
      QApplication::processEvents();
      action();
    });
  }

  bool OverlayBlank()
  {
    const QImage& overlay = *static_cast<QImage*>(widget->OverlayDevice());
    for (int y = 0; y < overlay.height(); ++y) {
      for (int x = 0; x < overlay.width(); ++x) {
        if ((overlay.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
          return false;
      }
    }
    return true;
  }

  QScrollBar* Bar(Qt::Orientation orientation)
  {
    return FindChild<QScrollBar>(widget,
                                 [orientation](QScrollBar* b) { return b->orientation() == orientation; });
  }

  TClient client;
  std::unique_ptr<TWindow> frame;
  TClientWidget* widget = nullptr;
};

TEST_F(ClientWidgetTest, GetPointSnapsTheClickAndShowsItsPrompt)
{
  client.SetSnapOn(true);
  std::string prompt;
  Qt::CursorShape shape = Qt::ArrowCursor;
  Step([&] {
    prompt = frame->GetStatusBar()->GetText();
    shape = widget->cursor().shape();
    MoveMouse(widget, {103, 207});
    QTest::mouseClick(widget, Qt::LeftButton, {}, {103, 207});
  });
  int32_t x = 0, y = 0;
  EXPECT_EQ(client.GetPoint(x, y, "Click a point", true, TClient::kCursorCross, 0), TClient::kPointGiven);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 210);
  EXPECT_EQ(prompt, "Click a point");
  EXPECT_EQ(shape, Qt::CrossCursor);
  EXPECT_EQ(frame->GetStatusBar()->GetText(), "");
  EXPECT_FALSE(client.IsBusy());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(widget->cursor().shape(), Qt::BitmapCursor);
}

TEST_F(ClientWidgetTest, EscapeAndTheRightButtonCancel)
{
  Step([&] { QTest::keyClick(widget, Qt::Key_Escape); });
  int32_t x = 0, y = 0;
  EXPECT_EQ(client.GetPoint(x, y, "Click", false, -1, 0), TClient::kPointCancelled);
  Step([&] { QTest::mouseClick(widget, Qt::RightButton, {}, {80, 80}); });
  EXPECT_EQ(client.GetPoint(x, y, "Click", false, -1, 0), TClient::kPointCancelled);
  Step([&] { QTest::keyClick(widget, Qt::Key_Space); });
  EXPECT_EQ(client.GetPoint(x, y, "Click", false, -1, TClient::kAcceptSpace), TClient::kPointSpace);
}

TEST_F(ClientWidgetTest, DraggingRepaintsOnlyTheOutlineNeverThePage)
{
  client.SetSnapOn(true);
  TDataRectangle object(103, 107, 100, 50);
  widget->repaint();
  const int64_t rendered = widget->RenderedPixels();
  QRect firstStep, secondStep;
  MoveMouse(widget, {300, 300});
  Step([&] {
    MoveMouse(widget, {325, 318});
    Step([&] {
      firstStep = widget->LastPaintBounds();
      MoveMouse(widget, {341, 333});
      Step([&] {
        secondStep = widget->LastPaintBounds();
        QTest::mouseClick(widget, Qt::LeftButton, {}, {341, 333});
      });
    });
  });
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_POSITION, nullptr), TClient::kTrackReleased);
  // Snapped to the grid first, then moved in whole steps of 10.
  EXPECT_EQ(object.left, 140);
  EXPECT_EQ(object.top, 140);
  EXPECT_EQ(widget->RenderedPixels(), rendered);
  const QSize canvas = widget->ClientSize();
  for (const QRect& painted : {firstStep, secondStep}) {
    EXPECT_FALSE(painted.isEmpty());
    EXPECT_LT(painted.width() * painted.height(), canvas.width() * canvas.height() / 8);
  }
  EXPECT_TRUE(OverlayBlank());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(ClientWidgetTest, ALineIsCreatedByClickAndDragOnTheGrid)
{
  client.SetSnapOn(true);
  Step([&] {
    MoveMouse(widget, {203, 298});
    QTest::mouseClick(widget, Qt::LeftButton, {}, {203, 298});
    Step([&] {
      MoveMouse(widget, {253, 338});
      QTest::mouseClick(widget, Qt::LeftButton, {}, {253, 338});
    });
  });
  std::unique_ptr<TStreamable> made(CreateObjectByCommand(CM_NEW_LINE, &client, 0));
  auto* line = dynamic_cast<TDataLine*>(made.get());
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->GetStart(), (TPoint{200, 300}));
  EXPECT_EQ(line->GetEnd(), (TPoint{250, 340}));
  EXPECT_TRUE(OverlayBlank());
  // On the page it shows where it lies.
  ASSERT_EQ(client.AddObject(line, true), 1);
  made.release();
  const QImage& page = widget->PageImage();
  EXPECT_NE(page.pixel(225, 320) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(page.pixel(225, 300) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(ClientWidgetTest, OutlinesAreAnExclusiveOrOverTheRenderedPage)
{
  client.SetZoom(50);
  auto* box = new TDataRectangle(100, 100, 200, 100);
  box->SetColor(1, MakeColor(0, 0, 200));
  client.AddObject(box, true);
  const QImage page = widget->PageImage().copy();
  // The paper, smaller than the window, sits in its middle.
  int32_t left, top, right, bottom;
  client.GetPage()->PageToDevice(0, 0, left, top);
  client.GetPage()->PageToDevice(800, 1000, right, bottom);
  EXPECT_EQ(right - left, 400);
  EXPECT_LE(std::abs(left - (page.width() - right)), 1);
  EXPECT_LE(std::abs(top - (page.height() - bottom)), 1);
  // Paper white, its surroundings grey, the object in its colour (zoom 50:
  // two units a pixel).
  EXPECT_EQ(page.pixel(left + 20, top + 20) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(page.pixel(right + 10, top + 20) & 0xFFFFFF, qRgb(160, 160, 160) & 0xFFFFFFu);
  EXPECT_EQ(page.pixel(left - 10, top + 20) & 0xFFFFFF, qRgb(160, 160, 160) & 0xFFFFFFu);
  EXPECT_EQ(QColor(page.pixel(left + 100, top + 75)), QColor(0, 0, 200));
  EXPECT_EQ(
      widget->grab().toImage().copy(QRect(QPoint(0, 0), page.size())).convertToFormat(QImage::Format_RGB32),
      page.convertToFormat(QImage::Format_RGB32));

  client.ToggleOutline(box);
  const QImage shown = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  int inverted = 0, other = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      const QRgb before = page.pixel(x, y) & 0xFFFFFF;
      const QRgb now = shown.pixel(x, y) & 0xFFFFFF;
      if (now == before)
        continue;
      if (now == (before ^ 0xFFFFFF))
        ++inverted;
      else
        ++other;
    }
  }
  EXPECT_GT(inverted, 100);
  EXPECT_EQ(other, 0);
  client.ToggleOutline(box);
  EXPECT_EQ(
      widget->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(QRect(QPoint(0, 0), page.size())),
      page.convertToFormat(QImage::Format_RGB32));
}

TEST_F(ClientWidgetTest, ScrollBarsFollowThePageAndScrollIt)
{
  QScrollBar* vertical = Bar(Qt::Vertical);
  ASSERT_NE(vertical, nullptr);
  EXPECT_TRUE(vertical->isVisible());
  const TPage* page = client.GetPage();
  EXPECT_EQ(widget->ClientSize().height(), page->GetViewHeight());
  EXPECT_EQ(vertical->maximum(), client.GetScrollRange(TClient::kVertical) - page->GetViewHeight() / 20);

  QTest::keyClick(widget, Qt::Key_Down);
  EXPECT_EQ(page->GetScrollY(), 20);
  EXPECT_EQ(vertical->value(), 1);
  // A page down ends at the bottom of the paper, where the thumb is too.
  QTest::keyClick(widget, Qt::Key_PageDown);
  EXPECT_EQ(page->GetScrollY(), std::min(20 + page->GetViewHeight(), 1000 - page->GetViewHeight()));
  EXPECT_EQ(vertical->value(), std::min(client.GetScrollThumb(TClient::kVertical), vertical->maximum()));

  vertical->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(page->GetScrollY(), 1000 - page->GetViewHeight());
  vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(page->GetScrollY(), 1000 - page->GetViewHeight() - 20);

  // A wheel notch scrolls three lines.
  const int before = page->GetScrollY();
  QWheelEvent wheel(QPointF(100, 100), widget->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &wheel);
  EXPECT_EQ(page->GetScrollY(), before - 60);

  // The page image moved with it: it equals a fresh rendering.
  const QImage scrolled = widget->PageImage().copy();
  widget->InvalidateArea(nullptr);
  EXPECT_EQ(widget->PageImage(), scrolled);
}

TEST_F(ClientWidgetTest, SmallRepaintsAtAnyZoomDrawWhatAWholeRepaintDraws)
{
  // Filled, outlined and slanted shapes across the view; the page image is
  // drawn in bands on every core, and a repaint of a few pixels must still
  // give back the pixels of the whole picture, however many a logical unit
  // covers.
  for (int i = 0; i < 40; ++i) {
    auto* box = new TDataRectangle(20 * i, 13 * i, 90, 60);
    box->SetColor(1, MakeColor(static_cast<uint8_t>(6 * i), 0, 200));
    client.AddObject(box, false);
    client.AddObject(new TDataLine(0, 25 * i, 800, 1000 - 25 * i), false);
  }
  for (const int zoom : {50, 100, 1000}) {
    SCOPED_TRACE("zoom " + std::to_string(zoom));
    client.SetZoom(zoom);
    widget->InvalidateArea(nullptr);
    const QImage whole = widget->PageImage().copy();
    for (const QRect& area : {QRect(5, 5, 3, 3), QRect(200, 150, 1, 40), QRect(300, 64, 200, 2),
                              QRect(0, whole.height() - 4, whole.width(), 4)}) {
      widget->InvalidateArea(&area);
      const QImage& again = widget->PageImage();
      EXPECT_TRUE(again == whole) << "after repainting " << area.x() << "," << area.y() << " " << area.width()
                                  << "x" << area.height();
    }
  }
}

// Filled, outlined and slanted shapes across the view.
void AddShapes(TClient& client, int count)
{
  for (int i = 0; i < count; ++i) {
    auto* box = new TDataRectangle(20 * (i % 40), 13 * (i % 40) + i / 40, 90, 60);
    box->SetColor(1, MakeColor(static_cast<uint8_t>(6 * (i % 40)), 0, 200));
    client.AddObject(box, false);
    client.AddObject(new TDataLine(0, 25 * (i % 40), 800, 1000 - 25 * (i % 40) - i / 40), false);
  }
}

// Paints the window as the screen would and lets the events run until
// the picture drawn behind its back is in.
void PaintAndWait(TClientWidget* widget)
{
  widget->repaint();
  ASSERT_TRUE(QTest::qWaitFor([widget] { return !widget->Rendering(); }, 30000));
}

TEST_F(ClientWidgetTest, APictureDrawnBehindTheWindowsBackIsTheOneDrawnWhileItWaits)
{
  AddShapes(client, 120);
  client.SetZoom(150);
  widget->InvalidateArea(nullptr);
  const QImage whole = widget->PageImage().copy();

  // A few objects a slice: the window gets its events between them, and
  // shows the old picture until the new one is in.
  widget->SetBackgroundFrom(0);
  widget->SetObjectsPerSlice(60);
  const QImage before = widget->ShownImage().copy();
  widget->InvalidateArea(nullptr);
  widget->repaint();
  EXPECT_TRUE(widget->Rendering());
  EXPECT_TRUE(widget->ShownImage() == before);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !widget->Rendering(); }, 30000));
  EXPECT_TRUE(widget->ShownImage() == whole);

  // An object taken away while the objects are walked: the walk begins
  // again, and the picture is that of the page without it.
  widget->InvalidateArea(nullptr);
  widget->repaint();
  ASSERT_TRUE(widget->Rendering());
  TData* gone = client.ObjectAtIndex(3);
  client.RemoveObject(gone, true);
  delete gone;
  PaintAndWait(widget);
  const QImage shown = widget->ShownImage().copy();
  widget->InvalidateArea(nullptr);
  EXPECT_TRUE(widget->PageImage() == shown);
  EXPECT_FALSE(shown == whole);
}

TEST_F(ClientWidgetTest, AScrollOrAZoomWhileAPictureIsDrawnPutsItWhereItBelongs)
{
  AddShapes(client, 80);
  client.SetZoom(200);
  // Scrolled twice while the objects are walked:
  // the window shows what it shows when it waits for each picture.
  const auto scrolled = [this](bool background) {
    widget->SetBackgroundFrom(background ? 0 : TClientWidget::kBackgroundFrom);
    widget->SetObjectsPerSlice(25);
    client.Scroll(TClient::kVertical, TClient::kTop, 0);
    client.Scroll(TClient::kHorizontal, TClient::kTop, 0);
    widget->InvalidateArea(nullptr);
    widget->repaint();
    client.Scroll(TClient::kVertical, TClient::kLineDown, 0);
    if (background) {
      EXPECT_TRUE(QTest::qWaitFor([this] { return !widget->Rendering(); }, 30000));
    }
    widget->repaint();
    client.Scroll(TClient::kHorizontal, TClient::kLineDown, 0);
    client.Scroll(TClient::kVertical, TClient::kLineDown, 0);
    PaintAndWait(widget);
    PaintAndWait(widget);
    return widget->ShownImage().copy();
  };
  const QImage waited = scrolled(false);
  EXPECT_TRUE(scrolled(true) == waited);

  // A zoom shows the picture there was, scaled about the paper, at once:
  // a dark rectangle on white paper stays dark where it now lies.
  client.ClearObjects();
  auto* box = new TDataRectangle(100, 100, 200, 150);
  box->SetColor(1, MakeColor(0, 0, 0));
  client.AddObject(box, false);
  client.SetZoom(100);
  client.Scroll(TClient::kVertical, TClient::kTop, 0);
  client.Scroll(TClient::kHorizontal, TClient::kTop, 0);
  PaintAndWait(widget);
  // A pinch to 400 % about a point near the rectangle's corner scrolls the
  // view by more than its width.
  TPage* page = client.GetPage();
  int32_t x, y;
  page->PageToDevice(290, 240, x, y);
  const QPointF at(x, y);
  for (const auto& [type, value] :
       {std::pair{Qt::BeginNativeGesture, 0.0}, {Qt::ZoomNativeGesture, 3.0}, {Qt::EndNativeGesture, 0.0}}) {
    QNativeGestureEvent gesture(type, QPointingDevice::primaryPointingDevice(), 2, at, at,
                                widget->mapToGlobal(at), value, QPointF());
    QApplication::sendEvent(widget, &gesture);
  }
  ASSERT_EQ(client.GetZoom(), 400);
  ASSERT_GT(page->ToDeviceX(page->GetScrollX()), widget->ShownImage().width());
  widget->repaint();
  ASSERT_TRUE(widget->Rendering());
  page->PageToDevice(280, 230, x, y);
  EXPECT_EQ(widget->ShownImage().pixel(x, y) & 0xFFFFFF, 0u) << "inside the scaled rectangle";
  page->PageToDevice(310, 240, x, y);
  ASSERT_TRUE(widget->ShownImage().rect().contains(x, y));
  EXPECT_EQ(widget->ShownImage().pixel(x, y) & 0xFFFFFF, 0xFFFFFFu) << "paper beside it";
  PaintAndWait(widget);
  const QImage zoomed = widget->ShownImage().copy();
  widget->InvalidateArea(nullptr);
  EXPECT_TRUE(widget->PageImage() == zoomed);
}

TEST_F(ClientWidgetTest, AWindowClosedWhileItsPictureIsDrawnWaitsForIt)
{
  AddShapes(client, 400);
  client.SetZoom(400);
  widget->SetBackgroundFrom(0);
  widget->InvalidateArea(nullptr);
  widget->repaint();
  // The objects may all be walked in one slice: the drawing is then under
  // way on other threads, and it reports to this window when it ends; a
  // zoom gives it up for a new one, which is under way in turn.
  client.SetZoom(200);
  widget->repaint();
  client.SetZoom(100);
  widget->repaint();
  delete widget;
  widget = nullptr;
  QApplication::processEvents();
  QTest::qWait(50);
  SUCCEED();
}

TEST_F(ClientWidgetTest, ControlWheelZoomsThroughTheSteps)
{
  EXPECT_EQ(TClientWidget::NextZoomStep(100, true), 200);
  EXPECT_EQ(TClientWidget::NextZoomStep(75, false), 50);
  EXPECT_EQ(TClientWidget::NextZoomStep(400, true), 400);
  QWheelEvent wheel(QPointF(100, 100), widget->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &wheel);
  EXPECT_EQ(client.GetZoom(), 50);
}

TEST_F(ClientWidgetTest, APinchZoomsSmoothlyAboutTheFingers)
{
  TPage* page = client.GetPage();
  const QPointF at(150, 120);
  int32_t x0, y0;
  page->DeviceToPage(150, 120, x0, y0);
  auto send = [&](Qt::NativeGestureType type, qreal value) {
    QNativeGestureEvent gesture(type, QPointingDevice::primaryPointingDevice(), 2, at, at,
                                widget->mapToGlobal(at), value, QPointF());
    QApplication::sendEvent(widget, &gesture);
  };
  send(Qt::BeginNativeGesture, 0);
  for (int i = 0; i < 5; ++i)
    send(Qt::ZoomNativeGesture, 0.1);
  send(Qt::EndNativeGesture, 0);
  // 1.1^5 of 100 %, not a jump to the next step.
  EXPECT_EQ(client.GetZoom(), 161);
  int32_t x1, y1;
  page->DeviceToPage(150, 120, x1, y1);
  EXPECT_NEAR(x1, x0, 1);
  EXPECT_NEAR(y1, y0, 1);
  // Pinching in stops at 10 %.
  send(Qt::BeginNativeGesture, 0);
  for (int i = 0; i < 40; ++i)
    send(Qt::ZoomNativeGesture, -0.2);
  EXPECT_EQ(client.GetZoom(), 10);
}

// Asks for more nested drawing than a paint may do, as symbols placed in
// symbols many levels deep do.
class Greedy : public TDataRectangle
{
public:
  Greedy() : TDataRectangle(100, 100, 200, 200) {}
  bool Paint(TPage* page, uint8_t mode) override
  {
    for (int64_t i = 0; i <= TPage::kMaxNestedPaints && page->SpendNestedPaint(); ++i) {
    }
    return TDataRectangle::Paint(page, mode);
  }
};

TEST_F(ClientWidgetTest, AScreenPaintThatLeftSymbolsOutSaysSo)
{
  widget->PageImage();
  EXPECT_EQ(frame->GetStatusBar()->GetText().find("not shown"), std::string::npos);
  client.AddObject(new Greedy, true);
  widget->InvalidateArea(nullptr);
  widget->PageImage();
  EXPECT_EQ(frame->GetStatusBar()->GetText().rfind("Part of the symbols are not shown", 0), 0u)
      << frame->GetStatusBar()->GetText();
}

TEST_F(ClientWidgetTest, TheReadoutFollowsThePointerWhenIdle)
{
  MoveMouse(widget, {120, 45});
  EXPECT_EQ(frame->GetStatusBar()->GetText(), "   X = 120   Y = 45");
}

} // namespace
