#pragma once

#include "ClassTable.h"
#include "TStreamable.h"

#include <cstdint>

// The frame style drawn around a text object: a frame type 0..16 (0: no
// frame), the line thickness that type implies, and two colours.
class TBordure : public TStreamable
{
public:
  static constexpr int32_t kVersion = 0;
  static constexpr int32_t kMaxType = 16;
  // Thickness of type 8, the width of a window's sizing frame.
  static constexpr int32_t kSizingFrameWidth = 4;

  uint32_t colour1 = 0; // the frame's line colour
  uint32_t colour2 = 0; // second colour, kept with the frame

  TBordure() { classId = kTBordure; }

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;

  int32_t GetType() const { return m_type; }
  int32_t GetThickness() const { return m_thickness; }
  // Also sets the thickness; an unknown type becomes 0 (no frame).
  void SetType(int32_t type);

private:
  int32_t m_type = 0;
  int32_t m_thickness = 0;
};
