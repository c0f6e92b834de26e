#pragma once

#include "TControl.h"

#include <string>

// A text label. It never takes the focus; as the label of an edit it is
// right-aligned and points at its edit.
class TStatic : public TControl
{
public:
  TStatic(TDialog* dialog, int32_t id, const std::string& text, bool alignRight = false);

  bool IsA(int32_t id) const override;
  void SetText(const std::string& text);
  std::string GetText() const;
};
