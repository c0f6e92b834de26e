#include "TDialogOption.h"

#include "Messages.h"
#include "StringTable.h"
#include "TRadio.h"

#include <QVBoxLayout>

TDialogOption::TDialogOption(TVue* parentView, const std::string& title, const std::string& groupLabel,
                             const std::vector<std::string>& options, int32_t index)
    : TDialog(parentView, title)
{
  auto* group = new TRadio(this, kGroup, groupLabel, options, kGroup + 1);
  group->SetSelected(index);
  Body()->addWidget(group->Widget());
  AddOkCancel(LoadStr(IDS_BUTTON_OK), LoadStr(IDS_BUTTON_CANCEL));
}

bool TDialogOption::Run(int32_t& index)
{
  if (RunModal() != IDOK_)
    return false;
  const auto* group = ControlAs<TRadio>(kGroup);
  const int32_t chosen = group ? group->GetSelected() : -1;
  if (chosen < 0)
    return false;
  index = chosen;
  return true;
}
