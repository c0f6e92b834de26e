#pragma once

#include "ClassTable.h"
#include "TStreamable.h"

#include <QBrush>

#include <cstdint>

// A logical brush: style, colour and hatch pattern. The matching QBrush is
// made on first use and kept until a field changes.
class TBrush : public TStreamable
{
public:
  static constexpr int32_t kVersion = 0;

  enum Style : uint32_t { kSolid = 0, kHollow = 1, kHatched = 2 };
  enum Hatch : int32_t {
    kHorizontal = 0,
    kVertical = 1,
    kForwardDiagonal = 2,  // "\\\\"
    kBackwardDiagonal = 3, // "////"
    kCross = 4,
    kDiagonalCross = 5,
  };

  TBrush() { classId = kTBrush; }

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;

  // kNoColor for a hollow brush, whatever colour it keeps for later.
  uint32_t GetColor() const;
  void SetColor(uint32_t colour);
  uint32_t GetStyle() const { return m_style; }
  void SetStyle(uint32_t style);
  int32_t GetHatch() const { return m_hatch; }
  void SetHatch(int32_t hatch);
  void Assign(const TBrush& other) { *this = other; }
  // Takes the style, colour and hatch of an existing QBrush; patterns
  // without a counterpart read as solid.
  void FromHandle(const QBrush& brush);

  const QBrush& GetHandle() const;

private:
  uint32_t m_style = kHollow;
  uint32_t m_colour = 0;
  int32_t m_hatch = kHorizontal;
  mutable QBrush m_handle;
  mutable bool m_dirty = true;
};
