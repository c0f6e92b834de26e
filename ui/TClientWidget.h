#pragma once

#include "TQtUserInput.h"
#include "TVueWidget.h"

#include <QImage>
#include <QRegion>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

class QScrollBar;
class TClient;
class TPage;

// The window of a page view (a document view): it shows the page from an
// image rendered through the view's TPage at the page's zoom and scroll
// (the paper in the view's background colour, the area outside it grey,
// the objects layer by layer), and renders again only the areas the view
// invalidates. The exclusive-or outlines of running commands live on an
// overlay that is combined with the page image by an XOR raster operation,
// so drawing an outline twice leaves the page image showing again; moving
// an outline repaints only its old and new area.
//
// Scroll bars follow the view's scroll range and position and scroll it
// with the view's scroll codes; the wheel scrolls three lines a notch
// (with Shift sideways) and Ctrl+wheel zooms through the zoom steps.
//
// On a page of many objects the window never waits for the picture: the
// objects are recorded a slice at a time between the window's events and
// the recording is drawn on other threads; meanwhile the window shows what
// it showed (moved with a scroll, scaled with a zoom, blank paper where it
// had nothing), and puts the new picture in when it is done.
//
// The widget gives the view a TQtUserInput of its own, whose dialogs belong
// to the view's window and whose font sizes use the view's page. The view
// must outlive the widget, or call ForgetView first.
class TClientWidget : public TVueWidget
{
public:
  static constexpr int32_t kWheelLines = 3;
  // The zoom steps of Ctrl+wheel, the percentages of the Zoom menu.
  static constexpr int32_t kZoomSteps[] = {25, 50, 100, 200, 400};

  explicit TClientWidget(TClient& client, QWidget* parent = nullptr);
  ~TClientWidget() override;

  TClient* Client() const;
  TQtUserInput& Input() { return m_input; }

  QSize ClientSize() const override;
  void InvalidateArea(const QRect* area) override;
  QPaintDevice* OverlayDevice() override;
  void OverlayChanged(const QRect& area) override;
  void ScrollChanged(int dx, int dy) override;

  // The page image, with every invalid area rendered again first.
  const QImage& PageImage();
  // What painting cost, for checks: the pixels rendered into the page image
  // so far, and the bounds of the last area painted on the screen.
  int64_t RenderedPixels() const { return m_renderedPixels; }
  // Bands of pictures drawn behind the window's back put in so far.
  int64_t BandsShown() const { return m_bandsShown; }
  QRect LastPaintBounds() const { return m_lastPaintBounds; }

  // The zoom step after zoom towards larger or smaller pages; zoom itself
  // when there is none.
  static int32_t NextZoomStep(int32_t zoom, bool larger);

  // Pages of at least this many objects are drawn behind the window's
  // back (kBackgroundFrom unless set; 0: every page).
  static constexpr int32_t kBackgroundFrom = 5000;
  void SetBackgroundFrom(int32_t objects) { m_backgroundFrom = objects; }
  // Whether a picture is being drawn behind the window's back.
  bool Rendering() const { return m_render != nullptr; }
  // At most this many objects are recorded between two of the window's
  // events (besides the time a slice may take); 0: no such bound.
  void SetObjectsPerSlice(int32_t objects) { m_objectsPerSlice = objects; }
  // The picture as the window shows it now, nothing drawn first.
  const QImage& ShownImage() const { return m_page; }

protected:
  void ModalEnded() override;
  QCursor OwnCursor() const override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool event(QEvent* event) override;

private:
  QRect Canvas() const { return QRect(QPoint(0, 0), ClientSize()); }
  void LayoutBars();
  void ResizeImages();
  void UpdateScrollBars();
  void BarAction(int32_t bar, int action);
  struct Render;
  void RenderInvalid();
  // Takes the invalid areas for a picture: bounds them, clears them in
  // image through the page and gives the device rows their clips reach.
  bool TakeInvalid(TPage& page, QImage& image, QRegion& areas, int& firstRow, int& endRow);
  // The paper's rectangle on the device as the page maps it now.
  QRectF PaperOnDevice() const;
  // After a zoom: the picture shown so far, scaled to the paper's new place.
  void ScaleShownPicture(const QRectF& paper);
  // Drawing behind the window's back: start, record a slice, put in the
  // rows of a band or of the finished picture, or give it up (its areas
  // become invalid again).
  void StartRender();
  void RecordSlice();
  void PlaceRows(const Render& render, int top, int bottom);
  void BandDone(const std::shared_ptr<Render>& render, int top, int bottom);
  void RenderDone(const std::shared_ptr<Render>& render, bool whole);
  void AbandonRender();
  void ZoomAround(const QPoint& anchor, bool larger);
  // Sets zoom keeping the page point under anchor (device pixels) in place.
  void ZoomAround(const QPoint& anchor, int32_t zoom);

  TQtUserInput m_input;
  QScrollBar* m_bars[2]; // horizontal, vertical; owned by the widget
  QImage m_page;
  QImage m_overlay;
  QRegion m_invalid;
  QRegion m_overlayArea; // where the overlay may hold something
  int64_t m_renderedPixels = 0;
  int64_t m_bandsShown = 0;
  QRect m_lastPaintBounds;
  int m_wheelRest = 0;
  // The last rendering ran out of its drawing budget (nested symbols).
  bool m_paintLimited = false;
  // A touchpad pinch: the scale it has reached since it began, against
  // the zoom it began at.
  double m_pinchScale = 1.0;
  int32_t m_pinchStartZoom = 0;
  bool m_updatingBars = false;
  int32_t m_backgroundFrom = kBackgroundFrom;
  int32_t m_objectsPerSlice = 0;
  std::shared_ptr<Render> m_render;
  // Pictures given up while their threads still draw them.
  std::vector<std::shared_ptr<Render>> m_dropped;
  QTimer m_slices;
  // Where the paper lies in the picture shown, and the part of the picture
  // that shows nothing yet.
  QRectF m_shownPaper;
  QRegion m_blank;
};
