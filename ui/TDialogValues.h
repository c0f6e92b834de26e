#pragma once

#include "TDialog.h"
#include "TUserInput.h"

#include <vector>

// A dialogue of numeric fields built in code (typed positions, "Moving",
// "Origin", angles): one labelled field per value, in the value's decimals
// and number format, 15 characters wide.
class TDialogValues : public TDialog
{
public:
  TDialogValues(TVue* parent, const std::string& title, const std::vector<TUserInput::ValueField>& fields);

  // Runs the dialogue; true on OK with the typed values (a field that holds
  // no number gives 0).
  bool Run(std::vector<TUserInput::ValueField>& fields);
};
