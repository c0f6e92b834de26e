#pragma once

#include "TDialog.h"
#include "TUserInput.h"

#include <vector>

class QGridLayout;

// The integer prompt built in code and centred on the screen: one numeric
// field six characters wide per value, edited as a signed 16-bit integer,
// under its label ("Zoom:(in %) (10...1000)"), with "Ok" and "Cancel".
// It checks no range: AskInteger and AskTwoIntegers do, and show it again
// with the typed values when they do not fit.
class TDialogIntegers : public TDialog
{
public:
  TDialogIntegers(TVue* parent, const std::string& title,
                  const std::vector<TUserInput::IntegerField>& fields);
  // The page size prompt: the two fields (width, height) under a list of
  // paper presets that fills them in, each with its size in the user's
  // unit beside it.
  TDialogIntegers(TVue* parent, const std::string& title, const std::vector<TUserInput::IntegerField>& fields,
                  const TUserInput::PaperSizeHelp& help);

  // Runs the dialogue; true on OK with the typed values.
  bool Run(std::vector<TUserInput::IntegerField>& fields);

private:
  void AddPaperHelp(const TUserInput::PaperSizeHelp& help);
  int32_t FieldValue(size_t index) const;

  QGridLayout* m_grid = nullptr;
};
