#pragma once

class DisplayList;
class QImage;

// Draws a recorded page into image, whose row 0 is the recording page's
// device row 0, in horizontal bands of the image on every core: each band
// is a view of the image's own rows (nothing is copied) with a painter of
// its own, so the picture comes out as one device drawing everything
// would have made it, only sooner.
//
// threads: how many threads draw, this one included (0: one per core).
// Only rows [top, bottom) are drawn (bottom -1: to the last row); what the
// recording draws elsewhere is left out. The calling thread's WorkMonitor
// is polled between bands; false when it gave up before every band was
// drawn.
bool PaintInBands(const DisplayList& list, QImage& image, int threads = 0, int top = 0, int bottom = -1);
