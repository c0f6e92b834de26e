#pragma once

#include "TControl.h"

#include <string>

// A list box of texts with one selected entry. Selecting an entry tells the
// dialogue (kClicked); a double click presses OK.
class TListe : public TControl
{
public:
  TListe(TDialog* dialog, int32_t id);

  bool IsA(int32_t id) const override;
  void Add(const std::string& text);
  void Clear();
  int32_t Count() const;
  // -1 when nothing is selected; a selection out of range selects nothing.
  int32_t GetSelection() const;
  void SetSelection(int32_t index);
  // Empty for an index out of range.
  std::string GetItemText(int32_t index) const;
};
