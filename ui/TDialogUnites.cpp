#include "TDialogUnites.h"

#include "MessageBox.h"
#include "Messages.h"
#include "PageSettingsCommands.h"
#include "StringTable.h"
#include "TEdl.h"
#include "TPage.h"
#include "TRadio.h"
#include "TStatic.h"
#include "ValueFormat.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kMaxDecimals = 6;
constexpr uint16_t kFormats[] = {TPage::kFormatDecimal, TPage::kFormatInches, TPage::kFormatFeetInches};

} // namespace

std::string ScaleText(double scale)
{
  std::string text = FormatValue(&scale, kTypeDouble, TPage::kFormatDecimal, MakePrecision(kMaxDecimals));
  const size_t separator = text.find_first_of(".,");
  if (separator == std::string::npos)
    return text;
  while (text.size() > separator + 1 && text.back() == '0')
    text.pop_back();
  if (text.size() == separator + 1)
    text.pop_back();
  return text;
}

TDialogUnites::TDialogUnites(TVue* parentView, const TUserInput::UnitsSettings& settings)
    : TDialog("KARWI_DIALOGUNITES", parentView), m_settings(settings)
{
  auto* paper = ControlAs<TRadio>(kPaperGroup);
  auto* format = ControlAs<TRadio>(kFormatGroup);
  auto* scale = ControlAs<TEdl>(kScaleField);
  auto* decimals = ControlAs<TEdl>(kDecimalsField);
  if (!paper || !format || !scale || !decimals)
    return;
  paper->SetSelected(settings.unitIndex >= 0 && settings.unitIndex < kUnitChoices ? settings.unitIndex : 2);
  const auto* known = std::find(std::begin(kFormats), std::end(kFormats), settings.numberFormat);
  format->SetSelected(known != std::end(kFormats) ? static_cast<int32_t>(known - std::begin(kFormats)) : 0);
  scale->SetText(ScaleText(settings.factor));
  decimals->SetText(std::to_string(std::clamp(settings.decimals, 0, kMaxDecimals)));
  ShowSizeLine();
}

int32_t TDialogUnites::UnitIndex() const
{
  const auto* paper = ControlAs<TRadio>(kPaperGroup);
  const int32_t index = paper ? paper->GetSelected() : -1;
  return index >= 0 ? index : 2;
}

uint16_t TDialogUnites::NumberFormat() const
{
  const auto* format = ControlAs<TRadio>(kFormatGroup);
  const int32_t index = format ? format->GetSelected() : 0;
  return index >= 1 && index <= 2 ? kFormats[index] : kFormats[0];
}

double TDialogUnites::Scale() const
{
  const auto* field = ControlAs<TEdl>(kScaleField);
  float scale = 1.0f;
  if (!field || !field->HoldsNumber() || field->GetValue(&scale) == 0 || !std::isfinite(scale))
    return 1.0;
  return scale;
}

int32_t TDialogUnites::Decimals() const
{
  const auto* field = ControlAs<TEdl>(kDecimalsField);
  int32_t decimals = 0;
  if (field)
    field->GetValue(&decimals);
  return std::clamp(decimals, 0, kMaxDecimals);
}

void TDialogUnites::Propose()
{
  float factor = 1.0f;
  int32_t decimals = 0;
  ProposeUnits(UnitIndex(), NumberFormat(), factor, decimals);
  if (auto* scale = ControlAs<TEdl>(kScaleField))
    scale->SetText(ScaleText(factor));
  if (auto* field = ControlAs<TEdl>(kDecimalsField))
    field->SetText(std::to_string(decimals));
  ShowSizeLine();
}

void TDialogUnites::ShowSizeLine()
{
  if (auto* line = ControlAs<TStatic>(kSizeLine))
    line->SetText(PaperSizeLine(m_settings, UnitIndex(), Scale(), Decimals(), NumberFormat()));
}

bool TDialogUnites::Command(uint16_t command, uint16_t code)
{
  switch (command) {
  case kPaperGroup:
  case kFormatGroup:
    Propose();
    return false;
  case kScaleField:
  case kDecimalsField:
    ShowSizeLine();
    return false;
  default:
    return TDialog::Command(command, code);
  }
}

bool TDialogUnites::Validate()
{
  if (Scale() > 0)
    return true;
  MessageBox(Widget(), LoadStr(IDS_ERROR_TITLE), LoadStr(IDS_UNITS_BAD_SCALE), MB_OK_ | MB_ICONEXCLAMATION_);
  FocusControl(kScaleField);
  return false;
}

bool TDialogUnites::Run(TUserInput::UnitsSettings& settings)
{
  if (RunModal() != IDOK_)
    return false;
  settings.unitIndex = UnitIndex();
  settings.factor = static_cast<float>(Scale());
  settings.decimals = Decimals();
  settings.numberFormat = NumberFormat();
  return true;
}
