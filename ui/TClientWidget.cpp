#include "TClientWidget.h"

#include "BandWorkers.h"
#include "BandedPaint.h"
#include "Colors.h"
#include "Cursors.h"
#include "DisplayList.h"
#include "DisplayRecorder.h"
#include "Messages.h"
#include "PageBinding.h"
#include "StringTable.h"
#include "TClient.h"
#include "TPage.h"
#include "WorkMonitor.h"

#include <QElapsedTimer>
#include <QNativeGestureEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <future>
#include <vector>

namespace {

// Around the paper.
const QColor kOutsidePaper(160, 160, 160);
const QRgb kBlankOverlay = qRgb(255, 255, 255);
// A region of more pieces is rendered as its bounds.
constexpr int kMaxRenderRects = 16;
// Angle units of one wheel line (a notch of 120 scrolls kWheelLines lines).
constexpr int kWheelUnitsPerLine = 120 / TClientWidget::kWheelLines;
// A pinch goes no further out than the Zoom dialogue allows.
constexpr long kMinPinchZoom = 10;

} // namespace

namespace {

// A little wider than asked, so the logical clip covers every pixel of the
// area; what lies inside the clip is cleared and drawn anew.
void ClipTo(TPage& target, const QRect& area)
{
  target.SetPaintClipFromDevice(area.left() - 1, area.top() - 1, area.right() + 2, area.bottom() + 2);
}

// image moved by (dx, dy) within its own bounds, what it uncovers filled.
QImage Shifted(const QImage& image, int dx, int dy, const QColor& fill)
{
  QImage moved(image.size(), image.format());
  moved.fill(fill);
  QPainter painter(&moved);
  painter.drawImage(dx, dy, image);
  return moved;
}

// A slice of recording between two of the window's events.
constexpr int kSliceMilliseconds = 12;
// Objects recorded between two looks at the clock.
constexpr unsigned kObjectsBetweenClocks = 16;

} // namespace

// A picture drawn behind the window's back: the areas it redraws, as the
// device showed them when it began, its own copy of the picture, the
// recording of the objects while they are walked, and how far the walk got.
struct TClientWidget::Render
{
  QRegion region;
  std::vector<QRect> areas;
  size_t area = 0;
  TClient::PaintCursor cursor;
  QImage image;
  int firstRow = 0;
  int endRow = 0;
  QRectF paper;
  DisplayList list;
  std::unique_ptr<TPage> recording;
  bool limited = false;
  // Set by the window when the picture is no longer wanted; the drawing
  // threads stop at the next band.
  std::atomic<bool> cancel{false};
  std::promise<void> drawn;
  std::future<void> finished;
};

TClientWidget::TClientWidget(TClient& client, QWidget* parent)
    : TVueWidget(client, parent), m_input(&client, &client)
{
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_bars[TClient::kHorizontal] = new QScrollBar(Qt::Horizontal, this);
  m_bars[TClient::kVertical] = new QScrollBar(Qt::Vertical, this);
  for (int32_t bar : {TClient::kHorizontal, TClient::kVertical}) {
    m_bars[bar]->hide();
    m_bars[bar]->setFocusPolicy(Qt::NoFocus);
    QObject::connect(m_bars[bar], &QScrollBar::actionTriggered, this,
                     [this, bar](int action) { BarAction(bar, action); });
  }
  SetViewCursor(0);
  client.SetInput(&m_input);
  m_slices.setSingleShot(true);
  QObject::connect(&m_slices, &QTimer::timeout, this, [this] { RecordSlice(); });
  ResizeImages();
  client.RecomputeView();
}

TClientWidget::~TClientWidget()
{
  // Pictures still drawn on another thread are waited for: they report to
  // this window.
  AbandonRender();
  for (const std::shared_ptr<Render>& render : m_dropped)
    render->finished.wait();
  if (TClient* client = Client(); client && client->GetInput() == &m_input)
    client->SetInput(nullptr);
}

