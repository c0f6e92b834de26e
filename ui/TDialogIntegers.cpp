#include "TDialogIntegers.h"

#include "Messages.h"
#include "StringTable.h"
#include "TEdl.h"
#include "TStatic.h"
#include "ValueFormat.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace {

constexpr int32_t kFirstField = 100;
constexpr int32_t kFieldWidth = 6;

} // namespace

TDialogIntegers::TDialogIntegers(TVue* parentView, const std::string& title,
                                 const std::vector<TUserInput::IntegerField>& fields)
    : TDialog(parentView, title)
{
  SetCentredOnScreen(true);
  auto* grid = new QGridLayout;
  for (size_t i = 0; i < fields.size(); ++i) {
    const int32_t id = kFirstField + static_cast<int32_t>(i);
    auto* edit = new TEdl(this, id, fields[i].label, kTypeInt16, 6, 0, kFieldWidth, kFieldWidth);
    edit->SetText(std::to_string(fields[i].value));
    edit->Widget()->setMaximumWidth(edit->Widget()->minimumWidth());
    grid->addWidget(edit->GetLabel()->Widget(), static_cast<int>(i), 0);
    grid->addWidget(edit->Widget(), static_cast<int>(i), 1);
  }
  Body()->addLayout(grid);
  AddOkCancel(LoadStr(IDS_BUTTON_PROMPT_OK), LoadStr(IDS_BUTTON_CANCEL));
}

bool TDialogIntegers::Run(std::vector<TUserInput::IntegerField>& fields)
{
  if (RunModal() != IDOK_)
    return false;
  for (size_t i = 0; i < fields.size(); ++i) {
    int16_t value = 0;
    if (const auto* edit = ControlAs<TEdl>(kFirstField + static_cast<int32_t>(i)))
      edit->GetValue(&value);
    fields[i].value = value;
  }
  return true;
}
