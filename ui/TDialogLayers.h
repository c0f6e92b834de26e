#pragma once

#include "TDialog.h"
#include "TUserInput.h"

// The layers dialogue ("KARWI_DIALOGLAYERS", "Layers"): the active layer,
// the eight names and the visible and protected layers. OK is refused, with
// the focus back on the "Active" group, while the settings fail
// CheckLayerSettings (the active layer protected or hidden).
//
// An active mask that is not a single layer (every layer active, as in
// documents without layer settings) shows no active button and is kept as
// it is unless the user chooses one.
class TDialogLayers : public TDialog
{
public:
  static constexpr uint16_t kActiveGroup = 100;
  static constexpr uint16_t kFirstName = 201;
  static constexpr uint16_t kVisibleGroup = 300;
  static constexpr uint16_t kProtectedGroup = 400;

  TDialogLayers(TVue* parent, const TUserInput::LayerSettings& settings);

  // Runs the dialogue; true on OK with the settings read back.
  bool Run(TUserInput::LayerSettings& settings);

protected:
  bool Validate() override;

private:
  TUserInput::LayerSettings Settings() const;

  TUserInput::LayerSettings m_original;
};
