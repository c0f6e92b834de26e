#pragma once

#include <cstdint>
#include <string>

class TClient;
class TData;
class TPage;
class TRect;
class TUserInput;

// The page view that owns drawing objects, as the objects see it: what an
// object may ask of its view while it is created, edited or shown (its
// page, points, rectangles and drags from the user, the units it formats
// lengths in, the status bar, repaints, its menu, posted commands).
//
// The drawing-object base lives below the view, so it reaches its view
// through this interface only; the page view (TClient) implements it. Code
// above the view that needs the whole view asks for it with Client().
class TDataOwner
{
public:
  // Cursor ids (see TUserInput::SetCursor).
  enum Cursor : int32_t {
    kCursorOwn = 0,
    kCursorArrow = 1,
    kCursorCross = 2,
    kCursorPick = 3,
    kCursorSelect = 4,
    kCursorWait = 5,
  };
  // Accept flags of GetPoint.
  enum Accept : uint16_t { kAcceptSpace = 1, kAcceptEnter = 2 };
  // Results of GetPoint.
  enum PointResult : int32_t { kPointCancelled = 0, kPointGiven = 1, kPointSpace = 2, kPointEnter = 3 };
  // Results of TrackObject.
  enum TrackResult : int32_t {
    kTrackCancelled = 0,
    kTrackReleased = 1,
    kTrackTyped = 2,
    kTrackEnter = 3,
    kTrackDelete = 4,
  };

  virtual ~TDataOwner() = default;

  // The whole view, for the dialogs of the input seam and for code that
  // knows the view's own class.
  virtual TClient* Client() = 0;
  // The user-input seam of the view's window; null without a window.
  virtual TUserInput* GetInput() const = 0;
  virtual TPage* GetPage() const = 0;
  // The layers new objects are put on (the active layer).
  virtual uint16_t GetLayers() const = 0;
  virtual uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) = 0;

  // ---- modal input (results: PointResult, TrackResult) ----
  // cursor: a Cursor id, or -1 to keep the current one.
  virtual int32_t GetPoint(int32_t& x, int32_t& y, const char* promptText, bool showCoordinates,
                           int32_t cursor, uint16_t accept) = 0;
  // The position of a new object.
  virtual int32_t GetPosition(int32_t& x, int32_t& y) = 0;
  // A rectangle drawn by the user: the first corner clicked, then sized.
  virtual int32_t GetRectangle(TRect& out, const char* promptText, uint16_t accept) = 0;
  // The pointer position in page units; false when the view has no window.
  virtual bool PointerPosition(int32_t& x, int32_t& y) = 0;
  // Asks for X and Y in the page's units; the values are page coordinates.
  virtual bool AskPoint(const char* title, int32_t& x, int32_t& y) = 0;
  // Moves, sizes or turns object with the mouse; reference is shown in the
  // readouts.
  virtual int32_t TrackObject(TData* object, uint16_t mode, const TData* reference) = 0;

  // ---- units ----
  // A length in the page's units; right-aligned to width characters when
  // width > 0, with an explicit "+" when relative.
  virtual std::string FormatLength(int32_t v, int32_t width = 0, bool relative = false) const = 0;
  // Positions, relative to the user origin.
  virtual std::string FormatX(int32_t v, int32_t width = 0) const = 0;
  virtual std::string FormatY(int32_t v, int32_t width = 0) const = 0;
  virtual std::string FormatArea(double area, int32_t width = 0) const = 0;

  // ---- window ----
  virtual bool SetStatusText(const std::string& text) = 0;
  // Repaints a page rectangle of the window.
  virtual void Invalidate(const TRect& r) = 0;
  // Repaints what is invalid now.
  virtual void UpdateWindow() = 0;
  // Draws or erases object's exclusive-or outline.
  virtual void ToggleOutline(TData* object) = 0;
  // Shows object's menu and answers the chosen command (0: none).
  virtual uint16_t RunObjectMenu(TData* object) = 0;
  // Posts command for object; it runs later, if object is still in the view.
  virtual bool PostObjectCommand(uint16_t command, TData* object) = 0;

protected:
  TDataOwner() = default;
  TDataOwner(const TDataOwner&) = default;
  TDataOwner& operator=(const TDataOwner&) = default;
};
