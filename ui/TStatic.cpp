#include "TStatic.h"

#include "ClassTable.h"

#include <QLabel>

TStatic::TStatic(TDialog* dialog, int32_t id, const std::string& text, bool alignRight) : TControl(dialog, id)
{
  classId = kTStatic;
  viewFlags = kNoFocus;
  auto* label = new QLabel(QString::fromStdString(text), DialogWindow());
  label->setTextFormat(Qt::PlainText);
  label->setAlignment((alignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  SetWidget(label);
}

bool TStatic::IsA(int32_t id) const
{
  return id == kTStatic || TControl::IsA(id);
}

void TStatic::SetText(const std::string& text)
{
  if (auto* label = static_cast<QLabel*>(Widget()))
    label->setText(QString::fromStdString(text));
}

std::string TStatic::GetText() const
{
  const auto* label = static_cast<const QLabel*>(Widget());
  return label ? label->text().toStdString() : std::string();
}
