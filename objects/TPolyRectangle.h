#pragma once

#include "TDataRectangle.h"
#include "TPolygone.h"
#include "TRect.h"

#include <cstdint>

class TDataOwner;

// A rectangle turned by an angle about its top-left corner. It keeps the
// unturned frame and the four turned corners; the rectangle of the object
// is the bounding box of the corners (the frame itself when not turned).
// The angle is in degrees, counter-clockwise on the page, and always kept as
// the remainder of a division by 360 with its sign (-90 stays -90).
class TPolyRectangle : public TDataRectangle
{
public:
  static constexpr int32_t kVersion = 0;

  TPolyRectangle();
  TPolyRectangle(int32_t x, int32_t y, int32_t width, int32_t height, int32_t angle);
  TPolyRectangle(const TRect& frame, int32_t angle);

  // Without a client a default object (for readers); with one the user
  // places a corner and drags the opposite one. Null when cancelled or when
  // the rectangle has no area.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  bool IsA(int32_t id) const override;
  // Inside the turned frame, widened by half the pen width.
  bool Contains(int32_t x, int32_t y) const override;
  bool Offset(int32_t dx, int32_t dy) override;
  // The deltas are taken along the frame's own sides, chosen by the
  // quarter the angle points to.
  bool Resize(int32_t dx, int32_t dy) override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  bool Notify(uint16_t command, TRect* p) override;
  void GetRect(TRect& out, int32_t mode) const override;
  void SetRect(const TRect& r, int32_t mode) override;
  TData* Clone(TData* target, int32_t argument) const override;
  bool ShowInfo(TDataOwner* client, const TData* reference, uint16_t flags) override;

  int32_t GetAngle() const { return angle; }
  void SetAngle(int32_t degrees);
  const TRect& GetFrame() const { return frame; }
  const TPolygone& GetCorners() const { return corners; }

private:
  void Recompute();

  int32_t angle = 0;
  TRect frame;
  TPolygone corners{4};
};
