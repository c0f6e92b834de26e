#include "TRadioBase.h"

#include "DarkPalette.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QRadioButton>

#include <algorithm>

namespace {

// A dark desktop theme has the style draw the well of a radio button or a
// check box in nearly the window's own colour, and its mark in grey: the
// buttons all but vanish. A lighter well and a white mark keep them
// legible; a light desktop is left as its style draws it.
void LegibleOnDark(QAbstractButton& button)
{
  QPalette palette = button.palette();
  if (!IsDarkPalette(palette))
    return;
  palette.setColor(QPalette::Base, palette.color(QPalette::Window).lighter(220));
  palette.setColor(QPalette::Text, Qt::white);
  button.setPalette(palette);
}

} // namespace

TRadioBase::TRadioBase(TDialog* dialog, int32_t id, const std::string& title,
                       const std::vector<std::string>& captions, int32_t firstItemId, int32_t columns,
                       bool exclusive)
    : TGroupBox(dialog, id, title, !title.empty()), m_firstItemId(firstItemId)
{
  viewFlags = kFocusable;
  columns = std::max(columns, 1);
  for (size_t i = 0; i < captions.size(); ++i) {
    const QString caption = QString::fromStdString(captions[i]);
    QAbstractButton* button = exclusive ? static_cast<QAbstractButton*>(new QRadioButton(caption, Widget()))
                                        : static_cast<QAbstractButton*>(new QCheckBox(caption, Widget()));
    LegibleOnDark(*button);
    const int index = static_cast<int>(i);
    Grid()->addWidget(button, index / columns, index % columns);
    QObject::connect(button, &QAbstractButton::clicked, [this] { NotifyDialog(kClicked); });
    m_buttons.push_back(button);
  }
}

int32_t TRadioBase::IndexOfItem(int32_t itemId) const
{
  const int32_t index = itemId - m_firstItemId;
  return index >= 0 && index < ItemCount() ? index : -1;
}

QAbstractButton* TRadioBase::Button(int32_t index) const
{
  return index >= 0 && index < ItemCount() ? m_buttons[static_cast<size_t>(index)] : nullptr;
}

bool TRadioBase::IsChecked(int32_t index) const
{
  const QAbstractButton* button = Button(index);
  return button && button->isChecked();
}

void TRadioBase::SetChecked(int32_t index, bool checked)
{
  if (QAbstractButton* button = Button(index))
    button->setChecked(checked);
}