TClient* TClientWidget::Client() const
{
  return static_cast<TClient*>(View());
}

QCursor TClientWidget::OwnCursor() const
{
  return ResourceCursor("KARWI_CurseurZero");
}

QSize TClientWidget::ClientSize() const
{
  const int vertical =
      m_bars[TClient::kVertical]->isHidden() ? 0 : m_bars[TClient::kVertical]->sizeHint().width();
  const int horizontal =
      m_bars[TClient::kHorizontal]->isHidden() ? 0 : m_bars[TClient::kHorizontal]->sizeHint().height();
  return QSize(std::max(width() - vertical, 1), std::max(height() - horizontal, 1));
}

// ---- the page image and the overlay ----

void TClientWidget::ResizeImages()
{
  const QSize size = ClientSize();
  if (m_page.size() == size)
    return;
  // What was shown stays where it was until the new picture is drawn.
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(kOutsidePaper);
  const QRegion shown = m_page.isNull() ? QRegion() : QRegion(m_page.rect()) - m_blank;
  if (!shown.isEmpty()) {
    QPainter painter(&picture);
    painter.drawImage(0, 0, m_page);
  }
  m_blank = QRegion(QRect(QPoint(0, 0), size)) - shown;
  m_page = picture;
  m_invalid = QRegion(Canvas());
  // Outlines already drawn stay where they are, to be erased later.
  QImage overlay(size, QImage::Format_RGB32);
  overlay.fill(kBlankOverlay);
  if (!m_overlay.isNull()) {
    QPainter painter(&overlay);
    painter.drawImage(0, 0, m_overlay);
  }
  m_overlay = overlay;
}

void TClientWidget::InvalidateArea(const QRect* area)
{
  const QRect canvas = Canvas();
  const QRect part = area ? (*area & canvas) : canvas;
  // The objects changed, or the way they are shown: a walk under way
  // would mix the old and the new, so it begins again.
  if (m_render && m_render->recording)
    AbandonRender();
  m_invalid += part;
  update(part);
}

QPaintDevice* TClientWidget::OverlayDevice()
{
  return &m_overlay;
}

void TClientWidget::OverlayChanged(const QRect& area)
{
  m_overlayArea += area & Canvas();
  update(area);
}

void TClientWidget::ModalEnded()
{
  // Once every outline is erased the page image is painted as it is again.
  const QRect bounds = m_overlayArea.boundingRect() & m_overlay.rect();
  for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(m_overlay.constScanLine(y));
    for (int x = bounds.left(); x <= bounds.right(); ++x) {
      if ((line[x] & 0xFFFFFF) != (kBlankOverlay & 0xFFFFFF))
        return;
    }
  }
  m_overlayArea = QRegion();
}

bool TClientWidget::TakeInvalid(TPage& page, QImage& image, QRegion& areas, int& firstRow, int& endRow)
{
  areas = m_invalid & Canvas();
  m_invalid = QRegion();
  if (areas.rectCount() > kMaxRenderRects)
    areas = areas.boundingRect();
  const QRectF paperArea = PaperOnDevice();
  const QRect paper(
      QPoint(static_cast<int>(paperArea.left()), static_cast<int>(paperArea.top())),
      QPoint(static_cast<int>(paperArea.right()) - 1, static_cast<int>(paperArea.bottom()) - 1));
  const uint32_t colour = Client()->GetColor(1);
  const QColor background = colour == kNoColor ? QColor(Qt::white) : ToQColor(colour);
  // The rows the clips reach, which at high zoom lie a logical unit's
  // worth of pixels beyond the areas: they are cleared and drawn anew.
  firstRow = image.height();
  endRow = 0;
  // The page clears each area through this painter, under the clip the
  // page sets.
  QPainter painter(&image);
  if (!BindPage(page, &painter, TPage::kPaint))
    return false;
  for (const QRect& area : areas) {
    ClipTo(page, area);
    TRect clip;
    if (page.GetClipRect(clip)) {
      firstRow = std::min(firstRow, page.ToDeviceY(clip.top - page.GetScrollY()) - 1);
      endRow = std::max(endRow, page.ToDeviceY(clip.bottom - page.GetScrollY()) + 2);
    }
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(image.rect(), kOutsidePaper);
    painter.fillRect(paper, background);
    painter.restore();
  }
  page.Release();
  return true;
}

