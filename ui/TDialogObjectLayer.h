#pragma once

#include "TDialog.h"

#include <cstdint>

// The layers of one object ("KARWI_DIALOG1LAYER", "Layer"): eight check
// boxes "1" to "8". OK with no box checked is refused with "The object must
// show\nat least on one layer".
class TDialogObjectLayer : public TDialog
{
public:
  static constexpr uint16_t kLayerGroup = 100;

  TDialogObjectLayer(TVue* parent, uint16_t mask);

  // Runs the dialogue; true on OK with the checked layers in mask (its bits
  // 8 to 15, which have no box, are kept).
  bool Run(uint16_t& mask);

protected:
  bool Validate() override;

private:
  uint16_t Checked() const;
};
