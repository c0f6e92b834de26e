#include "TDialogSnap.h"

#include "Messages.h"
#include "TCheck.h"
#include "TEdl.h"

#include <cmath>

namespace {

struct Field
{
  uint16_t id;
  double TUserInput::GridSnapSettings::*value;
};

constexpr Field kFields[] = {
    {TDialogSnap::kGridX, &TUserInput::GridSnapSettings::gridX},
    {TDialogSnap::kGridY, &TUserInput::GridSnapSettings::gridY},
    {TDialogSnap::kSnapX, &TUserInput::GridSnapSettings::snapX},
    {TDialogSnap::kSnapY, &TUserInput::GridSnapSettings::snapY},
};

} // namespace

TDialogSnap::TDialogSnap(TVue* parentView, const TUserInput::GridSnapSettings& settings)
    : TDialog("KARWI_DialogSnap", parentView)
{
  if (auto* grid = ControlAs<TCheck>(kGridCheck))
    grid->SetChecked(0, settings.gridShown);
  if (auto* snap = ControlAs<TCheck>(kSnapCheck))
    snap->SetChecked(0, settings.snapOn);
  for (const Field& field : kFields) {
    if (auto* edit = ControlAs<TEdl>(field.id)) {
      edit->SetFormat(settings.numberFormat, settings.decimals);
      edit->SetValue(&(settings.*field.value));
    }
  }
}

bool TDialogSnap::Run(TUserInput::GridSnapSettings& settings)
{
  if (RunModal() != IDOK_)
    return false;
  if (const auto* grid = ControlAs<TCheck>(kGridCheck))
    settings.gridShown = grid->IsChecked(0);
  if (const auto* snap = ControlAs<TCheck>(kSnapCheck))
    settings.snapOn = snap->IsChecked(0);
  for (const Field& field : kFields) {
    double value = 0;
    const auto* edit = ControlAs<TEdl>(field.id);
    if (edit && edit->HoldsNumber() && edit->GetValue(&value) != 0 && std::isfinite(value))
      settings.*field.value = value;
  }
  return true;
}
