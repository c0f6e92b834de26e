#pragma once

#include <cstdint>

class QPaintDevice;
class QPainter;
class TPage;

// Binding a page to a Qt paint device: the page draws through a
// TQtPageDevice from then on, until TPage::Release. Every Qt surface (the
// view's page image, memory pages, PDF and SVG files, printers) is bound
// here.

// The page opens its own painter on device and closes it on Release. False
// when the device cannot be painted.
bool BindPage(TPage& page, QPaintDevice* device, int32_t kind);
// The page draws through a painter someone else owns (and may go on using
// between the page's drawing); its state is saved now and restored on
// Release. False when the painter is not active.
bool BindPage(TPage& page, QPainter* painter, int32_t kind);
