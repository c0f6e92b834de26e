#pragma once

#include "TControl.h"

#include <string>

class QGridLayout;

// A frame around a group of controls, with a title (or an invisible
// container when not framed). It never takes the focus. Descriptions place
// the controls of the group into its grid.
class TGroupBox : public TControl
{
public:
  TGroupBox(TDialog* dialog, int32_t id, const std::string& title, bool framed = true);

  bool IsA(int32_t id) const override;
  QGridLayout* Grid() const { return m_grid; }

private:
  QGridLayout* m_grid; // owned by the widget
};
