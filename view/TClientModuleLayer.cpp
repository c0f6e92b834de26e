#include "TClientModuleLayer.h"

#include "CommandIds.h"
#include "ObjectStream.h"
#include "TClient.h"
#include "TInStream.h"
#include "TOutStream.h"
#include "TPage.h"
#include "TUserInput.h"
#include "TextEncoding.h"

#include <string>

namespace {

constexpr const char* kLayersSection = "VEKT Layers";
constexpr uint16_t kAllLayers = 0xFFFF;
constexpr uint16_t kDefaultActive = 8;
// Early files used 255 for "every layer active".
constexpr uint16_t kOldAllActive = 255;

} // namespace

TClientModuleLayer::TClientModuleLayer(TClient* owner) : TClientModule(owner), names(kLayerCount, kNameLength)
{
  for (int32_t i = 0; i < kLayerCount; ++i)
    names.SetString(i, std::to_string(i + 1).c_str());
}

int32_t TClientModuleLayer::Command(uint16_t command, TData* object, int32_t parameter)
{
  if (command == CM_LAYERS)
    return EditLayers() ? 1 : 0;
  return TClientModule::Command(command, object, parameter);
}

TPage* TClientModuleLayer::Page() const
{
  return client ? client->GetPage() : nullptr;
}

uint16_t TClientModuleLayer::GetVisible() const
{
  return Page() ? Page()->GetVisibleLayers() : kAllLayers;
}

void TClientModuleLayer::SetVisible(uint16_t mask)
{
  if (Page())
    Page()->SetVisibleLayers(mask);
}

uint16_t TClientModuleLayer::GetActive() const
{
  return client ? client->GetLayers() : kDefaultActive;
}

void TClientModuleLayer::SetActive(uint16_t mask)
{
  if (client)
    client->SetLayers(mask);
}

uint16_t TClientModuleLayer::GetProtected() const
{
  return Page() ? Page()->GetProtectedLayers() : 0;
}

void TClientModuleLayer::SetProtected(uint16_t mask)
{
  if (Page())
    Page()->SetProtectedLayers(mask);
}

const char* TClientModuleLayer::GetName(int32_t index) const
{
  return names.GetString(index);
}

bool TClientModuleLayer::SetName(int32_t index, const char* text)
{
  return index >= 0 && index < kLayerCount && names.SetString(index, text);
}

bool TClientModuleLayer::EditLayers()
{
  TUserInput* input = client ? client->GetInput() : nullptr;
  if (!input)
    return false;
  TUserInput::LayerSettings settings;
  settings.active = GetActive();
  settings.visible = GetVisible();
  settings.protectedMask = GetProtected();
  for (int32_t i = 0; i < kLayerCount; ++i)
    settings.names[i] = GetName(i);
  if (!input->EditLayers(settings))
    return false;
  // The dialog only closes on settings that pass the checks; settings that
  // do not would leave new objects invisible or unpickable.
  if (CheckLayerSettings(settings.active, settings.visible, settings.protectedMask) != 0)
    return false;
  const uint16_t oldVisible = GetVisible();
  for (int32_t i = 0; i < kLayerCount; ++i)
    SetName(i, settings.names[i].c_str());
  SetActive(settings.active);
  SetProtected(settings.protectedMask);
  SetVisible(settings.visible);
  if (Page())
    Page()->SetDrawingLayers(settings.visible);
  client->SetModified(true);
  if (settings.visible != oldVisible)
    client->InvalidateWindow();
  return true;
}

void TClientModuleLayer::Write(TOutStream& os) const
{
  WriteSectionTag(os, kLayersSection);
  os << kSectionVersion << ' ' << GetVisible() << ' ' << GetActive() << ' ' << GetProtected() << ' '
     << kLayerCount << '\n';
  for (int32_t i = 0; i < kLayerCount; ++i)
    os << GetName(i) << '\n';
}

void TClientModuleLayer::Read(TInStream& is)
{
  uint16_t visible = kAllLayers;
  uint16_t active = kAllLayers;
  uint16_t protectedMask = 0;
  if (FindSectionTag(is, kLayersSection)) {
    int32_t version = 0;
    int32_t count = 0;
    is >> version >> visible >> active;
    if (version >= 1)
      is >> protectedMask;
    is >> count;
    is.ignore(INT64_MAX, '\n');
    // Every name line of the count is consumed, so a longer list or a longer
    // name never spills into what follows; only eight names are kept.
    std::string line;
    for (int32_t i = 0; i < count && is.good(); ++i) {
      if (!is.getline(line))
        break;
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      // Names from older files are Windows-1252 text.
      if (i < kLayerCount)
        SetName(i, ToUtf8(line).c_str());
    }
    if (version < 2 && active == kOldAllActive)
      active = kDefaultActive;
  }
  SetVisible(visible);
  if (Page())
    Page()->SetDrawingLayers(visible);
  SetActive(active);
  SetProtected(protectedMask);
}