QRectF TClientWidget::PaperOnDevice() const
{
  TClient* client = Client();
  TPage* page = client ? client->GetPage() : nullptr;
  if (!page)
    return {};
  int32_t left, top, right, bottom;
  page->PageToDevice(0, 0, left, top);
  page->PageToDevice(page->GetPaperWidth(), page->GetPaperHeight(), right, bottom);
  return QRectF(QPointF(left, top), QPointF(right, bottom));
}

void TClientWidget::ScaleShownPicture(const QRectF& paper)
{
  if (m_shownPaper.isEmpty() || paper.isEmpty()) {
    m_shownPaper = paper;
    return;
  }
  QImage scaled(m_page.size(), m_page.format());
  scaled.fill(kOutsidePaper);
  QPainter painter(&scaled);
  QTransform toPaper;
  toPaper.translate(paper.left(), paper.top());
  toPaper.scale(paper.width() / m_shownPaper.width(), paper.height() / m_shownPaper.height());
  toPaper.translate(-m_shownPaper.left(), -m_shownPaper.top());
  painter.setTransform(toPaper);
  painter.drawImage(0, 0, m_page);
  painter.end();
  m_page = scaled;
  m_blank = (QRegion(Canvas()) - QRegion(toPaper.mapRect(QRectF(m_page.rect())).toAlignedRect())) +
            toPaper.map(m_blank);
  m_blank &= Canvas();
  m_shownPaper = paper;
}

void TClientWidget::RenderInvalid()
{
  TClient* client = Client();
  TPage* page = client ? client->GetPage() : nullptr;
  if (m_render)
    AbandonRender();
  if ((m_invalid & Canvas()).isEmpty() || !page || page->IsBound())
    return;
  m_shownPaper = PaperOnDevice();
  QRegion invalid;
  int firstRow, endRow;
  if (!TakeInvalid(*page, m_page, invalid, firstRow, endRow))
    return;
  m_blank -= invalid;
  // The objects are walked once into a recording of the page, which is
  // then drawn in bands on every core.
  bool limited = false;
  PaintOnCores(
      *page, TPage::kPaint, m_page,
      [&](TPage& recording) {
        for (const QRect& area : invalid) {
          ClipTo(recording, area);
          client->PaintObjects(&recording, TData::kPaintScreen);
          m_renderedPixels += int64_t{area.width()} * area.height();
        }
        limited = recording.NestedPaintLimited();
      },
      0, firstRow, endRow);
  // Said once each time the drawing becomes incomplete, in the status bar,
  // so the user knows the page on screen is not the whole document.
  if (limited && !m_paintLimited)
    client->SetStatusText(LoadStr(IDS_PAINT_PARTIAL));
  m_paintLimited = limited;
}

