#include "TUserInput.h"

#include "Messages.h"
#include "StringTable.h"

int32_t AskInteger(TUserInput& input, int32_t& value, int32_t min, int32_t max, const std::string& title,
                   const std::string& text)
{
  std::vector<TUserInput::IntegerField> fields(1);
  fields[0] = {FormatStr(IDS_INTEGER_RANGE, text.c_str(), min, max), value};
  for (;;) {
    if (!input.PromptIntegers(title, fields) || fields.size() != 1)
      return 0;
    const int32_t answer = fields[0].value;
    if (answer >= min && answer <= max) {
      const bool changed = answer != value;
      value = answer;
      return changed ? 1 : 2;
    }
    // The prompt comes back with the wrong answer in it, to be corrected.
    input.MessageBox(LoadStr(IDS_INAPPROPRIATE_VALUE), LoadStr(IDS_ERROR_TITLE), MB_OK_);
  }
}

int32_t AskTwoIntegers(TUserInput& input, int32_t& value1, int32_t min1, int32_t max1, int32_t& value2,
                       int32_t min2, int32_t max2, const std::string& title, const std::string& text1,
                       const std::string& text2)
{
  std::vector<TUserInput::IntegerField> fields(2);
  fields[0] = {FormatStr(IDS_INTEGER_RANGE, text1.c_str(), min1, max1), value1};
  fields[1] = {FormatStr(IDS_INTEGER_RANGE, text2.c_str(), min2, max2), value2};
  for (;;) {
    if (!input.PromptIntegers(title, fields) || fields.size() != 2)
      return 0;
    const int32_t answer1 = fields[0].value;
    const int32_t answer2 = fields[1].value;
    if (answer1 >= min1 && answer1 <= max1 && answer2 >= min2 && answer2 <= max2) {
      const bool changed = answer1 != value1 || answer2 != value2;
      value1 = answer1;
      value2 = answer2;
      return changed ? 1 : 2;
    }
    input.MessageBox(LoadStr(IDS_INAPPROPRIATE_VALUE), LoadStr(IDS_ERROR_TITLE), MB_OK_);
  }
}

bool TUserInput::AskText(const std::string& title, const std::string&, std::string& text, int32_t limit)
{
  return EditText(title, text, limit, nullptr);
}

uint32_t CheckLayerSettings(uint16_t active, uint16_t visible, uint16_t protectedMask)
{
  // Each check asks whether every active layer lies in the offending set.
  auto allIn = [active](uint32_t set) { return (active & ~set & 0xFFFFu) == 0; };
  const uint32_t hidden = static_cast<uint16_t>(~visible);
  if (allIn(protectedMask & hidden))
    return IDS_LAYER_ACTIVE_PROTECTED_HIDDEN;
  if (allIn(protectedMask))
    return IDS_LAYER_ACTIVE_PROTECTED;
  if (allIn(hidden))
    return IDS_LAYER_ACTIVE_HIDDEN;
  return 0;
}

// ---- dialogs a front end does not give: cancelled ----

int32_t TUserInput::MessageBox(const std::string&, const std::string&, uint32_t)
{
  return IDCANCEL_;
}

bool TUserInput::AskValues(const std::string&, std::vector<ValueField>&)
{
  return false;
}

bool TUserInput::PromptIntegers(const std::string&, std::vector<IntegerField>&)
{
  return false;
}

bool TUserInput::EditText(const std::string&, std::string&, int32_t, const TFont*)
{
  return false;
}

bool TUserInput::ChooseOption(const std::string&, const std::string&, const std::vector<std::string>&,
                              int32_t&)
{
  return false;
}

bool TUserInput::ChooseColor(uint32_t&, bool)
{
  return false;
}

bool TUserInput::ChooseFont(TFont&)
{
  return false;
}

bool TUserInput::ChoosePen(TPen&, TClient*)
{
  return false;
}

bool TUserInput::EditLayers(LayerSettings&)
{
  return false;
}

bool TUserInput::EditObjectLayers(uint16_t&)
{
  return false;
}

bool TUserInput::EditUnits(UnitsSettings&)
{
  return false;
}

bool TUserInput::EditGridSnap(GridSnapSettings&)
{
  return false;
}

bool TUserInput::ChooseOpenFile(std::string&, const std::string&)
{
  return false;
}

bool TUserInput::ChooseSaveFile(std::string&, const std::string&, const std::string&)
{
  return false;
}

uint16_t TUserInput::PopupMenu(const std::string&, const std::vector<MenuItem>&)
{
  return 0;
}

QPagedPaintDevice* TUserInput::ChoosePrinter(int32_t, PrintSettings&)
{
  return nullptr;
}

void TUserInput::ShowPrintProgress(const std::string&, bool) {}

bool TUserInput::PrintCancelled()
{
  return false;
}

bool TUserInput::EndPrintJob(bool)
{
  return true;
}
