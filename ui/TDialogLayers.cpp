#include "TDialogLayers.h"

#include "MessageBox.h"
#include "Messages.h"
#include "StringTable.h"
#include "TCheck.h"
#include "TClient.h"
#include "TEdl.h"
#include "TRadio.h"
#include "TextEncoding.h"

#include <bit>

namespace {

constexpr int32_t kLayers = 8;
constexpr size_t kNameLength = 31;

} // namespace

TDialogLayers::TDialogLayers(TVue* parentView, const TUserInput::LayerSettings& settings)
    : TDialog("KARWI_DIALOGLAYERS", parentView), m_original(settings)
{
  auto* active = ControlAs<TRadio>(kActiveGroup);
  auto* visible = ControlAs<TCheck>(kVisibleGroup);
  auto* protectedLayers = ControlAs<TCheck>(kProtectedGroup);
  if (!active || !visible || !protectedLayers)
    return;
  const bool single = std::has_single_bit(settings.active) && settings.active < (1u << kLayers);
  active->SetSelected(single ? std::countr_zero(settings.active) : -1);
  visible->SetMask(settings.visible);
  protectedLayers->SetMask(settings.protectedMask);
  for (int32_t i = 0; i < kLayers; ++i) {
    if (auto* name = ControlAs<TEdl>(kFirstName + i))
      name->SetText(settings.names[i]);
  }
}

TUserInput::LayerSettings TDialogLayers::Settings() const
{
  TUserInput::LayerSettings settings = m_original;
  const auto* active = ControlAs<TRadio>(kActiveGroup);
  const int32_t chosen = active ? active->GetSelected() : -1;
  if (chosen >= 0)
    settings.active = static_cast<uint16_t>(1u << chosen);
  // Bits 8 to 15 have no box; they stay as they were.
  const auto readMask = [this](uint16_t group, uint16_t original) {
    const auto* boxes = ControlAs<TCheck>(group);
    return boxes ? static_cast<uint16_t>((original & 0xFF00u) | (boxes->GetMask() & 0xFFu)) : original;
  };
  settings.visible = readMask(kVisibleGroup, m_original.visible);
  settings.protectedMask = readMask(kProtectedGroup, m_original.protectedMask);
  for (int32_t i = 0; i < kLayers; ++i) {
    if (const auto* name = ControlAs<TEdl>(kFirstName + i))
      settings.names[i] = CutText(name->GetText(), kNameLength);
  }
  return settings;
}

bool TDialogLayers::Validate()
{
  const TUserInput::LayerSettings settings = Settings();
  const uint32_t refusal = CheckLayerSettings(settings.active, settings.visible, settings.protectedMask);
  if (refusal == 0)
    return true;
  MessageBox(Widget(), "", LoadStr(refusal), MB_OK_ | MB_ICONSTOP_);
  FocusControl(kActiveGroup);
  return false;
}

bool TDialogLayers::Run(TUserInput::LayerSettings& settings)
{
  if (RunModal() != IDOK_)
    return false;
  settings = Settings();
  return true;
}
