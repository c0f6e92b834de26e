#include "TControl.h"

#include "ClassTable.h"
#include "Messages.h"
#include "TDialog.h"
#include "ViewRegistry.h"

TControl::TControl(TDialog* dialog, int32_t id) : m_dialog(dialog), m_id(id)
{
  classId = kTControl;
  viewFlags = kFocusable;
  SetParent(dialog);
  if (dialog)
    dialog->AddObject(this, false);
}

TControl::~TControl()
{
  UnbindView(this);
  delete m_widget.data();
}

bool TControl::IsA(int32_t id) const
{
  return id == kTControl || TVue::IsA(id);
}

bool TControl::CanTakeFocus() const
{
  return (viewFlags & kFocusable) && !(viewFlags & kNoFocus) && m_widget && m_widget->isEnabled();
}

QWidget* TControl::FocusStop(int32_t index) const
{
  return index == 0 ? m_widget.data() : nullptr;
}

void TControl::Enable(bool enable)
{
  if (m_widget)
    m_widget->setEnabled(enable);
}

bool TControl::IsEnabled() const
{
  return m_widget && m_widget->isEnabled();
}

void TControl::SetFocus(int32_t stop)
{
  if (QWidget* widget = FocusStop(stop))
    widget->setFocus(Qt::OtherFocusReason);
}

void TControl::SetWidget(QWidget* widget)
{
  m_widget = widget;
  BindViewWidget(this, widget);
}

QWidget* TControl::DialogWindow() const
{
  return m_dialog ? m_dialog->Widget() : nullptr;
}

void TControl::NotifyDialog(uint16_t code)
{
  if (m_dialog)
    m_dialog->WndProc(WM_COMMAND_,
                      (static_cast<uint32_t>(m_id) & 0xFFFF) | (static_cast<uint32_t>(code) << 16),
                      reinterpret_cast<uintptr_t>(this));
}
