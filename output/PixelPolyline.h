#pragma once

#include <QPolygonF>

#include <vector>

// The points of a stroked polyline that drawing on pixels needs, in device
// coordinates. A polyline with many more points than the pixels it covers
// (a zigzag of thousands of points across a few hundred columns) draws over
// every pixel many times; within one column as wide as the pen (at least a
// pixel) the first, the highest, the lowest and the last of a run of
// consecutive points cover what the whole run covers, so only they are
// kept. A polyline with fewer points than twice the columns around its
// bounds is answered unchanged, so ordinary drawings keep every point.
QPolygonF ThinForPixels(const QPolygonF& points, double penWidth = 1);

// Whether a stroke of that width along points lays down far more ink than
// its bounds hold (twice over): a tangle that covers its columns solid.
bool IsTangle(const QPolygonF& points, double penWidth);

// What a tangle covers, column by column as wide as the pen: from the
// highest to the lowest point of each column's run and of the step into
// it, widened by half the pen. Drawing these costs the pixels of the
// bounds at most, however many times the line crossed them.
QVector<QRectF> TangleColumns(const QPolygonF& points, double penWidth);

// The pieces of a polyline that cross view, each with the length along the
// polyline before it, so a dashed pen drawn piece by piece keeps the phase
// its pattern has on the whole line. Dashing a line of a billion pixels to
// show the few hundred a view holds would take gigabytes.
struct ViewRun
{
  QPolygonF points;
  double before = 0;
};
std::vector<ViewRun> ClipToView(const QPolygonF& line, const QRectF& view);
