#pragma once

#include "TDialog.h"
#include "TUserInput.h"

#include <vector>

// The integer prompt built in code and centred on the screen: one numeric
// field six characters wide per value, edited as a signed 16-bit integer,
// under its label ("Zoom:(in %) (10...1000)"), with "Ok" and "Cancel".
// It checks no range: AskInteger and AskTwoIntegers do, and show it again
// with the typed values when they do not fit.
class TDialogIntegers : public TDialog
{
public:
  TDialogIntegers(TVue* parent, const std::string& title,
                  const std::vector<TUserInput::IntegerField>& fields);

  // Runs the dialogue; true on OK with the typed values.
  bool Run(std::vector<TUserInput::IntegerField>& fields);
};
