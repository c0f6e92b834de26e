#pragma once

#include <cstdint>
#include <string>

class TaClientPage;

// The image export commands of a document view: PNG (32276), JPEG (32720)
// and GIF (32272, reduced to 256 colours), and the vector ones, PDF and SVG
// at the paper's physical size (no zoom asked). The user confirms an empty page, chooses the file (proposed:
// the document's name with the image extension), the zoom (from 100 / the smaller side of the sheet, at least
// 10, up to 100 percent; remembered per view) and, for JPEG, the quality (remembered for the whole program).
// The whole sheet is drawn with its background colour and its visible layers. A failed write is reported with
// its reason and leaves no partial file. Answers 1 when an image was written, 0 otherwise.
int32_t ExportImage(TaClientPage& view, uint16_t command);

// The metafile export of a document view (32689 calls it with flags 3).
// Flag 1 spans the paper, otherwise the page from its origin to the right
// and bottom edge of the drawing; flag 2 always shows the save dialog (it
// is shown anyway for an empty name); flag 4 keeps the wait cursor away.
// A page showing metafile pictures is warned about once (they cannot be
// recorded into a metafile). Answers 1 when the file was written.
int32_t ExportWmf(TaClientPage& view, std::string fileName, uint32_t flags);
// The name 32689 proposes: the document's, with the extension ".wmf".
std::string ProposedWmfName(const TaClientPage& view);

// The JPEG quality last chosen (0..100, 75 at start).
int32_t& ExportJpegQuality();

// The bounds of the export zoom for a sheet of width x height units;
// false when the sheet is empty.
bool ExportZoomRange(int32_t width, int32_t height, int32_t& lower, int32_t& upper);
