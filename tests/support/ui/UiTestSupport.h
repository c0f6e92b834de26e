#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>

// Drives modal windows (dialogues and message boxes) while the code under
// test waits in their loops: each step runs once a modal window shows that
// the previous step did not act on (or that came back after another one),
// and gets that window. A step that would open a modal window itself must
// do so through Later, or the script could not see the new window. After
// timeoutMs without progress every modal window is closed and the script
// reports it.
class ModalScript
{
public:
  using Step = std::function<void(QWidget* modal)>;

  explicit ModalScript(int timeoutMs = 5000) : m_timeoutMs(timeoutMs)
  {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
    m_timer.start(5);
    m_idle.start();
  }
  ModalScript& Then(Step step)
  {
    m_steps.push_back(std::move(step));
    return *this;
  }
  // Every step ran and nothing timed out.
  bool Done() const { return m_steps.empty() && !m_timedOut; }

private:
  void Tick()
  {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != m_actedOn.data())
      m_sawChange = true;
    if (m_idle.elapsed() > m_timeoutMs) {
      m_timedOut = true;
      m_steps.clear();
      if (modal)
        modal->close();
      return;
    }
    if (m_steps.empty() || !modal || !modal->isVisible() || (modal == m_actedOn.data() && !m_sawChange))
      return;
    // A message box the last step answered is closed before its own loop
    // has returned, and the code that asked goes on (sets a focus, checks
    // again) only after that; the box is gone once it has. Acting on the
    // window below before then would see it as it was before the answer.
    if (auto* box = qobject_cast<QMessageBox*>(m_actedOn.data()); box && box != modal && !box->isVisible())
      return;
    m_actedOn = modal;
    m_sawChange = false;
    m_idle.restart();
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    step(modal);
  }

  QTimer m_timer;
  QElapsedTimer m_idle;
  int m_timeoutMs;
  std::deque<Step> m_steps;
  QPointer<QWidget> m_actedOn;
  bool m_sawChange = true;
  bool m_timedOut = false;
};

// Runs action from the event loop, after the current step has returned.
inline void Later(std::function<void()> action)
{
  QTimer::singleShot(0, qApp, std::move(action));
}

// The first child of root of type T for which match holds.
template <class T> T* FindChild(QWidget* root, const std::function<bool(T*)>& match = nullptr)
{
  for (T* child : root->findChildren<T*>()) {
    if (!match || match(child))
      return child;
  }
  return nullptr;
}

// A button the user can see with that text.
inline QAbstractButton* ButtonWithText(QWidget* root, const QString& text)
{
  return FindChild<QAbstractButton>(
      root, [&text](QAbstractButton* b) { return b->text() == text && b->isVisible(); });
}

// The line edits of a dialogue in their order on screen (top to bottom,
// then left to right).
std::vector<QLineEdit*> LineEdits(QWidget* root);

// Replaces the text of an edit by typing, as a user would.
inline void TypeInto(QLineEdit* edit, const QString& text)
{
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

// A pointer movement without buttons, delivered to the widget directly.
inline void MoveMouse(QWidget* widget, QPoint at)
{
  QMouseEvent event(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

// What a message box showed, for checks after it is gone.
struct SeenBox
{
  std::string title;
  std::string text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};
// A step that records the message box it gets and presses its button with
// the given text.
ModalScript::Step AnswerBox(SeenBox& seen, const QString& button);
