#include "BandedPaint.h"
#include "BandWorkers.h"

#include "DisplayList.h"
#include "DisplayRecorder.h"
#include "TPage.h"
#include "TQtPageDevice.h"
#include "WorkMonitor.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <latch>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Bands are whole numbers of this many rows (the first and the last may
// be cut by the rows asked for).
constexpr int kBandGranule = 64;
// Bands per thread: a thread that is done early takes another band rather
// than waiting for the slowest one.
constexpr int kBandsPerThread = 2;
// Rows of device beyond each side of a band (see PaintBand).
constexpr int kBandMargin = 64;
constexpr int kMaxThreads = 16;

// Draws the rows [top, bottom) of the picture. The band is drawn on an
// image of its own that reaches kBandMargin rows beyond it on both sides,
// then copied in: Qt lays out what crosses a device's edge a little
// differently near that edge, so the edges are kept away from the rows
// that count, and nothing far from the band is worked on. The margins start
// out as anything (other threads may be drawing those rows of the picture):
// what lands on a pixel never depends on the pixels around it.
void PaintBand(const DisplayList& list, uchar* bits, qsizetype bytesPerLine, int width, int height, int top,
               int bottom, QImage::Format format, QImage& scratch)
{
  const int first = std::max(0, top - kBandMargin);
  const int last = std::min(height, bottom + kBandMargin);
  if (scratch.width() != width || scratch.height() < last - first)
    scratch = QImage(width, bottom - top + 2 * kBandMargin, format);
  const qsizetype rowBytes = std::min(bytesPerLine, scratch.bytesPerLine());
  for (int y = top; y < bottom; ++y)
    std::memcpy(scratch.scanLine(y - first), bits + bytesPerLine * y, static_cast<size_t>(rowBytes));
  {
    QPainter painter(&scratch);
    // The device maps as it did for the whole picture; the painter moves
    // everything up to the band image's first row.
    painter.translate(0, -first);
    TQtPageDevice device(&painter);
    device.SetPictureArea(QRectF(0, 0, width, height));
    list.Replay(device, top, bottom);
  }
  for (int y = top; y < bottom; ++y)
    std::memcpy(bits + bytesPerLine * y, scratch.constScanLine(y - first), static_cast<size_t>(rowBytes));
}

} // namespace

bool PaintInBands(const DisplayList& list, QImage& image, int threads, int top, int bottom,
                  const std::function<void(int top, int bottom)>& bandDone)
{
  const int height = image.height();
  top = std::max(top, 0);
  bottom = bottom < 0 ? height : std::min(bottom, height);
  if (image.isNull() || list.Empty() || top >= bottom)
    return true;
  BandWorkers& helpers = BandWorkers::Instance();
  int workers = threads > 0 ? threads : helpers.Count() + 1;
  workers = std::clamp(workers, 1, kMaxThreads);
  // Bands start on whole granules of the picture, whatever rows are asked.
  const int first = top / kBandGranule * kBandGranule;
  // Where each band is shown as it comes, the first is one granule, so
  // something shows soon; the rest share what is left. (Every band costs
  // something of its own, the texts and shapes crossing its edges, so
  // only one is made small.)
  std::vector<std::pair<int, int>> bands;
  int from = first;
  if (bandDone && from + kBandGranule < bottom) {
    bands.emplace_back(std::max(top, from), from + kBandGranule);
    from += kBandGranule;
  }
  const int rest = bottom - from;
  const int wanted = (rest + workers * kBandsPerThread - 1) / (workers * kBandsPerThread);
  const int bandRows = std::max(kBandGranule, (wanted + kBandGranule - 1) / kBandGranule * kBandGranule);
  for (; from < bottom; from += bandRows)
    bands.emplace_back(std::max(top, from), std::min(bottom, from + bandRows));
  workers = std::min(workers, static_cast<int>(bands.size()));

  // Taken here, on the thread that owns the image, before anyone draws.
  uchar* bits = image.bits();
  const qsizetype bytesPerLine = image.bytesPerLine();
  const int width = image.width();
  const QImage::Format format = image.format();
  std::atomic<int> next{0};
  std::atomic<bool> stop{false};
  auto paintNext = [&](QImage& scratch) {
    const size_t i = static_cast<size_t>(next.fetch_add(1));
    if (i >= bands.size())
      return false;
    const auto [bandTop, bandBottom] = bands[i];
    PaintBand(list, bits, bytesPerLine, width, height, bandTop, bandBottom, format, scratch);
    if (bandDone)
      bandDone(bandTop, bandBottom);
    return true;
  };

  // Asked before any thread takes a band, so work given up by now draws
  // nothing at all.
  if (WorkMonitor::Poll())
    return false;
  std::latch helpersDone(workers - 1);
  for (int i = 1; i < workers; ++i) {
    helpers.Post([&]() {
      QImage scratch;
      while (!stop.load() && paintNext(scratch)) {
      }
      helpersDone.count_down();
    });
  }
  // This thread draws bands too, and is the one that may be asked to stop.
  QImage scratch;
  while (paintNext(scratch)) {
    if (WorkMonitor::Poll()) {
      stop.store(true);
      break;
    }
  }
  helpersDone.wait();
  return !stop.load();
}

bool PaintOnCores(const TPage& like, int32_t kind, QImage& image, const std::function<void(TPage&)>& draw,
                  int threads, int top, int bottom)
{
  DisplayList list;
  TPage recording(like);
  recording.BindBackend(std::make_unique<DisplayRecorder>(list, image.width(), image.height()), kind);
  draw(recording);
  recording.Release();
  if (WorkMonitor::Cancelled())
    return false;
  return PaintInBands(list, image, threads, top, bottom);
}
