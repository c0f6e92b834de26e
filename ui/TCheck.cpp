#include "TCheck.h"

#include "ClassTable.h"

#include <QAbstractButton>

TCheck::TCheck(TDialog* dialog, int32_t id, const std::string& title,
               const std::vector<std::string>& captions, int32_t firstItemId, int32_t columns)
    : TRadioBase(dialog, id, title, captions, firstItemId, columns, false)
{
  classId = kTCheck;
}

bool TCheck::IsA(int32_t id) const
{
  return id == kTCheck || TRadioBase::IsA(id);
}

QWidget* TCheck::FocusStop(int32_t index) const
{
  return Button(index);
}

uint32_t TCheck::GetMask() const
{
  uint32_t mask = 0;
  for (int32_t i = 0; i < ItemCount() && i < 32; ++i) {
    if (IsChecked(i))
      mask |= 1u << i;
  }
  return mask;
}

void TCheck::SetMask(uint32_t mask)
{
  for (int32_t i = 0; i < ItemCount() && i < 32; ++i)
    SetChecked(i, (mask >> i) & 1u);
}
