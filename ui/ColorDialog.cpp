#include "ColorDialog.h"

#include "Colors.h"
#include "StringTable.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

bool ChooseColorDialog(QWidget* owner, uint32_t& colour, bool allowNone)
{
  QDialog dialog(owner ? owner : QApplication::activeWindow());
  dialog.setWindowTitle(LoadStr(IDS_COLOR_TITLE));
  auto* layout = new QVBoxLayout(&dialog);
  // The colour picker itself, embedded so the dialog can carry its own
  // buttons.
  auto* picker = new QColorDialog(&dialog);
  picker->setWindowFlags(Qt::Widget);
  picker->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
  picker->setCurrentColor(colour == kNoColor ? QColor(Qt::white) : ToQColor(colour));
  layout->addWidget(picker);

  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(LoadStr(IDS_BUTTON_OK), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(LoadStr(IDS_BUTTON_CANCEL), QDialogButtonBox::RejectRole);
  bool none = false;
  if (allowNone) {
    QPushButton* noneButton = buttons->addButton(LoadStr(IDS_COLOR_NONE), QDialogButtonBox::ResetRole);
    QObject::connect(noneButton, &QPushButton::clicked, &dialog, [&dialog, &none] {
      none = true;
      dialog.accept();
    });
  }
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);

  if (dialog.exec() != QDialog::Accepted)
    return false;
  colour = none ? kNoColor : FromQColor(picker->currentColor());
  return true;
}
