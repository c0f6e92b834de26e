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
