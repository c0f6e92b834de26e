#include "MessageBox.h"

#include "Messages.h"
#include "StringTable.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace {

QMessageBox::Icon IconOf(uint32_t flags)
{
  switch (flags & 0xF0) {
  case MB_ICONSTOP_:
    return QMessageBox::Critical;
  case MB_ICONQUESTION_:
    return QMessageBox::Question;
  case MB_ICONEXCLAMATION_:
    return QMessageBox::Warning;
  case MB_ICONINFORMATION_:
    return QMessageBox::Information;
  default:
    return QMessageBox::NoIcon;
  }
}

struct Button
{
  int32_t answer;
  uint32_t text;
  QMessageBox::ButtonRole role;
};

std::vector<Button> ButtonsOf(uint32_t flags)
{
  const Button ok{IDOK_, IDS_BUTTON_OK, QMessageBox::AcceptRole};
  const Button cancel{IDCANCEL_, IDS_BUTTON_CANCEL, QMessageBox::RejectRole};
  const Button yes{IDYES_, IDS_BUTTON_YES, QMessageBox::YesRole};
  const Button no{IDNO_, IDS_BUTTON_NO, QMessageBox::NoRole};
  switch (flags & 0xF) {
  case MB_OKCANCEL_:
    return {ok, cancel};
  case MB_YESNOCANCEL_:
    return {yes, no, cancel};
  case MB_YESNO_:
    return {yes, no};
  default:
    return {ok};
  }
}

} // namespace

int32_t MessageBox(QWidget* owner, const std::string& caption, const std::string& text, uint32_t flags)
{
  QMessageBox box(owner ? owner : QApplication::activeWindow());
  box.setWindowTitle(QString::fromStdString(caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(QString::fromStdString(text));
  box.setIcon(IconOf(flags));
  const std::vector<Button> buttons = ButtonsOf(flags);
  std::vector<QPushButton*> made;
  for (const Button& button : buttons)
    made.push_back(box.addButton(LoadStr(button.text), button.role));
  const size_t defaultIndex = (flags & MB_DEFBUTTON2_) && made.size() > 1 ? 1 : 0;
  box.setDefaultButton(made[defaultIndex]);
  // The way out without a choice: Cancel, else the last button (No, or the
  // only OK).
  box.setEscapeButton(made.back());
  box.exec();
  for (size_t i = 0; i < made.size(); ++i) {
    if (box.clickedButton() == made[i])
      return buttons[i].answer;
  }
  return buttons.back().answer;
}
