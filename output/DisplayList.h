#pragma once

#include "TBrush.h"
#include "TFont.h"
#include "TPen.h"
#include "TPoint.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

class TPageDevice;

// The drawing calls a page made, kept to be drawn again: recorded once by a
// DisplayRecorder (where the objects are walked, on one thread), then
// replayed onto any number of pixel devices, each of which may be drawing a
// different horizontal band of the same picture on a thread of its own.
//
// Every drawing call knows the device rows it can touch, so a band replays
// only what reaches into it; the attributes selected in between are handed
// to the device only when something in the band is drawn with them. The
// recorded pens, brushes and fonts have made their Qt objects already and
// are only read while replaying, so replays may run at the same time.
class DisplayList
{
public:
  // Hands to device every call that can touch device rows [top, bottom),
  // in the order recorded, each with the attributes that were selected
  // when it was made. device is to show the picture as the recording page
  // did (same mapping), shifted as the caller likes.
  void Replay(TPageDevice& device, int32_t top, int32_t bottom) const;

  // Calls that draw (attribute changes not counted).
  size_t DrawingCalls() const { return m_drawingCalls; }
  bool Empty() const { return m_commands.empty(); }

private:
  friend class DisplayRecorder;

  enum class Op : uint8_t {
    // attributes: the latest of each kind is what a drawing call uses
    kMapping,
    kClip,
    kNoClip,
    kDefaults,
    kPen,
    kBrush,
    kFont,
    kTextColour,
    kBkColour,
    kBkMode,
    kTextAlign,
    kRop,
    // drawing
    kRectangle,
    kRoundRect,
    kEllipse,
    kLine,
    kPolygon,
    kPolyline,
    kPie,
    kChord,
    kArc,
    kFillRect,      // with the selected brush
    kFillRectBrush, // with a brush of its own (index)
    kPixel,
    kText,
    kEdge,
    kImage,
  };
  // Set in a text's extra word beside its options when it has a clip box.
  static constexpr uint32_t kTextHasClip = 1u << 31;

  struct Command
  {
    Op op;
    // Device rows the call can touch, [top, bottom); attributes touch none.
    int32_t top = 0;
    int32_t bottom = 0;
    int32_t a[6] = {};
    // Index into the table the operation names (points, pens, brushes,
    // fonts, texts, images); for texts also the options.
    uint32_t index = 0;
    uint32_t extra = 0;
  };

  void Apply(TPageDevice& device, const Command& c) const;
  void Draw(TPageDevice& device, const Command& c) const;

  std::vector<Command> m_commands;
  std::vector<TPoint> m_points;
  std::vector<TPen> m_pens;
  std::vector<TBrush> m_brushes;
  std::vector<TFont> m_fonts;
  std::vector<std::string> m_texts;
  std::vector<QImage> m_images;
  size_t m_drawingCalls = 0;
};
