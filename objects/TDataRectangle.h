#pragma once

#include "TData.h"

#include <cstdint>

class TDataOwner;

// An axis-parallel rectangle, filled with the brush and outlined with the
// pen, whose corners are rounded by two radii ("Corners Size"); with both
// radii 0 it is a plain rectangle. Its shape is the rectangle itself.
class TDataRectangle : public TData
{
public:
  static constexpr int32_t kVersion = 2;
  static constexpr int32_t kDefaultCorner = 10;

  TDataRectangle();
  TDataRectangle(int32_t x, int32_t y, int32_t width, int32_t height);
  explicit TDataRectangle(const TRect& r);

  // Without a client a default object (for readers); with one the user
  // places a corner and drags the opposite one. Null when cancelled or when
  // the rectangle has no area.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  void GetRect(TRect& out, int32_t mode) const override;
  TData* Clone(TData* target, int32_t argument) const override;

  int32_t GetCornerWidth() const { return cornerWidth; }
  int32_t GetCornerHeight() const { return cornerHeight; }
  void SetCorners(int32_t width, int32_t height);

protected:
  int32_t cornerWidth = kDefaultCorner;
  int32_t cornerHeight = kDefaultCorner;
};
