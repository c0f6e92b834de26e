#include "TDialogObjectLayer.h"

#include "MessageBox.h"
#include "Messages.h"
#include "StringTable.h"
#include "TCheck.h"

TDialogObjectLayer::TDialogObjectLayer(TVue* parentView, uint16_t mask)
    : TDialog("KARWI_DIALOG1LAYER", parentView)
{
  if (auto* boxes = ControlAs<TCheck>(kLayerGroup))
    boxes->SetMask(mask & 0xFFu);
}

uint16_t TDialogObjectLayer::Checked() const
{
  const auto* boxes = ControlAs<TCheck>(kLayerGroup);
  return boxes ? static_cast<uint16_t>(boxes->GetMask() & 0xFFu) : 0;
}

bool TDialogObjectLayer::Validate()
{
  if (Checked() != 0)
    return true;
  MessageBox(Widget(), "", LoadStr(IDS_LAYER_OBJECT_NONE), MB_OK_ | MB_ICONSTOP_);
  FocusControl(kLayerGroup);
  return false;
}

bool TDialogObjectLayer::Run(uint16_t& mask)
{
  if (RunModal() != IDOK_)
    return false;
  mask = static_cast<uint16_t>((mask & 0xFF00u) | Checked());
  return true;
}
