#pragma once

#include "TData.h"

#include <cstdint>

class TDataOwner;

// A circle or an ellipse inscribed in the rectangle, or a part of one: a
// pie (filled sector), a chord or an open arc from the start angle
// counter-clockwise to the end angle (degrees, counter-clockwise on the page
// from the positive x axis). It is placed by its centre and sized around it;
// a circle that is not "not iso" keeps width and height equal when sized.
class TDataCercle : public TData
{
public:
  static constexpr int32_t kVersion = 3;

  enum Shape : uint16_t { kEllipse = 0, kPie = 1, kChord = 2, kArc = 3 };

  TDataCercle();
  // A circle of radius r about (cx, cy).
  TDataCercle(int32_t cx, int32_t cy, int32_t r);

  // Without a client a default object (for readers); with one the user
  // places the centre and drags the size. Null when cancelled or when the
  // circle has no size.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  bool Contains(int32_t x, int32_t y) const override;
  // The centre stays; nothing happens (0) for (0, 0).
  bool Resize(int32_t dx, int32_t dy) override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  bool Notify(uint16_t command, TRect* p) override;
  void GetRect(TRect& out, int32_t mode) const override;
  void SetRect(const TRect& r, int32_t mode) override;
  TData* Clone(TData* target, int32_t argument) const override;

  // 0 makes a circle: a square on the same centre whose side is the mean of
  // width and height; anything else frees it to an ellipse.
  void SetIso(int32_t notIsoFlag);
  bool IsNotIso() const { return notIso != 0; }
  uint16_t GetShape() const { return shape; }
  void SetShape(uint16_t s) { shape = s; }
  int32_t GetStartAngle() const { return startAngle; }
  int32_t GetEndAngle() const { return endAngle; }
  // Each kept as the remainder of a division by 360.
  void SetAngles(int32_t start, int32_t end);

private:
  uint16_t notIso = 0;
  uint16_t shape = kEllipse;
  int32_t startAngle = 0;
  int32_t endAngle = 0;
};
