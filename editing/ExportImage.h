#pragma once

#include <cstdint>

class TaClientPage;

// The image export commands of a document view: PNG (32276) and JPEG
// (32720). The user confirms an empty page, chooses the file (proposed: the
// document's name with the image extension), the zoom (from 100 / the
// smaller side of the sheet, at least 10, up to 100 percent; remembered per
// view) and, for JPEG, the quality (remembered for the whole program). The
// whole sheet is drawn with its background colour and its visible layers.
// A failed write is reported with its reason and leaves no partial file.
// Answers 1 when an image was written, 0 otherwise.
int32_t ExportImage(TaClientPage& view, uint16_t command);

// The JPEG quality last chosen (0..100, 75 at start).
int32_t& ExportJpegQuality();

// The bounds of the export zoom for a sheet of width x height units;
// false when the sheet is empty.
bool ExportZoomRange(int32_t width, int32_t height, int32_t& lower, int32_t& upper);
