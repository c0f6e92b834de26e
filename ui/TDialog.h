#pragma once

#include "TClient.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <string>
#include <string_view>

class QEventLoop;
class QVBoxLayout;
class TControl;

// A dialogue: a view whose object list holds its controls (in the order Tab
// walks them) and that runs its own modal loop with its own keyboard rules.
//
// It is built from a dialogue description named after its resource (the
// names are matched without regard to case; an unknown name leaves the
// dialogue without a window, and running it answers 0), or in code: the
// caller then makes the controls and places their widgets into Body().
//
// RunModal shows the dialogue application-modal and handles, for every
// widget of the dialogue:
//   Tab / Shift+Tab  the next / previous focusable control, wrapping round;
//   Enter            the default button's command when there is one;
//                    nothing when the dialogue ignores Enter; OK with Shift
//                    held, or on the last control when the dialogue asks for
//                    that; else the next control like Tab (a multi-line edit
//                    takes a plain Enter itself);
//   Escape           Cancel.
// Commands from the controls arrive in Command; OK ends the dialogue when
// Validate agrees, Cancel always. RunModal answers the command that ended it
// and hides the dialogue; the caller deletes it.
class TDialog : public TClient
{
public:
  enum DialogFlag : uint16_t {
    kEnterIgnored = 1,
    kEnterOnLastIsOk = 2,
  };

  TDialog(std::string_view resource, TVue* parent);
  TDialog(TVue* parent, const std::string& title);
  ~TDialog() override;

  bool IsA(int32_t id) const override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;

  bool IsValid() const { return !m_widget.isNull(); }
  // The dialogue's window, null when it has none.
  QWidget* Widget() const { return m_widget.data(); }
  // Where a dialogue built in code puts its rows.
  QVBoxLayout* Body() const { return m_body; }
  void SetTitle(const std::string& title);
  void SetDialogFlags(uint16_t bits) { m_dialogFlags = bits; }
  // Centres the dialogue on the screen rather than on its owner's window.
  void SetCentredOnScreen(bool onScreen) { m_centredOnScreen = onScreen; }

  // The OK (item 1, default) and Cancel (item 2) row at the bottom.
  void AddOkCancel(const std::string& okText, const std::string& cancelText);

  int32_t RunModal(int32_t focusIndex = 0);
  bool IsRunning() const { return m_running; }
  // The index of the control that had the focus last.
  int32_t FocusedIndex() const { return m_focusIndex; }

  // The controls in list order; Control finds one by its id (null: none).
  int32_t ControlCount() const;
  TControl* ControlAt(int32_t index) const;
  TControl* Control(int32_t id) const;
  template <class T> T* ControlAs(int32_t id) const { return dynamic_cast<T*>(Control(id)); }
  // Puts the focus on a control (the first stop of the control with that id).
  void FocusControl(int32_t id);

  // Ends the loop with command (the loop's answer).
  void End(int32_t command);

protected:
  // A control's notification (see TControl). Return true when it ends the
  // dialogue; the base ends it on OK when Validate agrees and on Cancel.
  virtual bool Command(uint16_t command, uint16_t code);
  // OK was pressed: true lets the dialogue close. A refusal says why and
  // puts the focus where the fault is.
  virtual bool Validate() { return true; }

private:
  class KeyRules;
  friend class KeyRules;

  struct Stop
  {
    int32_t control;
    int32_t index;
  };

  void MakeWindow(TVue* parent, const std::string& title);
  // True when the key was one of the dialogue's (and is used up).
  bool HandleKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers);
  std::vector<Stop> FocusStops() const;
  int32_t CurrentStop(const std::vector<Stop>& stops) const;
  void MoveFocus(bool forward);
  int32_t DefaultCommand() const;
  void Place();

  QPointer<QWidget> m_widget;
  QVBoxLayout* m_body = nullptr; // owned by the widget
  uint16_t m_dialogFlags = 0;
  bool m_centredOnScreen = false;
  bool m_running = false;
  int32_t m_result = 0;
  int32_t m_focusIndex = 0;
  QEventLoop* m_loop = nullptr;
};
