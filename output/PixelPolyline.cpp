#include "PixelPolyline.h"

#include <algorithm>
#include <cmath>

QPolygonF ThinForPixels(const QPolygonF& points, double penWidth)
{
  const double columnWidth = std::max(1.0, penWidth);
  const QRectF bounds = points.boundingRect();
  if (points.size() <= 2 * (bounds.width() + bounds.height()) / columnWidth + 8)
    return points;
  QPolygonF kept;
  qsizetype run = 0;
  while (run < points.size()) {
    const double column = std::floor(points[run].x() / columnWidth);
    qsizetype end = run + 1;
    qsizetype high = run, low = run;
    while (end < points.size() && std::floor(points[end].x() / columnWidth) == column) {
      if (points[end].y() < points[high].y())
        high = end;
      if (points[end].y() > points[low].y())
        low = end;
      ++end;
    }
    // In the order the polyline passes them, each once.
    const qsizetype last = end - 1;
    const qsizetype first = run;
    const qsizetype middle1 = std::min(high, low), middle2 = std::max(high, low);
    for (const qsizetype index : {first, middle1, middle2, last}) {
      if (kept.isEmpty() || kept.last() != points[index])
        kept.append(points[index]);
    }
    run = end;
  }
  return kept;
}

bool IsTangle(const QPolygonF& points, double penWidth)
{
  const double width = std::max(1.0, penWidth);
  double length = 0;
  for (qsizetype i = 1; i < points.size(); ++i)
    length += std::hypot(points[i].x() - points[i - 1].x(), points[i].y() - points[i - 1].y());
  const QRectF bounds = points.boundingRect().adjusted(-width, -width, width, width);
  return length * width > 2 * bounds.width() * bounds.height();
}

QVector<QRectF> TangleColumns(const QPolygonF& points, double penWidth)
{
  const double width = std::max(1.0, penWidth);
  QVector<QRectF> columns;
  qsizetype run = 0;
  double previousY = points.isEmpty() ? 0 : points.first().y();
  while (run < points.size()) {
    const double column = std::floor(points[run].x() / width);
    double top = std::min(previousY, points[run].y());
    double bottom = std::max(previousY, points[run].y());
    qsizetype end = run;
    for (; end < points.size() && std::floor(points[end].x() / width) == column; ++end) {
      top = std::min(top, points[end].y());
      bottom = std::max(bottom, points[end].y());
    }
    columns.append(QRectF(column * width, top - width / 2, width, bottom - top + width));
    previousY = points[end - 1].y();
    run = end;
  }
  return columns;
}

namespace {

// The part [t0, t1] of the segment a + t (b - a), 0 <= t <= 1, that lies in
// box; false when none does.
bool ClipSegment(const QPointF& a, const QPointF& b, const QRectF& box, double& t0, double& t1)
{
  t0 = 0;
  t1 = 1;
  const double d[2] = {b.x() - a.x(), b.y() - a.y()};
  const double low[2] = {box.left() - a.x(), box.top() - a.y()};
  const double high[2] = {box.right() - a.x(), box.bottom() - a.y()};
  for (int axis = 0; axis < 2; ++axis) {
    if (d[axis] == 0) {
      if (low[axis] > 0 || high[axis] < 0)
        return false;
      continue;
    }
    double enter = low[axis] / d[axis];
    double leave = high[axis] / d[axis];
    if (enter > leave)
      std::swap(enter, leave);
    t0 = std::max(t0, enter);
    t1 = std::min(t1, leave);
    if (t0 > t1)
      return false;
  }
  return true;
}

} // namespace

std::vector<ViewRun> ClipToView(const QPolygonF& line, const QRectF& view)
{
  std::vector<ViewRun> runs;
  bool open = false; // the last run goes on with the next segment
  double length = 0;
  for (qsizetype i = 1; i < line.size(); ++i) {
    const QPointF a = line[i - 1], b = line[i];
    const double segment = std::hypot(b.x() - a.x(), b.y() - a.y());
    double t0, t1;
    if (ClipSegment(a, b, view, t0, t1)) {
      const QPointF from = a + (b - a) * t0, to = a + (b - a) * t1;
      if (!open || t0 > 0) {
        runs.push_back({QPolygonF{from}, length + segment * t0});
      }
      runs.back().points.append(to);
      open = t1 >= 1;
    } else {
      open = false;
    }
    length += segment;
  }
  return runs;
}
