#include "TDialogChoosePen.h"

#include "MessageBox.h"
#include "Messages.h"
#include "StringTable.h"
#include "TEdl.h"
#include "TPen.h"
#include "TRadio.h"

#include <cmath>

namespace {

constexpr int32_t kSolidButton = 0;

// The button of a pen style: the solid kinds (solid, null, inside frame)
// share the first one.
int32_t ButtonOf(uint32_t style)
{
  return style >= TPen::kDash && style <= TPen::kDashDotDot ? static_cast<int32_t>(style) : kSolidButton;
}

} // namespace

TDialogChoosePen::TDialogChoosePen(TVue* parentView, TPen& edited, TClient* view)
    : TDialog("KARWI_ChoosePen", parentView), m_pen(edited), m_client(view)
{
  m_style = ControlAs<TRadio>(kStyleGroup);
  m_width = ControlAs<TEdl>(kWidthField);
}

int32_t TDialogChoosePen::ChoosePen()
{
  if (!m_style || !m_width)
    return 0;
  Fill();
  if (RunModal() != IDOK_)
    return 0;
  const bool solid = SolidChosen();
  int32_t width = 0;
  if (solid)
    ReadWidth(width);
  m_pen.SetStyle(solid ? uint32_t{TPen::kInsideFrame} : static_cast<uint32_t>(m_style->GetSelected()));
  m_pen.SetWidth(width);
  return 1;
}

void TDialogChoosePen::Fill()
{
  m_style->SetSelected(ButtonOf(m_pen.GetStyle()));
  const TPage* shownPage = m_client ? m_client->GetPage() : nullptr;
  m_width->SetFormat(shownPage ? shownPage->GetNumberFormat() : uint16_t{TPage::kFormatDecimal},
                     shownPage ? shownPage->GetDecimals() : 0);
  const double shown = m_client ? m_client->ToUser(m_pen.GetWidth()) : m_pen.GetWidth();
  m_width->SetValue(&shown);
  EnableWidth();
}

bool TDialogChoosePen::SolidChosen() const
{
  return m_style->GetSelected() == kSolidButton;
}

void TDialogChoosePen::EnableWidth()
{
  m_width->Enable(SolidChosen());
}

bool TDialogChoosePen::ReadWidth(int32_t& width) const
{
  double typed = 0;
  if (m_width->GetValue(&typed) == 0 || !std::isfinite(typed))
    return false;
  if (m_client) {
    width = m_client->FromUser(typed);
    return true;
  }
  // Without a page the width is in logical units, cut to a whole unit.
  if (!(typed > -2147483648.0 && typed < 2147483648.0))
    return false;
  width = static_cast<int32_t>(typed);
  return true;
}

bool TDialogChoosePen::Command(uint16_t command, uint16_t code)
{
  if (command == kStyleGroup) {
    EnableWidth();
    return false;
  }
  return TDialog::Command(command, code);
}

bool TDialogChoosePen::Validate()
{
  // The width only matters for the solid line; the others are stored thin
  // whatever the (disabled) field holds.
  if (!SolidChosen())
    return true;
  int32_t width = 0;
  if (ReadWidth(width) && width >= 0 && width <= kMaxWidth)
    return true;
  MessageBox(Widget(), LoadStr(IDS_ERROR_TITLE), LoadStr(IDS_PEN_TOO_WIDE), MB_OK_ | MB_ICONEXCLAMATION_);
  FocusControl(kWidthField);
  return false;
}

int32_t ChoosePen(TPen& pen, TClient* client, TVue* parent)
{
  TDialogChoosePen dialog(parent ? parent : client, pen, client);
  return dialog.ChoosePen();
}
