#pragma once

#include "TData.h"

#include <cstdint>

class TUserInput;

// The headless part of a view. A view is a drawing object that is also bound
// to a window: the window side (a widget in ui/) hands every event to
// WndProc as the message numbers of Messages.h, and everything the view asks
// of its window goes through its TUserInput. A view without an input has no
// window; it keeps its data and answers its messages, but asks nothing.
//
// Mouse messages carry the client position packed in param1 (MakePointParam)
// and the MK_* modifier bits in param2; key and character messages carry the
// key code or the character in param1 and the MK_SHIFT_/MK_CONTROL_ bits in
// param2.
class TVue : public TData
{
public:
  // viewFlags bits.
  enum ViewFlag : uint16_t {
    kDialogView = 8,     // unhandled messages go to the dialogue handling
    kKeepPosition = 32,  // a moved window is put back at the view's position
    kForeignWindow = 64, // the window outlives the view
    kSwallowRightButton = 128,
    kQuitOnDestroy = 256, // destroying the window ends the application
  };

  TVue();
  ~TVue() override;

  // slots 1-19 of TData that a view changes
  bool IsA(int32_t id) const override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Notify(uint16_t command, TRect* p) override;
  void SetRect(const TRect& r, int32_t mode) override;

  // slot 20: the window procedure. Keeps the message and its parameters,
  // then dispatches it; answers 0 when nothing handled it.
  virtual uint32_t WndProc(uint32_t message, uint32_t param1, uintptr_t param2);
  // slots 21, 22: extension points of derived views, 0 in the base.
  virtual uint32_t Hook1(uint32_t message, uint32_t param1, uintptr_t param2);
  virtual uint32_t Hook2(uint32_t message, uint32_t param1, uintptr_t param2);

  TUserInput* GetInput() const { return input; }
  void SetInput(TUserInput* userInput) { input = userInput; }
  TVue* GetParent() const { return parent; }
  void SetParent(TVue* view) { parent = view; }
  uint16_t GetViewFlags() const { return viewFlags; }
  void SetViewFlags(uint16_t flags) { viewFlags = flags; }

  uint32_t GetLastMessage() const { return lastMessage; }
  uint32_t GetLastParam1() const { return lastParam1; }
  uintptr_t GetLastParam2() const { return lastParam2; }
  // Client position of the last mouse message.
  int32_t GetLastX() const { return lastX; }
  int32_t GetLastY() const { return lastY; }

  // Sets the cursor shown over the window (cursor ids of TUserInput; 0 the
  // view's own) and returns the previous one.
  int32_t SetCursor(int32_t cursorId);
  int32_t GetCursor() const { return cursorId; }

  // Repaints the whole window now or later; nothing without a window.
  void InvalidateWindow();
  void UpdateWindow();
  // Posts a message to this view or to its parent; false without a window.
  bool PostToSelf(uint32_t message, uint32_t param1, uintptr_t param2);
  bool PostToParent(uint32_t message, uint32_t param1, uintptr_t param2);

protected:
  TUserInput* input = nullptr; // not owned
  TVue* parent = nullptr;      // not owned
  uint16_t viewFlags = 0;
  uint32_t lastMessage = 0;
  uint32_t lastParam1 = 0;
  uintptr_t lastParam2 = 0;
  int32_t lastX = 0;
  int32_t lastY = 0;
  int32_t cursorId = 0;
};
