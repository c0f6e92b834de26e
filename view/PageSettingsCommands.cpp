#include "PageSettingsCommands.h"

#include "Geometry.h"
#include "StringTable.h"
#include "TClient.h"
#include "TPage.h"
#include "TextEncoding.h"
#include "ValueFormat.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kUnitsPerInch[kUnitChoices] = {500, 200, 100, 508, 254, 127};
constexpr int32_t kDefaultUnitIndex = 2;
constexpr int32_t kMaxDecimals = 6;
// The paper's limits at 100 units per inch (0.1 to 30 inches); other
// units scale them, so a size allowed in one unit is allowed in all.
constexpr int32_t kMinPaper = 10;
constexpr int32_t kMaxPaper = 3000;
constexpr int32_t kLimitUnitsPerInch = 100;
// The size fields hold 16-bit integers.
constexpr int32_t kMaxField = 32767;

// The usual sheets, portrait, in millimetres or inches.
struct Sheet
{
  const char* name;
  double width;
  double height;
  bool inches;
};
constexpr Sheet kSheets[] = {
    {"A5", 148, 210, false},   {"A4", 210, 297, false},  {"A3", 297, 420, false},   {"A2", 420, 594, false},
    {"Letter", 8.5, 11, true}, {"Legal", 8.5, 14, true}, {"Tabloid", 11, 17, true},
};

// The sheets in page units, each portrait then landscape, that fit the
// limits.
std::vector<TUserInput::PaperPreset> PaperPresets(int32_t unitsPerInch, int32_t min, int32_t max)
{
  std::vector<TUserInput::PaperPreset> presets;
  for (const Sheet& sheet : kSheets) {
    const double perUnit = sheet.inches ? unitsPerInch : unitsPerInch / 25.4;
    const int32_t width = RoundHalfAway(sheet.width * perUnit);
    const int32_t height = RoundHalfAway(sheet.height * perUnit);
    if (std::min(width, height) < min || std::max(width, height) > max)
      continue;
    presets.push_back({sheet.name, width, height});
    presets.push_back({FormatStr(IDS_PAPER_LANDSCAPE, sheet.name), height, width});
  }
  return presets;
}
constexpr int32_t kMinZoom = 10;
// The longest number the size line shows.
constexpr size_t kSizeNumberLength = 63;

uint16_t KnownFormat(uint16_t format)
{
  return format == TPage::kFormatInches || format == TPage::kFormatFeetInches
             ? format
             : uint16_t{TPage::kFormatDecimal};
}

// value / scale + 0.5 cut to a whole step; 0 (refused by the view) when it
// does not fit a step at all.
int32_t StepOf(double value, double scale)
{
  const double step = value / scale + 0.5;
  if (!(step > -2147483648.0 && step < 2147483647.0))
    return 0;
  return static_cast<int32_t>(step);
}

} // namespace

int32_t UnitsPerInchAt(int32_t index)
{
  return index >= 0 && index < kUnitChoices ? kUnitsPerInch[index] : kUnitsPerInch[kDefaultUnitIndex];
}

int32_t UnitIndexOf(int32_t unitsPerInch)
{
  const auto* found = std::find(std::begin(kUnitsPerInch), std::end(kUnitsPerInch), unitsPerInch);
  return found != std::end(kUnitsPerInch) ? static_cast<int32_t>(found - std::begin(kUnitsPerInch))
                                          : kDefaultUnitIndex;
}

void ProposeUnits(int32_t unitIndex, uint16_t numberFormat, float& factor, int32_t& decimals)
{
  if (numberFormat == TPage::kFormatFeetInches) {
    factor = 1.0f;
    decimals = 1;
    return;
  }
  static constexpr float kFactors[kUnitChoices] = {0.002f, 0.005f, 0.01f, 0.05f, 0.1f, 0.2f};
  static constexpr int32_t kDecimals[kUnitChoices] = {3, 3, 2, 2, 1, 1};
  const int32_t index = unitIndex >= 0 && unitIndex < kUnitChoices ? unitIndex : kDefaultUnitIndex;
  factor = kFactors[index];
  decimals = kDecimals[index];
}

std::string PaperSizeLine(const TUserInput::UnitsSettings& current, int32_t unitIndex, double factor,
                          int32_t decimals, uint16_t numberFormat)
{
  const double from = current.unitsPerInch != 0 ? current.unitsPerInch : 100;
  const double scale = UnitsPerInchAt(unitIndex) * factor / from;
  const double width = current.paperWidth * scale;
  const double height = current.paperHeight * scale;
  const uint16_t precision = MakePrecision(std::clamp(decimals, 0, kMaxDecimals));
  const std::string w = CutText(FormatValue(&width, kTypeDouble, numberFormat, precision), kSizeNumberLength);
  const std::string h =
      CutText(FormatValue(&height, kTypeDouble, numberFormat, precision), kSizeNumberLength);
  return FormatStr(IDS_PAPER_SIZE_LINE, w.c_str(), h.c_str());
}

