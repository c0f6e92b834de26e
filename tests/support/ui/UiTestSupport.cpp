#include "UiTestSupport.h"

#include <algorithm>

std::vector<QLineEdit*> LineEdits(QWidget* root)
{
  std::vector<QLineEdit*> edits;
  for (QLineEdit* edit : root->findChildren<QLineEdit*>()) {
    if (edit->isVisibleTo(root))
      edits.push_back(edit);
  }
  std::sort(edits.begin(), edits.end(), [root](QLineEdit* a, QLineEdit* b) {
    const QPoint pa = a->mapTo(root, QPoint(0, 0));
    const QPoint pb = b->mapTo(root, QPoint(0, 0));
    return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
  });
  return edits;
}

ModalScript::Step AnswerBox(SeenBox& seen, const QString& button)
{
  return [&seen, button](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr) << "expected a message box, got " << modal->windowTitle().toStdString();
    seen.title = box->windowTitle().toStdString();
    seen.text = box->text().toStdString();
    seen.icon = box->icon();
    QAbstractButton* answer = ButtonWithText(box, button);
    ASSERT_NE(answer, nullptr);
    Later([answer] { answer->click(); });
  };
}
