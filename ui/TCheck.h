#pragma once

#include "TRadioBase.h"

#include <cstdint>

// Check boxes: each box of the group is on or off, and each is a Tab stop.
class TCheck : public TRadioBase
{
public:
  TCheck(TDialog* dialog, int32_t id, const std::string& title, const std::vector<std::string>& captions,
         int32_t firstItemId, int32_t columns = 1);

  bool IsA(int32_t id) const override;
  int32_t FocusStops() const override { return ItemCount(); }
  QWidget* FocusStop(int32_t index) const override;

  // Bit i stands for box i (at most 32 boxes).
  uint32_t GetMask() const;
  void SetMask(uint32_t mask);
};
