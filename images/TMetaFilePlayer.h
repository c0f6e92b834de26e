#pragma once

#include <cstdint>

class TImageBuffer;
class TPage;
class TRect;

// Plays a metafile picture onto a page: the metafile point (sourceOriginX,
// sourceOriginY) lands on the frame's top-left corner and sourceWidth x
// sourceHeight metafile units cover the frame (page units). The records
// are drawn through the page, so every surface shows them, clipped to the
// frame and a margin of one metafile unit. A window origin the records set
// stands in for the header's origin (the header's left and top), so it
// moves the drawing relative to the placement by how far it lies from the
// header's origin; the window and viewport extents and the map mode are
// ignored, since the placement decides the scale.
//
// Every size, count and index in the records is checked before it is
// used, and the work one picture may ask for is bounded. A damaged record
// stops the playback (what was drawn stays) and the result is false. On a
// metafile page nothing is drawn and the result is false, as a picture
// cannot be re-recorded there. The page's selections, text and background
// attributes and clip are back to their defaults and its own clip when the
// call returns.
bool PlayMetafile(TPage& page, const TImageBuffer& picture, const TRect& frame, int32_t sourceWidth,
                  int32_t sourceHeight, int32_t sourceOriginX, int32_t sourceOriginY);

// Bounds on what one playback draws; beyond them the playback stops as
// for a damaged record.
namespace metafile_limits {
inline constexpr int64_t kMaxRecords = int64_t{1} << 21;
inline constexpr int64_t kMaxPoints = int64_t{1} << 23;
inline constexpr int64_t kMaxTextBytes = int64_t{1} << 22;
inline constexpr int64_t kMaxPixels = int64_t{1} << 26;
inline constexpr int32_t kMaxSavedStates = 256;
} // namespace metafile_limits