void TClientWidget::StartRender()
{
  TClient* client = Client();
  TPage* page = client ? client->GetPage() : nullptr;
  if ((m_invalid & Canvas()).isEmpty() || !page || page->IsBound())
    return;
  const QRectF paper = PaperOnDevice();
  if (m_render) {
    if (m_render->recording || m_render->paper.size() == paper.size())
      return; // the rest waits for it
    // Drawn for another zoom, it is of no use: its threads stop at their
    // next band, and the new picture is drawn after it.
    m_render->cancel.store(true);
    m_dropped.push_back(std::move(m_render));
  }
  if (paper.size() != m_shownPaper.size())
    ScaleShownPicture(paper);
  auto render = std::make_shared<Render>();
  render->paper = paper;
  render->image = m_page.copy();
  if (!TakeInvalid(*page, render->image, render->region, render->firstRow, render->endRow))
    return;
  // Where the window had nothing to show, the paper shows at once.
  const QRegion blank = m_blank & render->region;
  if (!blank.isEmpty()) {
    QPainter painter(&m_page);
    painter.setClipRegion(blank);
    painter.drawImage(0, 0, render->image);
    m_blank -= blank;
  }
  render->areas.assign(render->region.begin(), render->region.end());
  render->recording = std::make_unique<TPage>(*page);
  render->recording->BindBackend(
      std::make_unique<DisplayRecorder>(render->list, render->image.width(), render->image.height()),
      TPage::kPaint);
  render->finished = render->drawn.get_future();
  m_render = render;
  RecordSlice();
}

void TClientWidget::RecordSlice()
{
  const std::shared_ptr<Render> render = m_render;
  TClient* client = Client();
  if (!render || !render->recording)
    return;
  if (!client) {
    AbandonRender();
    return;
  }
  QElapsedTimer clock;
  clock.start();
  unsigned sinceClock = 0;
  int32_t inSlice = 0;
  const auto pause = [&]() {
    if (m_objectsPerSlice > 0 && ++inSlice > m_objectsPerSlice)
      return true;
    if (++sinceClock < kObjectsBetweenClocks)
      return false;
    sinceClock = 0;
    return clock.elapsed() >= kSliceMilliseconds;
  };
  TPage& recording = *render->recording;
  while (render->area < render->areas.size()) {
    const QRect& area = render->areas[render->area];
    ClipTo(recording, area);
    if (!client->PaintObjectsFrom(&recording, TData::kPaintScreen, render->cursor, pause)) {
      m_slices.start(0);
      return;
    }
    m_renderedPixels += int64_t{area.width()} * area.height();
    render->cursor = TClient::PaintCursor();
    ++render->area;
  }
  render->limited = recording.NestedPaintLimited();
  recording.Release();
  render->recording.reset();
  // The recording is the objects' own copy: they may change or go while
  // it is drawn.
  BandWorkers::Lead().Post([this, render]() {
    bool whole;
    {
      WorkMonitor monitor([&render]() { return render->cancel.load(); });
      // Each band is shown as soon as it is drawn.
      whole = PaintInBands(render->list, render->image, 0, render->firstRow, render->endRow,
                           [this, render](int top, int bottom) {
                             QMetaObject::invokeMethod(
                                 this, [this, render, top, bottom]() { BandDone(render, top, bottom); },
                                 Qt::QueuedConnection);
                           });
    }
    // The window waits for drawn before it goes, so it is still there.
    QMetaObject::invokeMethod(
        this, [this, render, whole]() { RenderDone(render, whole); }, Qt::QueuedConnection);
    render->drawn.set_value();
  });
}

void TClientWidget::PlaceRows(const Render& render, int top, int bottom)
{
  // The drawing threads are done with these rows: read in place, they go
  // where their part of the paper is now (the view may have scrolled
  // since), except where something changed meanwhile.
  const QImage& image = render.image;
  if (top >= bottom || top < 0 || bottom > image.height())
    return;
  const QImage rows(image.constScanLine(top), image.width(), bottom - top, image.bytesPerLine(),
                    image.format());
  const QPoint offset = (PaperOnDevice().topLeft() - render.paper.topLeft()).toPoint();
  const QRegion place =
      ((render.region & QRect(0, top, image.width(), bottom - top)).translated(offset) & Canvas()) -
      m_invalid;
  if (place.isEmpty())
    return;
  {
    QPainter painter(&m_page);
    painter.setClipRegion(place);
    painter.drawImage(offset + QPoint(0, top), rows);
  }
  m_blank -= place;
  update(place.boundingRect());
}

