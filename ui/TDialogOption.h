#pragma once

#include "TDialog.h"

#include <string>
#include <vector>

// One choice among radio buttons, built in code: the options in a group
// under groupLabel, with OK and Cancel.
class TDialogOption : public TDialog
{
public:
  static constexpr uint16_t kGroup = 100;

  TDialogOption(TVue* parent, const std::string& title, const std::string& groupLabel,
                const std::vector<std::string>& options, int32_t index);

  // Runs the dialogue; true on OK with the chosen option.
  bool Run(int32_t& index);
};
