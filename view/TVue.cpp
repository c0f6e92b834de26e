#include "TVue.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "Messages.h"
#include "TUserInput.h"

TVue::TVue()
{
  classId = kTVue;
  // The text colour is the window-text colour; a hollow background means
  // the view paints no background of its own.
  pen.SetColor(0);
  brush = TBrush();
}

TVue::~TVue() = default;

bool TVue::IsA(int32_t id) const
{
  return id == kTVue || TData::IsA(id);
}

uint32_t TVue::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TOOLTIP_TEXT:
    return 0;
  case MSG_BROADCAST_COMMAND:
    PostToParent(MSG_CHILD_NOTIFY, static_cast<uint32_t>(a), 0);
    return 0;
  default:
    return TData::Message(message, a, b, p);
  }
}

bool TVue::Notify(uint16_t command, TRect* p)
{
  bool result = true;
  if (command == CM_OBJ_COLOR || command == CM_OBJ_BACK_COLOR)
    InvalidateWindow();
  else
    result = TData::Notify(command, p);
  PostToParent(MSG_CHILD_NOTIFY, command, 0);
  return result;
}

void TVue::SetRect(const TRect& r, int32_t mode)
{
  switch (mode) {
  case kRectFrame:
  case kRectWithWindow:
    TData::SetRect(r, kRectFrame);
    break;
  case kRectWindowOnly:
    // Only the window moves; the view keeps its rectangle.
    break;
  default:
    TData::SetRect(r, mode);
    break;
  }
}

uint32_t TVue::WndProc(uint32_t message, uint32_t param1, uintptr_t param2)
{
  lastMessage = message;
  lastParam1 = param1;
  lastParam2 = param2;
  switch (message) {
  case WM_MOUSEMOVE_:
  case WM_LBUTTONDOWN_:
  case WM_LBUTTONUP_:
  case WM_LBUTTONDBLCLK_:
  case WM_RBUTTONDOWN_:
  case WM_RBUTTONUP_:
    lastX = PointParamX(param1);
    lastY = PointParamY(param1);
    return 0;
  case WM_COMMAND_:
    // The command id in the low word, the notification code in the high word.
    return Message(param1 & 0xFFFF, static_cast<int32_t>(param1 >> 16), 0, reinterpret_cast<void*>(param2));
  default:
    return 0;
  }
}

uint32_t TVue::Hook1(uint32_t, uint32_t, uintptr_t)
{
  return 0;
}

uint32_t TVue::Hook2(uint32_t, uint32_t, uintptr_t)
{
  return 0;
}

int32_t TVue::SetCursor(int32_t id)
{
  const int32_t previous = cursorId;
  cursorId = id;
  if (input)
    input->SetCursor(this, id);
  return previous;
}

void TVue::InvalidateWindow()
{
  if (input)
    input->Invalidate(this, nullptr);
}

void TVue::UpdateWindow()
{
  if (input)
    input->Update(this);
}

bool TVue::PostToSelf(uint32_t message, uint32_t param1, uintptr_t param2)
{
  if (!input)
    return false;
  input->PostMessage(this, message, param1, param2);
  return true;
}

bool TVue::PostToParent(uint32_t message, uint32_t param1, uintptr_t param2)
{
  if (!parent)
    return false;
  TUserInput* target = parent->input ? parent->input : input;
  if (!target)
    return false;
  target->PostMessage(parent, message, param1, param2);
  return true;
}