void TClientWidget::BandDone(const std::shared_ptr<Render>& render, int top, int bottom)
{
  if (render == m_render && PaperOnDevice().size() == render->paper.size()) {
    PlaceRows(*render, top, bottom);
    ++m_bandsShown;
  }
}

void TClientWidget::RenderDone(const std::shared_ptr<Render>& render, bool whole)
{
  std::erase(m_dropped, render);
  if (render != m_render)
    return;
  m_render.reset();
  const QRectF paper = PaperOnDevice();
  if (!whole || paper.size() != render->paper.size()) {
    // Given up, or drawn for another zoom: what it was to show is still
    // to be drawn.
    m_invalid += render->region.translated((paper.topLeft() - render->paper.topLeft()).toPoint()) & Canvas();
    update();
    return;
  }
  PlaceRows(*render, 0, render->image.height());
  TClient* client = Client();
  if (client && render->limited && !m_paintLimited)
    client->SetStatusText(LoadStr(IDS_PAINT_PARTIAL));
  m_paintLimited = render->limited;
  if (!m_invalid.isEmpty())
    update();
}

void TClientWidget::AbandonRender()
{
  const std::shared_ptr<Render> render = std::move(m_render);
  m_render.reset();
  m_slices.stop();
  if (!render)
    return;
  const QPoint offset = (PaperOnDevice().topLeft() - render->paper.topLeft()).toPoint();
  m_invalid += render->region.translated(offset) & Canvas();
  if (render->recording) {
    render->recording->Release();
    return;
  }
  render->cancel.store(true);
  render->finished.wait();
}

const QImage& TClientWidget::PageImage()
{
  RenderInvalid();
  return m_page;
}

// ---- painting ----

void TClientWidget::paintEvent(QPaintEvent* event)
{
  TClient* client = Client();
  if (client && client->ObjectCount() >= m_backgroundFrom)
    StartRender();
  else
    RenderInvalid();
  QPainter painter(this);
  const QRegion region = event->region() & Canvas();
  for (const QRect& area : region) {
    if (!m_overlayArea.intersects(area)) {
      painter.drawImage(area.topLeft(), m_page, area);
      continue;
    }
    // The outlines are exclusive-or drawings on a white overlay: where they
    // left black, the page shows inverted.
    QImage frame = m_page.copy(area);
    QImage outlines = m_overlay.copy(area);
    outlines.invertPixels();
    QPainter combine(&frame);
    combine.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    combine.drawImage(0, 0, outlines);
    combine.end();
    painter.drawImage(area.topLeft(), frame);
  }
  if (!m_bars[TClient::kHorizontal]->isHidden() && !m_bars[TClient::kVertical]->isHidden()) {
    const QSize canvas = ClientSize();
    painter.fillRect(
        QRect(canvas.width(), canvas.height(), width() - canvas.width(), height() - canvas.height()),
        palette().window());
  }
  m_lastPaintBounds = region.boundingRect();
}

void TClientWidget::resizeEvent(QResizeEvent* event)
{
  LayoutBars();
  ResizeImages();
  TVueWidget::resizeEvent(event);
}

// ---- scrolling ----

void TClientWidget::LayoutBars()
{
  const QSize canvas = ClientSize();
  QScrollBar* horizontal = m_bars[TClient::kHorizontal];
  QScrollBar* vertical = m_bars[TClient::kVertical];
  horizontal->setGeometry(0, canvas.height(), canvas.width(), horizontal->sizeHint().height());
  vertical->setGeometry(canvas.width(), 0, vertical->sizeHint().width(), canvas.height());
}

