#pragma once

#include <QDialog>
#include <QPointer>

// The box shown while a document prints: a line saying so and a Cancel
// button (Escape does the same). While it shows, the window it belongs to
// takes no input, so only the box answers.
class TYieldBox : public QDialog
{
public:
  static constexpr int kRunning = 0;
  static constexpr int kCancelPressed = 2;

  TYieldBox(QWidget* owner, const QString& title);

  void Show();
  // Lets pending events through; the result: kRunning, or kCancelPressed.
  int Yield();
  // Gives the owner its input back and hides; false when it was not shown.
  bool Close();

protected:
  void reject() override;

private:
  QPointer<QWidget> m_disabled;
  bool m_shown = false;
  int m_result = kRunning;
};
