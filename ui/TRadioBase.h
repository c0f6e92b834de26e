#pragma once

#include "TGroupBox.h"

#include <string>
#include <vector>

class QAbstractButton;

// A group of choice boxes inside a group box (framed when it has a title):
// box i has the item id firstItemId + i and stands in row i / columns,
// column i % columns of the group's grid. A click on any box tells the
// dialogue under the group's id.
class TRadioBase : public TGroupBox
{
public:
  int32_t ItemCount() const { return static_cast<int32_t>(m_buttons.size()); }
  int32_t ItemId(int32_t index) const { return m_firstItemId + index; }
  // -1 when no box has that item id.
  int32_t IndexOfItem(int32_t itemId) const;
  // Null for an index out of range.
  QAbstractButton* Button(int32_t index) const;
  bool IsChecked(int32_t index) const;
  void SetChecked(int32_t index, bool checked);

protected:
  TRadioBase(TDialog* dialog, int32_t id, const std::string& title, const std::vector<std::string>& captions,
             int32_t firstItemId, int32_t columns, bool exclusive);

private:
  std::vector<QAbstractButton*> m_buttons; // owned by the widget
  int32_t m_firstItemId;
};
