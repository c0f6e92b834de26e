#pragma once

#include <cstdint>
#include <string>

class TClient;
class TPage;

// Output of a whole sheet of paper, shared by the Export commands, the
// command-line tool and the benchmarks.

// Paints the sheet of client onto target as output (paint mode 4): the
// page's background colour first (white when the page has none), then the
// objects of the visible layers. target must be bound and show the paper
// from (0, 0). layers, when not 0, are the layers painted instead of the
// visible ones. False when the paint had to leave part of the symbols out
// (see TPage::SpendNestedPaint).
bool RenderSheet(TClient& client, TPage& target, uint16_t layers = 0);

// The sheet of client as an SVG file (see TSvgDevice), every layer in it,
// the hidden ones hidden; title names it. complete as RenderSheet answers.
// False when the sheet could not be drawn.
bool RenderSvgSheet(TClient& client, const std::string& title, std::string& svg, bool& complete);

// True when path names a type ExportSheet writes (by its extension).
bool IsSheetExportType(const std::string& path);

// The JPEG quality used when none is chosen.
inline constexpr int32_t kDefaultJpegQuality = 75;

// Records the objects of the visible layers (no background: other programs
// place the picture over their own) as a placeable metafile spanning
// (0, 0)-(width, height) of the page, written to path only when complete.
// False with the reason in error; warning as for ExportSheet.
bool WriteMetafile(TClient& client, const std::string& path, int32_t width, int32_t height,
                   std::string* error, std::string* warning = nullptr);

// Writes the sheet to path, in the format its extension names: .png, .jpg
// (or .jpeg) and .gif (256 colours) as an image at zoom percent (1..1000;
// quality 0..100 for JPEG), .wmf as a placeable metafile of the paper, .pdf
// and .svg as vector pages of the paper's physical size (zoom and quality
// play no part). Nothing is left at path unless the whole file was written.
// False with a readable reason in error (may be null), also when the work
// was given up (see WorkMonitor). A file written without part of its
// symbols (nested beyond what any page shows) is a success with a note in
// warning (may be null).
bool ExportSheet(TClient& client, const std::string& path, int32_t zoom, int32_t quality, std::string* error,
                 std::string* warning = nullptr);
