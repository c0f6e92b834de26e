#include "TUserInput.h"

#include "Messages.h"
#include "StringTable.h"

namespace {

struct Bounded
{
  int32_t* value;
  int32_t min;
  int32_t max;
};

// The loop of every integer prompt: fields carry the labels and values;
// prompt shows them once. Asks again, after saying so, until every answer
// lies in its range. 0 when cancelled, 1 when a value changed, 2 when all
// were confirmed unchanged.
int32_t AskInRanges(TUserInput& input, std::vector<TUserInput::IntegerField>& fields,
                    const std::vector<Bounded>& bounds, const std::function<bool()>& prompt)
{
  for (;;) {
    if (!prompt() || fields.size() != bounds.size())
      return 0;
    bool inRange = true;
    for (size_t i = 0; i < bounds.size(); ++i)
      inRange = inRange && fields[i].value >= bounds[i].min && fields[i].value <= bounds[i].max;
    if (inRange) {
      bool changed = false;
      for (size_t i = 0; i < bounds.size(); ++i) {
        changed = changed || fields[i].value != *bounds[i].value;
        *bounds[i].value = fields[i].value;
      }
      return changed ? 1 : 2;
    }
    // The prompt comes back with the wrong answers in it, to be corrected.
    input.MessageBox(LoadStr(IDS_INAPPROPRIATE_VALUE), LoadStr(IDS_ERROR_TITLE), MB_OK_);
  }
}

TUserInput::IntegerField RangeField(const std::string& text, int32_t min, int32_t max, int32_t value)
{
  return {FormatStr(IDS_INTEGER_RANGE, text.c_str(), min, max), value};
}

} // namespace

int32_t AskInteger(TUserInput& input, int32_t& value, int32_t min, int32_t max, const std::string& title,
                   const std::string& text)
{
  std::vector<TUserInput::IntegerField> fields{RangeField(text, min, max, value)};
  return AskInRanges(input, fields, {{&value, min, max}},
                     [&] { return input.PromptIntegers(title, fields); });
}

int32_t AskTwoIntegers(TUserInput& input, int32_t& value1, int32_t min1, int32_t max1, int32_t& value2,
                       int32_t min2, int32_t max2, const std::string& title, const std::string& text1,
                       const std::string& text2)
{
  std::vector<TUserInput::IntegerField> fields{RangeField(text1, min1, max1, value1),
                                               RangeField(text2, min2, max2, value2)};
  return AskInRanges(input, fields, {{&value1, min1, max1}, {&value2, min2, max2}},
                     [&] { return input.PromptIntegers(title, fields); });
}

int32_t AskPaperSize(TUserInput& input, int32_t& width, int32_t& height, int32_t min, int32_t max,
                     const std::string& title, const std::string& widthText, const std::string& heightText,
                     const TUserInput::PaperSizeHelp& help)
{
  std::vector<TUserInput::IntegerField> fields{RangeField(widthText, min, max, width),
                                               RangeField(heightText, min, max, height)};
  return AskInRanges(input, fields, {{&width, min, max}, {&height, min, max}},
                     [&] { return input.PromptPaperSize(title, fields, help); });
}

bool TUserInput::PromptPaperSize(const std::string& title, std::vector<IntegerField>& fields,
                                 const PaperSizeHelp&)
{
  return PromptIntegers(title, fields);
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

void TUserInput::ShowWork(const std::string&, bool) {}

void TUserInput::ShowPictureViewer(TData&) {}

bool TUserInput::IsOnRemovableMedia(const std::string&)
{
  return false;
}

bool TUserInput::WorkCancelled()
{
  return false;
}
