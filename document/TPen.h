#pragma once

#include "ClassTable.h"
#include "TStreamable.h"

#include <QPen>

#include <cstdint>

// A logical pen: style, width in logical units and colour. The matching QPen
// is made on first use and kept until a field changes, so drawing many
// objects with the same pen builds it once.
class TPen : public TStreamable
{
public:
  static constexpr int32_t kVersion = 0;

  enum Style : uint32_t {
    kSolid = 0,
    kDash = 1,
    kDot = 2,
    kDashDot = 3,
    kDashDotDot = 4,
    kNull = 5,
    // Solid, drawn inside the outline of closed shapes (the surface shrinks
    // the shape by half the width).
    kInsideFrame = 6,
  };

  TPen() { classId = kTPen; }
  TPen(uint32_t colour, int32_t width, uint32_t style);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;

  uint32_t GetColor() const { return m_colour; }
  void SetColor(uint32_t colour);
  // The drawn width: a stored width of 0 draws one device pixel, reported as 1.
  int32_t GetWidth() const { return m_widthX == 0 ? 1 : m_widthX; }
  // Negative widths become 0.
  void SetWidth(int32_t width);
  uint32_t GetStyle() const { return m_style; }
  // Unknown styles (above 6) become solid.
  void SetStyle(uint32_t style);
  void Assign(const TPen& other) { *this = other; }

  const QPen& GetHandle() const;

private:
  uint32_t m_style = kSolid;
  int32_t m_widthX = 0;
  int32_t m_widthY = 0;
  uint32_t m_colour = 0;
  mutable QPen m_handle;
  mutable bool m_dirty = true;
};
