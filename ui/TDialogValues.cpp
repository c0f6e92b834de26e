#include "TDialogValues.h"

#include "Messages.h"
#include "StringTable.h"
#include "TEdl.h"
#include "TStatic.h"
#include "ValueFormat.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int32_t kFirstField = 100;
constexpr int32_t kFieldWidth = 15;

} // namespace

TDialogValues::TDialogValues(TVue* parentView, const std::string& title,
                             const std::vector<TUserInput::ValueField>& fields)
    : TDialog(parentView, title)
{
  auto* grid = new QGridLayout;
  for (size_t i = 0; i < fields.size(); ++i) {
    const TUserInput::ValueField& field = fields[i];
    const int32_t id = kFirstField + static_cast<int32_t>(i);
    auto* edit = new TEdl(this, id, field.label, kTypeDouble, field.numberFormat, field.decimals, kFieldWidth,
                          kFieldWidth);
    edit->SetValue(&field.value);
    grid->addWidget(edit->GetLabel()->Widget(), static_cast<int>(i), 0);
    grid->addWidget(edit->Widget(), static_cast<int>(i), 1);
  }
  Body()->addLayout(grid);
  AddOkCancel(LoadStr(IDS_BUTTON_OK), LoadStr(IDS_BUTTON_CANCEL));
}

bool TDialogValues::Run(std::vector<TUserInput::ValueField>& fields)
{
  if (RunModal() != IDOK_)
    return false;
  for (size_t i = 0; i < fields.size(); ++i) {
    const auto* edit = ControlAs<TEdl>(kFirstField + static_cast<int32_t>(i));
    double value = 0;
    if (edit && edit->GetValue(&value) != 0 && std::isfinite(value))
      fields[i].value = value;
    else
      fields[i].value = 0;
  }
  return true;
}
