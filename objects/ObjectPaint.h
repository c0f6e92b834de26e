#pragma once

#include <cstdint>

class TData;
class TPage;
class TRect;

// The steps every drawing object's Paint shares.
//
// BeginPaint: nothing is drawn unless the object is on the layer being
// painted; mode 8 toggles the selection outline bit; then the drawing bounds
// (GetRect mode 5) must meet the page's visible area. Returns whether to go
// on drawing (the toggle stays even when the object is off screen).
bool BeginPaint(TData& object, TPage* page, uint8_t mode);

// Whether the body (mode 1 or 4) or the highlight (mode 8, or the selection
// bit set) is wanted.
bool WantsBody(uint8_t mode);
bool WantsHighlight(const TData& object, uint8_t mode);

// The highlight is drawn with a white dotted cosmetic pen and a hollow brush
// in exclusive-or mode, so drawing it twice restores the page.
// EndHighlight returns to normal drawing.
void BeginHighlight(TPage* page);
void EndHighlight(TPage* page);

// The pen width objects use for tolerances and inflations: the pen's width,
// 1 when it is 0.
int32_t EffectivePenWidth(const TData& object);

// The drawing bounds (GetRect mode 5) of an object stroked with its pen: its
// rectangle grown by the pen width and two units more.
TRect StrokeBounds(const TData& object);
