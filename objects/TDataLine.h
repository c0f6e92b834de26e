#pragma once

#include "TData.h"
#include "TPoint.h"

#include <cstdint>

class TDataOwner;

// A straight line between two end points. The rectangle is never edited on
// its own: it is recomputed from the points after every change, one unit
// wide (or high) where the line runs straight along an axis.
class TDataLine : public TData
{
public:
  static constexpr int32_t kVersion = 1;

  TDataLine();
  TDataLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

  // Without a client a default line (for readers); with one the user places
  // the first end and drags the second. Null when cancelled.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  // The segment hit test, within half the pen width plus one unit.
  bool Contains(int32_t x, int32_t y) const override;
  // Moves both ends; true even for (0, 0).
  bool Offset(int32_t dx, int32_t dy) override;
  // Moves the second end only.
  bool Resize(int32_t dx, int32_t dy) override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  bool Notify(uint16_t command, TRect* p) override;
  void GetRect(TRect& out, int32_t mode) const override;
  void SetRect(const TRect& r, int32_t mode) override;
  TData* Clone(TData* target, int32_t argument) const override;
  bool ShowInfo(TDataOwner* client, const TData* reference, uint16_t flags) override;

  TPoint GetStart() const { return {x1, y1}; }
  TPoint GetEnd() const { return {x2, y2}; }
  // Swaps the ends: the drawing stays, "Position" and "Size" change ends.
  void ExchangeEnds();
  // The direction from the first end to the second in degrees, 0 up to
  // 360, counter-clockwise on the page; 0 when the ends coincide.
  double Angle() const;

private:
  void Recompute();

  int32_t x1 = 0;
  int32_t y1 = 0;
  int32_t x2 = 0;
  int32_t y2 = 0;
};
