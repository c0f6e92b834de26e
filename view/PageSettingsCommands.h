#pragma once

#include "TUserInput.h"

#include <cstdint>
#include <string>

class TClient;

// The page settings commands of the Page menu ("Units...", "Grid and
// Snap...", "Pixels...") and the Zoom dialogue, run on a page view through
// its user-input seam. Each answers true when the user confirmed; without a
// page or an input it does nothing and answers false.

// The units dialogue. When the unit changes, the paper keeps its physical
// size (width and height are rescaled, rounded to nearest) while the
// objects keep their coordinates; then decimals (kept within 0..6), unit,
// number format and scale are stored and the view is repainted. A scale
// not above 0 is refused and the old scale kept. The caller then marks the
// document modified and refreshes the objects.
bool UnitsCommand(TClient& view);
// The grid and snap dialogue, in user units. Steps come back as value /
// scale + 0.5, cut to whole units; a step outside 1..200 leaves the old step
// on that axis. The view is repainted.
bool GridSnapCommand(TClient& view);
// "Page Dimension": the paper's width and height in logical units, 10 to
// 3000 each. The size mode is reset, the document marked modified and the
// scroll ranges recomputed.
bool PageSizeCommand(TClient& view);
// "Zoom": a percentage from 10 to 1000.
bool ZoomCommand(TClient& view);

// ---- what the units dialogue shows ----
inline constexpr int32_t kUnitChoices = 6;
// The units per inch of choice index 0..5 ("0.002 Inch" ... "0.2  mm"):
// 500, 200, 100, 508, 254, 127; 100 for any other index.
int32_t UnitsPerInchAt(int32_t index);
// The choice index of a unit size; 2 (0.01 inch) for any other size.
int32_t UnitIndexOf(int32_t unitsPerInch);
// The scale and decimals proposed when a unit or a format is chosen.
void ProposeUnits(int32_t unitIndex, uint16_t numberFormat, float& factor, int32_t& decimals);
// The paper size in the chosen unit, scale, decimals (cut into 0..6) and
// number format, as "width x height": the paper of current (in its units
// per inch, 100 when 0) times the chosen units per inch and the scale.
std::string PaperSizeLine(const TUserInput::UnitsSettings& current, int32_t unitIndex, double factor,
                          int32_t decimals, uint16_t numberFormat);
