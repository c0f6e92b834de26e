#include "TBouton.h"

#include "ClassTable.h"

#include <QPushButton>

TBouton::TBouton(TDialog* dialog, int32_t id, const std::string& text, bool isDefault) : TControl(dialog, id)
{
  classId = kTBouton;
  auto* button = new QPushButton(QString::fromStdString(text), DialogWindow());
  button->setDefault(isDefault);
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, [this] { NotifyDialog(kClicked); });
  SetWidget(button);
}

bool TBouton::IsA(int32_t id) const
{
  return id == kTBouton || TControl::IsA(id);
}

bool TBouton::IsDefault() const
{
  const auto* button = static_cast<const QPushButton*>(Widget());
  return button && button->isDefault();
}

void TBouton::SetText(const std::string& text)
{
  if (auto* button = static_cast<QPushButton*>(Widget()))
    button->setText(QString::fromStdString(text));
}
