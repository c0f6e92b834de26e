// The modal input procedures of the page view and its idle handling of the
// mouse and the keyboard.

#include "TClient.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "Geometry.h"
#include "Messages.h"
#include "StringTable.h"
#include "TUserInput.h"

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <utility>

// What a modal procedure changes on the view for its own duration: the busy
// flag, the mouse capture, the cursor, the pointer's visibility and the
// prompt. Restored on every way out.
class TClient::ModalScope
{
public:
  ModalScope(TClient& client, int32_t cursor, bool hidePointer)
      : m_client(client), m_wasBusy(client.IsBusy()), m_setCursor(cursor >= 0)
  {
    m_client.SetFlags(kBusy, true);
    m_client.input->CaptureMouse(&m_client, true);
    if (m_setCursor)
      m_previousCursor = m_client.SetCursor(cursor);
    ShowPointer(!hidePointer);
  }
  ~ModalScope()
  {
    ShowPointer(true);
    if (m_setCursor)
      m_client.SetCursor(m_previousCursor);
    m_client.input->CaptureMouse(&m_client, false);
    m_client.SetPrompt(nullptr);
    m_client.SetFlags(kBusy, m_wasBusy);
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

  void ShowPointer(bool show)
  {
    if (show == m_pointerShown)
      return;
    m_client.input->ShowPointer(&m_client, show);
    m_pointerShown = show;
  }

private:
  TClient& m_client;
  bool m_wasBusy;
  bool m_setCursor;
  int32_t m_previousCursor = 0;
  bool m_pointerShown = true;
};

// The exclusive-or outline of a tracked object: drawn and erased in pairs,
// and erased on the way out whatever the exit.
class TClient::OutlineScope
{
public:
  OutlineScope(TClient& client, TData* object) : m_client(client), m_object(object) { Draw(); }
  ~OutlineScope() { Erase(); }
  OutlineScope(const OutlineScope&) = delete;
  OutlineScope& operator=(const OutlineScope&) = delete;

