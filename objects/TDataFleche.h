#pragma once

#include "TData.h"
#include "TPoint.h"

#include <cstdint>

class TDataOwner;

// An arrow: a shaft from start to tip and an open head of two strokes of
// headSize units opening 30 degrees to each side of the shaft at the tip.
// The head ends (barbs) and the rectangle are derived from start, tip and
// headSize and recomputed after every change.
class TDataFleche : public TData
{
public:
  static constexpr int32_t kVersion = 1;
  static constexpr int32_t kDefaultHeadSize = 8;
  // Half the opening of the head, in degrees.
  static constexpr int32_t kHeadAngle = 30;

  TDataFleche();
  // From (x1, y1) to the tip (x2, y2).
  TDataFleche(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

  // Without a client a default arrow (for readers); with one the user
  // places the tail and drags the tip. Null when cancelled.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  // Inside the rectangle, then on the shaft or on one of the head strokes.
  bool Contains(int32_t x, int32_t y) const override;
  bool Offset(int32_t dx, int32_t dy) override;
  // Moves the tip only; the head turns with the shaft.
  bool Resize(int32_t dx, int32_t dy) override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  bool Notify(uint16_t command, TRect* p) override;
  void GetRect(TRect& out, int32_t mode) const override;
  void SetRect(const TRect& r, int32_t mode) override;
  TData* Clone(TData* target, int32_t argument) const override;

  TPoint GetStart() const { return start; }
  TPoint GetTip() const { return tip; }
  TPoint GetBarb1() const { return barb1; }
  TPoint GetBarb2() const { return barb2; }
  int32_t GetHeadSize() const { return headSize; }
  void SetHeadSize(int32_t size);

private:
  void Recompute();

  TPoint start;
  TPoint barb1;
  TPoint barb2;
  TPoint tip;
  int32_t headSize = kDefaultHeadSize;
};