void TClientWidget::ScrollChanged(int dx, int dy)
{
  if (dx != 0 || dy != 0) {
    const QRect canvas = Canvas();
    // After a zoom the picture shown is of the old zoom: it stays as it is,
    // to be scaled onto the paper where the new zoom puts it.
    const bool zoomed = PaperOnDevice().size() != m_shownPaper.size();
    if (std::abs(dx) >= canvas.width() || std::abs(dy) >= canvas.height()) {
      m_invalid = QRegion(canvas);
      if (!zoomed) {
        m_page.fill(kOutsidePaper);
        m_blank = QRegion(canvas);
        m_shownPaper.translate(-dx, -dy);
      }
    } else {
      // What stays visible moves; only the uncovered strips are rendered.
      const QRegion uncovered = QRegion(canvas) - QRegion(canvas.translated(-dx, -dy));
      if (!zoomed) {
        m_page = Shifted(m_page, -dx, -dy, kOutsidePaper);
        m_shownPaper.translate(-dx, -dy);
        m_blank.translate(-dx, -dy);
        m_blank += uncovered;
        m_blank &= canvas;
      }
      m_invalid.translate(-dx, -dy);
      m_invalid += uncovered;
      m_invalid &= canvas;
    }
    // Outlines still drawn move with the page, so erasing them later hits
    // them where they are.
    m_overlay = Shifted(m_overlay, -dx, -dy, kBlankOverlay);
    m_overlayArea.translate(-dx, -dy);
    update();
  }
  UpdateScrollBars();
}

void TClientWidget::UpdateScrollBars()
{
  TClient* client = Client();
  TPage* page = client ? client->GetPage() : nullptr;
  if (!page || m_updatingBars)
    return;
  m_updatingBars = true;
  // Showing a bar narrows the view, which may call for the other bar.
  for (int pass = 0; pass < 3; ++pass) {
    bool changed = false;
    for (int32_t bar : {TClient::kHorizontal, TClient::kVertical}) {
      const bool wanted = client->HasScrollBar(bar);
      if (wanted == m_bars[bar]->isHidden()) {
        m_bars[bar]->setVisible(wanted);
        changed = true;
      }
    }
    if (!changed)
      break;
    LayoutBars();
    ResizeImages();
    client->RecomputeView();
    update();
  }
  int32_t stepX, stepY;
  page->GetScrollStep(stepX, stepY);
  for (int32_t bar : {TClient::kHorizontal, TClient::kVertical}) {
    const int32_t step = std::max(bar == TClient::kHorizontal ? stepX : stepY, 1);
    const int32_t view = bar == TClient::kHorizontal ? page->GetViewWidth() : page->GetViewHeight();
    const int32_t pageSteps = std::max(view / step, 1);
    QScrollBar* scrollBar = m_bars[bar];
    scrollBar->setRange(0, std::max(client->GetScrollRange(bar) - pageSteps, 0));
    scrollBar->setPageStep(pageSteps);
    scrollBar->setSingleStep(1);
    scrollBar->setValue(std::min(client->GetScrollThumb(bar), scrollBar->maximum()));
  }
  m_updatingBars = false;
}

void TClientWidget::BarAction(int32_t bar, int action)
{
  TClient* client = Client();
  if (!client || m_updatingBars)
    return;
  QScrollBar* scrollBar = m_bars[bar];
  int32_t code;
  int32_t value = 0;
  switch (action) {
  case QAbstractSlider::SliderSingleStepAdd:
    code = TClient::kLineDown;
    break;
  case QAbstractSlider::SliderSingleStepSub:
    code = TClient::kLineUp;
    break;
  case QAbstractSlider::SliderPageStepAdd:
    code = TClient::kPageDown;
    break;
  case QAbstractSlider::SliderPageStepSub:
    code = TClient::kPageUp;
    break;
  case QAbstractSlider::SliderToMinimum:
    code = TClient::kTop;
    break;
  case QAbstractSlider::SliderToMaximum:
    code = TClient::kBottom;
    break;
  case QAbstractSlider::SliderMove:
    code = TClient::kThumbPosition;
    value = scrollBar->sliderPosition();
    break;
  default:
    return;
  }
  client->Scroll(bar, code, value);
  // The bar shows where the view really went.
  m_updatingBars = true;
  scrollBar->setSliderPosition(std::min(client->GetScrollThumb(bar), scrollBar->maximum()));
  m_updatingBars = false;
}