  void Draw()
  {
    if (!m_drawn)
      m_client.ToggleOutline(m_object);
    m_drawn = true;
  }
  void Erase()
  {
    if (m_drawn)
      m_client.ToggleOutline(m_object);
    m_drawn = false;
  }

private:
  TClient& m_client;
  TData* m_object;
  bool m_drawn = false;
};

namespace {

// Tells the page which interactive mode runs while it lives.
class DragModeScope
{
public:
  DragModeScope(TPage& page, uint16_t mode) : m_page(page) { m_page.SetDragMode(mode); }
  ~DragModeScope() { m_page.SetDragMode(0); }
  DragModeScope(const DragModeScope&) = delete;
  DragModeScope& operator=(const DragModeScope&) = delete;

private:
  TPage& m_page;
};

// The rectangle GetRectangle lets the user size: shown on every layer.
class RubberBand : public TData
{
public:
  RubberBand(int32_t x, int32_t y, int32_t size)
  {
    Assign(TRect(x, y, x + size, y + size));
    layers = 0xFFFF;
  }
};

constexpr int32_t kRubberBandSize = 10;

bool IsNavigationKey(uint32_t key)
{
  switch (key) {
  case VK_PRIOR_:
  case VK_NEXT_:
  case VK_HOME_:
  case VK_END_:
  case VK_UP_:
  case VK_DOWN_:
  case VK_LEFT_:
  case VK_RIGHT_:
    return true;
  default:
    return false;
  }
}

// Degrees in 0..359.
int32_t NormalizeAngle(int64_t degrees)
{
  const int64_t a = degrees % 360;
  return static_cast<int32_t>(a < 0 ? a + 360 : a);
}

} // namespace

// ---- points ----

int32_t TClient::GetPoint(int32_t& x, int32_t& y, const char* promptText, bool showCoordinates,
                          int32_t cursor, uint16_t accept)
{
  if (!page || !input)
    return kPointCancelled;
  if (!SetPrompt(promptText)) {
    // Nowhere to show the prompt: it is asked for in a message box instead.
    const int32_t answer = input->MessageBox(promptText ? promptText : "", "", MB_OKCANCEL_);
    if (answer != IDOK_) {
      SetPrompt(nullptr);
      return kPointCancelled;
    }
  }
  ModalScope scope(*this, cursor, page->GetZoom() < 100);

  // The pointer as the hand moves it (the sum of its movements) and where
  // the readout stands: with snap on the nearest snap position, on which the
  // pointer is then placed. Summing the movements carries what snapping cut
  // off, so slow movements still progress.
  int32_t pointerX = 0, pointerY = 0;
  PointerPosition(pointerX, pointerY);
  int32_t handX = pointerX, handY = pointerY;
  int32_t currentX = handX, currentY = handY;
  if (IsSnapActive())
    SnapPoint(currentX, currentY);

  pressAt.reset();
  pendingDrag.reset();
  for (;;) {
    if (!input->PumpMessage(this))
      return kPointCancelled;
    switch (lastMessage) {
    case WM_LBUTTONDOWN_:
      pressAt = TPoint{lastX, lastY};
      break;
    case WM_LBUTTONUP_: {
      // Released away from the press: a drag, whose point is the press.
      TPoint at{lastX, lastY};
      std::optional<PendingDrag> drag;
      if (pressAt && std::abs(int64_t{lastX} - pressAt->x) + std::abs(int64_t{lastY} - pressAt->y) >=
                         input->DragDistance()) {
        drag = PendingDrag{*pressAt, at};
        at = *pressAt;
      }
      pressAt.reset();
      int32_t width = 0, height = 0;
      input->GetClientSize(this, width, height);
      if (at.x < 0 || at.y < 0 || at.x >= width || at.y >= height)
        break;
      int32_t px, py;
      page->DeviceToPage(at.x, at.y, px, py);
      if (!IsOnPaper(px, py))
        break;
      if (IsSnapActive())
        SnapPoint(px, py);
      x = px;
      y = py;
      LastClick() = {px, py};
      pendingDrag = drag;
      return kPointGiven;
    }
    case WM_RBUTTONUP_:
      if (RightButtonCancels())
        return kPointCancelled;
      break;
    case WM_KEYDOWN_:
      if (ScrollByKey(lastParam1, (lastParam2 & MK_CONTROL_) != 0)) {
        PointerPosition(pointerX, pointerY);
        handX = currentX = pointerX;
        handY = currentY = pointerY;
        if (IsSnapActive())
          SnapPoint(currentX, currentY);
        if (showCoordinates)
          ShowCoordinates(prompt.c_str(), currentX, currentY);
      }
      break;
    case WM_CHAR_:
      if (lastParam1 == VK_ESCAPE_)
        return kPointCancelled;
      if (lastParam1 == VK_SPACE_ && (accept & kAcceptSpace))
        return kPointSpace;
      if (lastParam1 == VK_RETURN_ && (accept & kAcceptEnter))
        return kPointEnter;
      break;
    case WM_MOUSEMOVE_: {
      const bool snap = IsSnapActive();
      if (!snap && !showCoordinates)
        break;
      int32_t px, py;
      page->DeviceToPage(lastX, lastY, px, py);
      handX = SaturateInt32(int64_t{handX} + px - pointerX);
      handY = SaturateInt32(int64_t{handY} + py - pointerY);
      pointerX = px;
      pointerY = py;
      int32_t shownX = handX, shownY = handY;
      if (snap) {
        SnapPoint(shownX, shownY);
        int32_t deviceX, deviceY;
        page->PageToDevice(shownX, shownY, deviceX, deviceY);
        input->SetPointerPos(this, deviceX, deviceY);
        // Where the pointer really is now: the platform may not place it.
        PointerPosition(pointerX, pointerY);
      }
      if (shownX == currentX && shownY == currentY)
        break;
      currentX = shownX;
      currentY = shownY;
      if (showCoordinates && IsOnPaper(currentX, currentY))
        ShowCoordinates(prompt.c_str(), currentX, currentY);
      break;
    }
    case MSG_REFRESH_READOUT:
      if (showCoordinates)
        ShowCoordinates(prompt.c_str(), currentX, currentY);
      break;
    default:
      break;
    }
  }
}

int32_t TClient::GetPointOrValues(int32_t& x, int32_t& y, const char* promptText, const char* valuesTitle,
                                  int32_t cursor, uint16_t accept)
{
  const int32_t result = GetPoint(x, y, promptText, true, cursor, accept | kAcceptSpace);
  if (result != kPointSpace)
    return result;
  x = y = 0;
  if (!AskPoint(valuesTitle, x, y))
    return kPointCancelled;
  x = SaturateInt32(int64_t{x} + userOriginX);
  y = SaturateInt32(int64_t{y} + userOriginY);
  return kPointGiven;
}

int32_t TClient::GetPosition(int32_t& x, int32_t& y)
{
  return GetPointOrValues(x, y, LoadStr(IDS_POSITION_OBJECT), LoadStr(IDS_POSITION_TITLE), kCursorCross, 0);
}

int32_t TClient::GetRectangle(TRect& out, const char* promptText, uint16_t accept)
{
  int32_t x = 0, y = 0;
  const int32_t result = GetPoint(x, y, promptText, true, kCursorSelect, accept);
  if (result != kPointGiven)
    return result;
  RubberBand band(x, y, kRubberBandSize);
  if (TrackObject(&band, CM_OBJ_SIZE, nullptr) == kTrackCancelled)
    return 0;
  out.Assign(band);
  return 1;
}

// ---- dragging ----

int32_t TClient::TrackObject(TData* object, uint16_t mode, const TData* reference)
{
  const uint16_t command = mode;
  switch (mode) {
  case CM_OBJ_ADD_DELETE_POINTS:
  case CM_TRACK_SIZE_2:
    mode = CM_OBJ_SIZE;
    break;
  case CM_OBJ_START_ANGLE:
  case CM_OBJ_END_ANGLE:
    mode = CM_OBJ_ANGLE;
    break;
  case CM_OBJ_POSITION:
  case CM_OBJ_SIZE:
  case CM_OBJ_ANGLE:
    break;
  default:
    return kTrackCancelled;
  }
  if (!page || !input || !object)
    return kTrackCancelled;
  const bool moving = mode == CM_OBJ_POSITION;
  const bool turning = mode == CM_OBJ_ANGLE;
  const uint32_t mayChange = moving ? MSG_MAY_MOVE : MSG_MAY_RESIZE;

  // A turn is steered by a direction vector that every movement is added to.
  int32_t angle = 0;
  TPoint vector;
  if (turning) {
    angle = NormalizeAngle(static_cast<int32_t>(object->Message(MSG_GET_ANGLE, 0, command, nullptr)));
    const double radians = angle * std::numbers::pi / 180.0;
    vector = {RoundHalfAway(kTurnVectorLength * std::cos(radians)),
              RoundHalfAway(-kTurnVectorLength * std::sin(radians))};
  }

  DragModeScope dragMode(*page, command);
  ModalScope scope(*this, -1, true);
  if (moving && IsSnapActive()) {
    int32_t x = object->left, y = object->top;
    SnapPoint(x, y);
    object->Offset(x - object->left, y - object->top);
  }
  OutlineScope outline(*this, object);
  object->ShowInfo(this, reference, 0);

  TRect paper = PaperRect();
  // Every movement is the difference from the previous pointer position;
  // the pointer is never moved by the program.
  int32_t previousX = 0, previousY = 0;
  input->GetPointerPos(this, previousX, previousY);
  DeviceDelta delta;
  int32_t remainderX = 0, remainderY = 0;
  int32_t totalX = 0, totalY = 0;

  // The pointer moved to (toX, toY): the object follows by the page
  // distance, snapped.
  auto follow = [&](int32_t toX, int32_t toY) {
    int32_t dx, dy;
    ToPageDelta(delta, toX - previousX, toY - previousY, dx, dy);
    previousX = toX;
    previousY = toY;
    if (dx == 0 && dy == 0)
      return;
    if (turning) {
      vector.x = SaturateInt32(int64_t{vector.x} + dx);
      vector.y = SaturateInt32(int64_t{vector.y} + dy);
      const int32_t next = DirectionDegrees(TPoint{}, vector);
      if (next == angle)
        return;
      angle = next;
      outline.Erase();
      object->Message(MSG_SET_ANGLE, angle, command, nullptr);
      outline.Draw();
    } else {
      if ((!moving || IsSnapActive()) && !SnapDelta(dx, dy, remainderX, remainderY))
        return;
      if (object->Message(mayChange, dx, dy, &paper) == 0)
        return;
      outline.Erase();
      if (moving)
        object->Offset(dx, dy);
      else
        object->Resize(dx, dy);
      outline.Draw();
      totalX = SaturateInt32(int64_t{totalX} + dx);
      totalY = SaturateInt32(int64_t{totalY} + dy);
    }
    object->ShowInfo(this, reference, 0);
  };

  int32_t result = kTrackCancelled;
  bool done = false;
  // A drag that gave the starting point ends here, where it was released.
  if (const std::optional<PendingDrag> drag = std::exchange(pendingDrag, std::nullopt)) {
    previousX = drag->press.x;
    previousY = drag->press.y;
    follow(drag->release.x, drag->release.y);
    result = kTrackReleased;
    done = true;
  }
  while (!done) {
    if (!input->PumpMessage(this))
      break;
    switch (lastMessage) {
    case WM_MOUSEMOVE_:
      follow(lastX, lastY);
      break;
    case WM_LBUTTONUP_:
      result = kTrackReleased;
      done = true;
      break;
    case WM_RBUTTONUP_:
      if (RightButtonCancels()) {
        result = kTrackCancelled;
        done = true;
      }
      break;
    case WM_KEYDOWN_:
      if (lastParam1 == VK_DELETE_) {
        result = kTrackDelete;
        done = true;
      } else if (IsNavigationKey(lastParam1)) {
        // The outline is in window pixels: it moves with the page.
        outline.Erase();
        ScrollByKey(lastParam1, (lastParam2 & MK_CONTROL_) != 0);
        UpdateWindow();
        outline.Draw();
      }
      break;
    case WM_CHAR_:
      if (lastParam1 == VK_RETURN_) {
        result = kTrackEnter;
        done = true;
      } else if (lastParam1 == VK_ESCAPE_) {
        result = kTrackCancelled;
        done = true;
      } else if (lastParam1 == VK_SPACE_) {
        outline.Erase();
        scope.ShowPointer(true);
        done = AskTrackValues(object, mode, command, totalX, totalY, result);
        if (!done) {
          scope.ShowPointer(false);
          outline.Draw();
        }
      } else {
        object->ShowInfo(this, reference, 0);
      }
      break;
    case MSG_REFRESH_READOUT:
      object->ShowInfo(this, reference, 0);
      break;
    default:
      break;
    }
  }
  return result;
}

bool TClient::AskTrackValues(TData* object, uint16_t mode, uint16_t command, int32_t totalX, int32_t totalY,
                             int32_t& result)
{
  if (mode == CM_OBJ_ANGLE) {
    std::vector<TUserInput::ValueField> fields(1);
    fields[0] = {LoadStr(IDS_ANGLE_LABEL),
                 static_cast<double>(NormalizeAngle(
                     static_cast<int32_t>(object->Message(MSG_GET_ANGLE, 0, command, nullptr)))),
                 0, TPage::kFormatDecimal};
    if (!input->AskValues(LoadStr(IDS_ANGLE_TITLE), fields) || fields.empty())
      return false;
    object->Message(MSG_SET_ANGLE, NormalizeAngle(RoundHalfAway(fields[0].value)), command, nullptr);
    result = kTrackTyped;
    return true;
  }
  // The typed values are the wanted total displacement.
  int32_t wantedX = totalX, wantedY = totalY;
  if (!AskPoint(LoadStr(IDS_MOVING_TITLE), wantedX, wantedY))
    return false;
  const int32_t dx = SaturateInt32(int64_t{wantedX} - totalX);
  const int32_t dy = SaturateInt32(int64_t{wantedY} - totalY);
  const bool moving = mode == CM_OBJ_POSITION;
  TRect paper = PaperRect();
  if (object->Message(moving ? MSG_MAY_MOVE : MSG_MAY_RESIZE, dx, dy, &paper) == 0) {
    input->MessageBox(LoadStr(moving ? IDS_MOVE_TOO_BIG : IDS_SIZE_TOO_BIG), "", MB_OK_ | MB_ICONSTOP_);
    result = kTrackCancelled;
    return true;
  }
  if (moving)
    object->Offset(dx, dy);
  else
    object->Resize(dx, dy);
  result = kTrackTyped;
  return true;
}

int32_t TClient::TrackRelative(TData* object, uint32_t messageId)
{
  if (!page || !input || !object)
    return 0;
  ModalScope scope(*this, -1, true);
  int32_t previousX = 0, previousY = 0;
  input->GetPointerPos(this, previousX, previousY);
  DeviceDelta delta;
  for (;;) {
    if (!input->PumpMessage(this))
      return 0;
    switch (lastMessage) {
    case WM_MOUSEMOVE_: {
      int32_t dx, dy;
      ToPageDelta(delta, lastX - previousX, lastY - previousY, dx, dy);
      previousX = lastX;
      previousY = lastY;
      if (dx != 0 || dy != 0)
        object->Message(messageId, dx, dy, this);
      break;
    }
    case WM_LBUTTONUP_:
      return 1;
    case WM_RBUTTONUP_:
      return 0;
    case WM_CHAR_:
      if (lastParam1 == VK_RETURN_)
        return 1;
      if (lastParam1 == VK_ESCAPE_)
        return 0;
      break;
    default:
      break;
    }
  }
}

// ---- idle handling ----

uint32_t TClient::WndProc(uint32_t message, uint32_t param1, uintptr_t param2)
{
  const uint32_t answer = TVue::WndProc(message, param1, param2);
  switch (message) {
  case WM_SIZE_:
    RecomputeView();
    break;
  case WM_MOUSEMOVE_:
  case MSG_REFRESH_READOUT:
    if (!IsBusy())
      RefreshReadout(prompt.c_str());
    break;
  case WM_CHAR_:
    if (!IsBusy())
      HandleIdleCharacter(param1);
    break;
  case WM_KEYDOWN_:
    if (!IsBusy())
      ScrollByKey(param1, (param2 & MK_CONTROL_) != 0);
    break;
  case WM_LBUTTONUP_:
  case WM_RBUTTONUP_:
    HandleMouseShortcut(message, static_cast<uint32_t>(param2));
    break;
  case WM_LBUTTONDOWN_:
  case WM_LBUTTONDBLCLK_:
    if (!IsBusy() && page) {
      int32_t x, y;
      page->DeviceToPage(lastX, lastY, x, y);
      if (TData* object = ObjectAt(x, y))
        object->Message(message, x, y, this);
    }
    break;
  case CM_MODIFY:
  case CM_OBJ_DELETE:
  case CM_OBJ_BRING_TO_TOP:
  case CM_OBJ_COPY_PASTE:
    if (param2)
      return RunPostedCommand(message, param2) ? 1 : 0;
    break;
  default:
    break;
  }
  return answer;
}

bool TClient::RunPostedCommand(uint32_t command, uintptr_t object)
{
  // The object may have been destroyed since the command was posted (by an
  // undo, or a carrier that lived only as long as its command), so the
  // pointer is only compared with the list, never followed, until it is
  // found there.
  TData* target = reinterpret_cast<TData*>(object);
  if (!objects.Contains(target))
    return false;
  Message(command, 0, 0, target);
  return true;
}

bool TClient::RefreshReadout(const char* label)
{
  int32_t x, y;
  if (!PointerPosition(x, y) || !IsOnPaper(x, y))
    return false;
  return ShowCoordinates(label, x, y);
}

void TClient::HandleIdleCharacter(uint32_t character)
{
  switch (character) {
  case 'o': {
    int32_t x, y;
    if (PointerPosition(x, y))
      SetOrigin(x, y);
    break;
  }
  case 'O': {
    int32_t x = userOriginX, y = userOriginY;
    if (AskPoint(LoadStr(IDS_ORIGIN_TITLE), x, y))
      SetOrigin(x, y);
    break;
  }
  case 's':
    SetSnapOn(!IsSnapOn());
    break;
  case 'g':
    SetGridShown(!IsGridShown(), true);
    break;
  default:
    break;
  }
}

void TClient::HandleMouseShortcut(uint32_t message, uint32_t modifiers)
{
  if (!(flags & kReady) || IsBusy() || !page)
    return;
  uint16_t command = 0;
  if (message == WM_RBUTTONUP_) {
    command = CM_MODIFY;
  } else {
    const bool control = (modifiers & MK_CONTROL_) != 0;
    const bool shift = (modifiers & MK_SHIFT_) != 0;
    if (control && shift)
      command = CM_OBJ_DELETE;
    else if (control)
      command = CM_MODIFY;
    else if (shift)
      command = CM_OBJ_COPY_PASTE;
  }
  if (command == 0)
    return;
  int32_t x, y;
  page->DeviceToPage(lastX, lastY, x, y);
  TData* object = ObjectAt(x, y);
  if (!object)
    return;
  LastClick() = {x, y};
  PostObjectCommand(command, object);
}
