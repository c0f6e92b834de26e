#pragma once

#include "TDialog.h"
#include "TUserInput.h"

// The grid and snap dialogue ("KARWI_DialogSnap", "Grid And Snap"): whether
// the grid is shown and snapping is on, and the grid and snap steps in user
// units with the page's number format and decimals.
class TDialogSnap : public TDialog
{
public:
  static constexpr uint16_t kGridCheck = 102;
  static constexpr uint16_t kGridX = 103;
  static constexpr uint16_t kGridY = 105;
  static constexpr uint16_t kSnapCheck = 108;
  static constexpr uint16_t kSnapX = 109;
  static constexpr uint16_t kSnapY = 111;

  TDialogSnap(TVue* parent, const TUserInput::GridSnapSettings& settings);

  // Runs the dialogue; true on OK with the settings read back (a field
  // that holds no number keeps its old value).
  bool Run(TUserInput::GridSnapSettings& settings);
};
