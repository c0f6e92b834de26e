#pragma once

#include "TVue.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

class TDialog;

// Base of the controls of a dialogue: a view that owns its widget (or the
// group of widgets it stands for) inside the dialogue's window and is known
// by its control id. A control made for a dialogue is added to the
// dialogue's object list at once; the list owns it, destroys it with the
// dialogue and gives the order in which Tab walks the controls.
//
// Controls tell their dialogue what happens to them as a command message:
// the control id in the low word and the notification code (kClicked,
// kChanged) in the high word, the control as the last parameter.
class TControl : public TVue
{
public:
  // viewFlags bits of controls.
  enum ControlFlag : uint16_t {
    kFocusable = 4, // Tab stops here
    kNoFocus = 16,  // ... unless this is set
  };
  enum Notification : uint16_t {
    kClicked = 0,     // a button or a choice box was clicked
    kChanged = 0x300, // the user changed the text of an edit
  };

  TControl(TDialog* dialog, int32_t id);
  ~TControl() override;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  bool IsA(int32_t id) const override;

  int32_t GetId() const { return m_id; }
  TDialog* GetDialog() const { return m_dialog; }
  // The control's widget (for a group: its frame); null once destroyed.
  QWidget* Widget() const { return m_widget.data(); }

  // Focusable by its flags and enabled.
  bool CanTakeFocus() const;
  // The widgets Tab stops at inside the control (one for most controls, the
  // checked button of a radio group, each box of a check group).
  virtual int32_t FocusStops() const { return 1; }
  virtual QWidget* FocusStop(int32_t index) const;
  // A control that takes Enter itself (a multi-line edit).
  virtual bool WantsReturn() const { return false; }

  void Enable(bool enable);
  bool IsEnabled() const;
  void SetFocus(int32_t stop = 0);

protected:
  // Takes widget (already a child of the dialogue's window) as the
  // control's own and binds it to the view.
  void SetWidget(QWidget* widget);
  // The parent for the control's widgets: the dialogue's window.
  QWidget* DialogWindow() const;
  // Tells the dialogue (see the class comment).
  void NotifyDialog(uint16_t code);

private:
  TDialog* m_dialog;
  int32_t m_id;
  QPointer<QWidget> m_widget;
};
