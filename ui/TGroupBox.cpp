#include "TGroupBox.h"

#include "ClassTable.h"

#include <QGridLayout>
#include <QGroupBox>

TGroupBox::TGroupBox(TDialog* dialog, int32_t id, const std::string& title, bool framed)
    : TControl(dialog, id)
{
  classId = kTGroupBox;
  viewFlags = kNoFocus;
  QWidget* frame =
      framed ? new QGroupBox(QString::fromStdString(title), DialogWindow()) : new QWidget(DialogWindow());
  m_grid = new QGridLayout(frame);
  if (!framed)
    m_grid->setContentsMargins(0, 0, 0, 0);
  SetWidget(frame);
}

bool TGroupBox::IsA(int32_t id) const
{
  return id == kTGroupBox || TControl::IsA(id);
}
