#pragma once

#include <cstdint>

class TaClientPage;

// Builds large documents for the benchmarks: a given number of objects on
// an 8 x 10 inch page (100 units per inch), made through the real object
// classes so that a saved document is exactly what Vekta writes.
//
// The mix holds every object kind: lines and arrows, plain, rounded and
// turned rectangles, circles, pies, chords and arcs, polygons, polylines,
// Bezier curves, sinusoids, dimension lines, texts of several sizes and
// angles (some wrapped over several lines, some framed), the date, time and
// file-name fields, and instances of symbols whose definitions hold nested
// groups. Pens are 0 to 5 units wide, brushes hollow, solid or hatched, and
// most objects lie on the fourth layer with some on the first and second.
//
// The same count and seed always give the same document.
struct GeneratorOptions
{
  // What the page is like besides the mix: dense overlapping shapes, half
  // of them filled, with a few short texts; a technical plan of thin
  // hollow lines and rectangles, dimensions and small labels; a page of
  // texts of one to eight words at many sizes and some angles.
  enum class Kind { kMix, kDense, kPlan, kText };

  int32_t count = 1000;
  uint64_t seed = 1;
  Kind kind = Kind::kMix;
  // Only lines, rectangles and circles: the plainest records, for the
  // memory measure per object.
  bool simpleOnly = false;
};

// Fills a new, empty view: page settings, symbol definitions and objects.
void GenerateDocument(TaClientPage& client, const GeneratorOptions& options);
