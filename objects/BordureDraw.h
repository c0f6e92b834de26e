#pragma once

class TBordure;
class TPage;
class TPolyRectangle;

// Draws a text frame of the given style around the turned rectangle frame
// (the text's box already grown by the frame's thickness). Types 1 and 13 to
// 16 draw a line of the frame's thickness inside that rectangle, type 6 a
// dotted line; no frame (type 0) and the other types draw nothing. The frame
// shows on whatever layer is being painted.
void DrawBordure(const TBordure& border, TPage* page, const TPolyRectangle& frame);
