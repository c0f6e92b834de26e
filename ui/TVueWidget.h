#pragma once

#include <QEventLoop>
#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <deque>

class TVue;

// The widget of a view: it turns Qt's events into the messages the view's
// window procedure understands (mouse 512-517 with the client position and
// the MK_* bits, key 256 with a VK_* code followed by character 258, paint
// 15, size 5, close 16, destroy 2) and hands them to TVue::WndProc.
//
// While the view runs a modal procedure (between BeginModal and EndModal)
// mouse, key and posted messages are kept in a queue instead, and the
// procedure takes them one at a time through TQtUserInput::PumpMessage;
// outside a modal procedure they reach WndProc at once.
//
// The widget does not own its view. Whoever destroys the view first calls
// ForgetView (the ui views that own their widgets destroy the widget
// first); a widget without a view shows nothing and sends nothing.
class TVueWidget : public QWidget
{
public:
  // Someone waiting in a nested event loop for the next message.
  struct Waiter
  {
    QEventLoop loop;
    bool arrived = false;
  };

  explicit TVueWidget(TVue& view, QWidget* parent = nullptr, Qt::WindowFlags flags = {});
  ~TVueWidget() override;
  TVueWidget(const TVueWidget&) = delete;
  TVueWidget& operator=(const TVueWidget&) = delete;

  TVue* View() const { return m_view; }
  void ForgetView();

  // ---- modal procedures ----
  // Nested: the queue is used while at least one BeginModal is open. When
  // the last one ends, messages left in the queue go to WndProc later, from
  // the event loop (unless another modal procedure takes them first).
  void BeginModal();
  void EndModal();
  bool IsModal() const { return m_modalDepth > 0; }
  bool HasMessage() const { return !m_queue.empty(); }
  // Hands the oldest queued message to WndProc; false when none waits.
  bool DeliverMessage();
  // The waiter is told (and its loop quit) when a message is queued or the
  // widget goes away; null: nobody waits. Answers the previous waiter.
  Waiter* SetWaiter(Waiter* waiter);

  // A message delivered later through WndProc (queued like the others
  // while a modal procedure runs).
  void PostMessage(uint32_t message, uint32_t param1, uintptr_t param2);

  // ---- pointer and cursor ----
  // The pointer in client pixels: where the last mouse message handed to
  // the view put it, or the real pointer when it left the widget since.
  QPoint PointerPosition() const;
  // Places the pointer where the platform allows it and takes note of where
  // it really is afterwards.
  void PlacePointer(const QPoint& position);
  // Cursor ids of TUserInput: 0 is the widget's own cursor. Answers the
  // previous id.
  int32_t SetViewCursor(int32_t cursorId);
  void ShowPointer(bool show);

  // ---- window services a view asks for ----
  // The client area in pixels (without scroll bars).
  virtual QSize ClientSize() const { return size(); }
  // Repaints an area from the document (null: the whole window).
  virtual void InvalidateArea(const QRect* area);
  // The exclusive-or overlay, null when the widget has none.
  virtual QPaintDevice* OverlayDevice() { return nullptr; }
  virtual void OverlayChanged(const QRect& area) { update(area); }
  // The view's scroll position moved by (dx, dy) pixels, or only its range
  // changed (both 0).
  virtual void ScrollChanged(int dx, int dy);

protected:
  // The last modal procedure on the widget ended.
  virtual void ModalEnded() {}
  // The cursor shown for id 0.
  virtual QCursor OwnCursor() const;
  // Sends a message: queued while modal, otherwise straight to WndProc.
  void Dispatch(uint32_t message, uint32_t param1, uintptr_t param2);

  bool event(QEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  struct Queued
  {
    uint32_t message;
    uint32_t param1;
    uintptr_t param2;
  };

  void Deliver(const Queued& message);
  void MouseMessage(uint32_t message, const QMouseEvent* event);
  void ApplyCursor();

  TVue* m_view;
  int32_t m_modalDepth = 0;
  std::deque<Queued> m_queue;
  Waiter* m_waiter = nullptr;
  QPoint m_pointer;
  bool m_pointerKnown = false;
  int32_t m_cursorId = 0;
  bool m_pointerHidden = false;
};

// The VK_* code of a Qt key, 0 for keys the views do not know.
uint32_t VirtualKeyOf(int qtKey);
// The MK_* bits of buttons and modifiers.
uint32_t ModifierBits(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