bool UnitsCommand(TClient& view)
{
  TPage* page = view.GetPage();
  TUserInput* input = view.GetInput();
  if (!page || !input)
    return false;
  TUserInput::UnitsSettings settings;
  settings.unitIndex = UnitIndexOf(page->GetUnitsPerInch());
  settings.factor = page->GetUnitFactor();
  settings.decimals = page->GetDecimals();
  settings.numberFormat = KnownFormat(page->GetNumberFormat());
  settings.paperWidth = page->GetPaperWidth();
  settings.paperHeight = page->GetPaperHeight();
  settings.unitsPerInch = page->GetUnitsPerInch();
  if (!input->EditUnits(settings))
    return false;

  const int32_t unitsPerInch = UnitsPerInchAt(settings.unitIndex);
  const int32_t old = page->GetUnitsPerInch();
  if (unitsPerInch != old && old > 0)
    page->SetPaperSize(MulDivRound(page->GetPaperWidth(), unitsPerInch, old),
                       MulDivRound(page->GetPaperHeight(), unitsPerInch, old));
  page->SetDecimals(std::clamp(settings.decimals, 0, kMaxDecimals));
  page->SetUnitsPerInch(unitsPerInch);
  page->SetNumberFormat(KnownFormat(settings.numberFormat));
  // A scale of 0 would show every length as 0 and make every typed length
  // unreachable, so only a positive one is taken.
  if (std::isfinite(settings.factor) && settings.factor > 0)
    page->SetUnitFactor(settings.factor);
  view.RecomputeView();
  view.InvalidateWindow();
  return true;
}

bool GridSnapCommand(TClient& view)
{
  TPage* page = view.GetPage();
  TUserInput* input = view.GetInput();
  if (!page || !input)
    return false;
  const double scale = page->GetUnitFactor() > 0 ? page->GetUnitFactor() : 1.0;
  int32_t gridX, gridY, snapX, snapY;
  view.GetGridStep(gridX, gridY);
  view.GetSnapStep(snapX, snapY);
  TUserInput::GridSnapSettings settings;
  settings.gridShown = view.IsGridShown();
  settings.snapOn = view.IsSnapOn();
  settings.gridX = gridX * scale;
  settings.gridY = gridY * scale;
  settings.snapX = snapX * scale;
  settings.snapY = snapY * scale;
  settings.decimals = page->GetDecimals();
  settings.numberFormat = KnownFormat(page->GetNumberFormat());
  if (!input->EditGridSnap(settings))
    return false;

  view.SetGridShown(settings.gridShown, false);
  view.SetSnapOn(settings.snapOn);
  view.SetGridStep(StepOf(settings.gridX, scale), StepOf(settings.gridY, scale), false);
  view.InvalidateWindow();
  view.SetSnapStep(StepOf(settings.snapX, scale), StepOf(settings.snapY, scale));
  return true;
}

bool PageSizeCommand(TClient& view)
{
  TPage* page = view.GetPage();
  TUserInput* input = view.GetInput();
  if (!page || !input)
    return false;
  int32_t width = page->GetPaperWidth();
  int32_t height = page->GetPaperHeight();
  const int32_t unitsPerInch = page->GetUnitsPerInch();
  const int32_t min = std::clamp(MulDivRound(kMinPaper, unitsPerInch, kLimitUnitsPerInch), 1, kMaxField);
  const int32_t max = std::clamp(MulDivRound(kMaxPaper, unitsPerInch, kLimitUnitsPerInch), min, kMaxField);
  TUserInput::PaperSizeHelp help;
  help.presets = PaperPresets(unitsPerInch, min, max);
  help.describe = [&view](int32_t length) { return view.FormatLength(length); };
  if (AskPaperSize(*input, width, height, min, max, LoadStr(IDS_PAGE_SIZE_TITLE), LoadStr(IDS_PAGE_WIDTH),
                   LoadStr(IDS_PAGE_HEIGHT), help) == 0)
    return false;
  page->SetPaperSize(width, height);
  page->SetSizeMode(0);
  view.SetModified(true);
  view.RecomputeView();
  view.InvalidateWindow();
  return true;
}

bool ZoomCommand(TClient& view)
{
  TUserInput* input = view.GetInput();
  if (!view.GetPage() || !input)
    return false;
  int32_t zoom = view.GetZoom();
  if (AskInteger(*input, zoom, kMinZoom, TClient::kMaxZoom, LoadStr(IDS_ZOOM_TITLE),
                 LoadStr(IDS_ZOOM_LABEL)) == 0)
    return false;
  view.SetZoom(zoom);
  return true;
}
