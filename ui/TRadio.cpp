#include "TRadio.h"

#include "ClassTable.h"

#include <QAbstractButton>

TRadio::TRadio(TDialog* dialog, int32_t id, const std::string& title,
               const std::vector<std::string>& captions, int32_t firstItemId, int32_t columns)
    : TRadioBase(dialog, id, title, captions, firstItemId, columns, true)
{
  classId = kTRadio;
}

bool TRadio::IsA(int32_t id) const
{
  return id == kTRadio || TRadioBase::IsA(id);
}

QWidget* TRadio::FocusStop(int32_t index) const
{
  if (index != 0)
    return nullptr;
  const int32_t selected = GetSelected();
  if (selected >= 0)
    return Button(selected);
  for (int32_t i = 0; i < ItemCount(); ++i) {
    if (Button(i)->isEnabled())
      return Button(i);
  }
  return Widget();
}

int32_t TRadio::GetSelected() const
{
  for (int32_t i = 0; i < ItemCount(); ++i) {
    if (IsChecked(i))
      return i;
  }
  return -1;
}

void TRadio::SetSelected(int32_t index)
{
  for (int32_t i = 0; i < ItemCount(); ++i) {
    // Auto-exclusive buttons refuse to be unchecked one by one.
    Button(i)->setAutoExclusive(false);
    SetChecked(i, i == index);
    Button(i)->setAutoExclusive(true);
  }
}