void TClientWidget::wheelEvent(QWheelEvent* event)
{
  event->accept();
  const QPoint delta = event->angleDelta();
  if (event->modifiers() & Qt::ControlModifier) {
    // Zooming under a running command would misplace its outlines.
    if (!IsModal() && delta.y() != 0)
      ZoomAround(event->position().toPoint(), delta.y() > 0);
    return;
  }
  const bool sideways = delta.x() != 0 || (event->modifiers() & Qt::ShiftModifier);
  m_wheelRest += delta.x() != 0 ? delta.x() : delta.y();
  const int lines = m_wheelRest / kWheelUnitsPerLine;
  m_wheelRest -= lines * kWheelUnitsPerLine;
  // The wheel scrolls as the arrow keys do, so a running command sees it.
  const uint32_t key = sideways ? (lines > 0 ? VK_LEFT_ : VK_RIGHT_) : (lines > 0 ? VK_UP_ : VK_DOWN_);
  for (int i = 0; i < std::abs(lines); ++i)
    Dispatch(WM_KEYDOWN_, key, 0);
}

int32_t TClientWidget::NextZoomStep(int32_t zoom, bool larger)
{
  if (larger) {
    for (int32_t step : kZoomSteps) {
      if (step > zoom)
        return step;
    }
    return zoom;
  }
  for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it) {
    if (*it < zoom)
      return *it;
  }
  return zoom;
}

bool TClientWidget::event(QEvent* event)
{
  if (event->type() != QEvent::NativeGesture)
    return TVueWidget::event(event);
  // A touchpad pinch zooms about the fingers, smoothly, as Ctrl+wheel
  // does in steps; not under a running command, whose outlines it would
  // misplace.
  const auto* gesture = static_cast<QNativeGestureEvent*>(event);
  TClient* client = Client();
  switch (gesture->gestureType()) {
  case Qt::BeginNativeGesture:
    m_pinchScale = 1.0;
    m_pinchStartZoom = client ? client->GetZoom() : 0;
    break;
  case Qt::ZoomNativeGesture:
    if (client && !IsModal() && std::isfinite(gesture->value())) {
      if (m_pinchStartZoom <= 0)
        m_pinchStartZoom = client->GetZoom();
      m_pinchScale = std::clamp(m_pinchScale * (1.0 + gesture->value()), 0.01, 100.0);
      const auto zoom = static_cast<int32_t>(std::clamp(std::lround(m_pinchStartZoom * m_pinchScale),
                                                        long{kMinPinchZoom}, long{TClient::kMaxZoom}));
      ZoomAround(gesture->position().toPoint(), zoom);
    }
    break;
  case Qt::EndNativeGesture:
    m_pinchStartZoom = 0;
    break;
  default:
    return TVueWidget::event(event);
  }
  event->accept();
  return true;
}

void TClientWidget::ZoomAround(const QPoint& anchor, bool larger)
{
  if (TClient* client = Client())
    ZoomAround(anchor, NextZoomStep(client->GetZoom(), larger));
}

void TClientWidget::ZoomAround(const QPoint& anchor, int32_t zoom)
{
  TClient* client = Client();
  TPage* page = client ? client->GetPage() : nullptr;
  if (!page)
    return;
  int32_t x, y;
  page->DeviceToPage(anchor.x(), anchor.y(), x, y);
  if (!client->SetZoom(zoom))
    return;
  // The point under the pointer stays under it where the paper allows.
  int32_t deviceX, deviceY;
  page->PageToDevice(x, y, deviceX, deviceY);
  client->Scroll(TClient::kHorizontal, TClient::kRelative, page->ToLogicalX(deviceX - anchor.x()));
  client->Scroll(TClient::kVertical, TClient::kRelative, page->ToLogicalY(deviceY - anchor.y()));
}
