#pragma once

#include <cstdint>
#include <functional>

class DisplayList;
class QImage;
class TPage;

// Draws a recorded page into image, whose row 0 is the recording page's
// device row 0, in horizontal bands of the image on every core: each band
// is drawn by a painter of its own on an image a little taller than the
// band and copied in, so the picture comes out as one device drawing
// everything would have made it, only sooner.
//
// threads: how many threads draw, this one included (0: one per core).
// Only rows [top, bottom) are drawn (bottom -1: to the last row); what the
// recording draws elsewhere is left out. The calling thread's WorkMonitor
// is polled between bands; false when it gave up before every band was
// drawn. bandDone, when given, hears of the rows [top, bottom) of each band
// as soon as they are in image, on the thread that drew them; those rows
// are not written again. With bandDone the first band is short, so that
// something is shown soon.
bool PaintInBands(const DisplayList& list, QImage& image, int threads = 0, int top = 0, int bottom = -1,
                  const std::function<void(int top, int bottom)>& bandDone = {});

// Draws into image what draw paints on a copy of like (a page showing
// image, bound as kind): the copy records it on this thread, and the
// recording is then drawn as PaintInBands does, over rows [top, bottom).
// False when the work was given up before the picture was whole.
bool PaintOnCores(const TPage& like, int32_t kind, QImage& image, const std::function<void(TPage&)>& draw,
                  int threads = 0, int top = 0, int bottom = -1);
