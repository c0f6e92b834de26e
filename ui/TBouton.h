#pragma once

#include "TControl.h"

#include <string>

// A push button. Clicking it (or Space while it has the focus) sends its id
// to the dialogue as a command; the default button is the one Enter
// presses.
class TBouton : public TControl
{
public:
  TBouton(TDialog* dialog, int32_t id, const std::string& text, bool isDefault = false);

  bool IsA(int32_t id) const override;
  bool IsDefault() const;
  void SetText(const std::string& text);
};
