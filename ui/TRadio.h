#pragma once

#include "TRadioBase.h"

// Radio buttons: one box of the group is chosen. The group is one Tab
// stop, on its chosen box; the arrow keys move the choice inside it.
class TRadio : public TRadioBase
{
public:
  TRadio(TDialog* dialog, int32_t id, const std::string& title, const std::vector<std::string>& captions,
         int32_t firstItemId, int32_t columns = 1);

  bool IsA(int32_t id) const override;
  QWidget* FocusStop(int32_t index) const override;

  // The chosen box, -1 when none.
  int32_t GetSelected() const;
  // An index out of range chooses nothing.
  void SetSelected(int32_t index);
};
