#pragma once

#include "TArrayPtr.h"
#include "TDataOwner.h"
#include "TPage.h"
#include "TVue.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TInStream;
class TOutStream;

// The page view: a view that owns a page, the objects drawn on it (in
// drawing order, the last on top), the grid and snap settings and the user
// origin. It runs the modal input procedures every editing command is built
// from (points, rectangles, drags), scrolls and zooms its page, paints its
// objects layer by layer and keeps the "VEKT TClient" and "VEKT Snap"
// sections of the document.
//
// The modal procedures pump one message at a time through the view's
// TUserInput and look at the message the view kept; with no input (no
// window) they answer "cancelled" at once.
//
// It is the owner its drawing objects talk to (TDataOwner): the objects lie
// above the view in the program's layers, the drawing-object base below it.
class TClient : public TVue, public TDataOwner
{
public:
  // flags bits.
  enum Flag : uint16_t {
    kFollowWindow = 1, // the paper takes the size of the window
    kModified = 4,
    kReady = 16, // editing commands are allowed
    kBusy = 64,  // a command is running
    kDefaultFlag = 128,
    kScrollBarsFollowPage = 256,
    kZoomLocked = 1024,
    kConfirmDeletions = 2048,
  };
  // snapFlags bits.
  enum SnapFlag : uint16_t {
    kGridShown = 0x0001,
    kSnapOn = 0x0002,
    kSnapSuspended = 0x8000,
  };
  enum ScrollBar : int32_t { kHorizontal = 0, kVertical = 1 };
  enum ScrollCode : int32_t {
    kLineUp = 0,
    kLineDown = 1,
    kPageUp = 2,
    kPageDown = 3,
    kThumbPosition = 4,
    kTop = 6,
    kBottom = 7,
    kAbsolute = 20,
    kRelative = 21,
  };
  static constexpr int32_t kMinStep = 1;
  static constexpr int32_t kMaxStep = 200;
  // Length of the direction vector a turn is steered with.
  static constexpr int32_t kTurnVectorLength = 300;

  TClient();
  ~TClient() override;
  TClient(const TClient&) = delete;
  TClient& operator=(const TClient&) = delete;

  bool IsA(int32_t id) const override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  uint16_t GetLayers() const override { return TVue::GetLayers(); }
  uint32_t WndProc(uint32_t message, uint32_t param1, uintptr_t param2) override;

  TClient* Client() override { return this; }
  TUserInput* GetInput() const override { return TVue::GetInput(); }
  TPage* GetPage() const override { return page.get(); }
  void UpdateWindow() override { TVue::UpdateWindow(); }

  // ---- flags ----
  uint16_t GetFlags() const { return flags; }
  void SetFlags(uint16_t bits, bool on);
  bool IsBusy() const { return (flags & kBusy) != 0; }
  // While a document is being read into the view, the screen shows none of
  // it (a paint in between would draw a growing part of it, again and
  // again); the reader redraws the whole view when it is done.
  void SetLoading(bool on) { m_loading = on; }
  bool IsLoading() const { return m_loading; }
  bool IsModified() const { return (flags & kModified) != 0; }
  void SetModified(bool on) { SetFlags(kModified, on); }

  // ---- objects ----
  // 0 when object is null or already here; otherwise 1, or for a carrier
  // the number of its children that were added. Added objects are owned by
  // the view (unless their state has kNotOwned).
  int32_t AddObject(TData* object, bool redraw);
  // AddObject for an object that cannot be in the list yet (one just read
  // or made): the list is not searched first, so reading a large document
  // stays linear. A carrier still goes through AddObject.
  int32_t AddNewObject(TData* object, bool redraw);
  // Takes the object (a carrier: each child) out of the list without
  // destroying it; answers how many objects left the list.
  int32_t RemoveObject(TData* object, bool redraw);
  // True when the object (a carrier: every child) is in the list.
  bool ContainsObject(const TData* object) const;
  int32_t ObjectCount() const { return objects.Count(); }
  TData* ObjectAtIndex(int32_t index) const { return objects.Get(index); }
  // Destroys every object of the list, except those with kNotOwned, which
  // are only unlinked.
  void ClearObjects();
  // The drawing order as it is now, bottom first.
  std::vector<TData*> ObjectOrder() const;
  // Makes order the drawing order, destroying nothing: objects of the list
  // that order leaves out go back to whoever holds them (an undo record),
  // those it adds join the view. Repaints the whole window.
  void RestoreObjectOrder(const std::vector<TData*>& order);
  // The object under a page point; the page view itself picks nothing.
  virtual TData* ObjectAt(int32_t x, int32_t y);

  // ---- units ----
  // User units per logical unit, as the decimal the user gave.
  double UnitFactor() const;
  double ToUser(int32_t v) const;
  int32_t FromUser(double u) const;
  double ToUserArea(double area) const;
  // A length in the page's units; right-aligned to width characters when
  // width > 0, with an explicit "+" when relative.
  std::string FormatLength(int32_t v, int32_t width = 0, bool relative = false) const override;
  // Positions, relative to the user origin.
  std::string FormatX(int32_t v, int32_t width = 0) const override;
  std::string FormatY(int32_t v, int32_t width = 0) const override;
  std::string FormatArea(double area, int32_t width = 0) const override;
  // Asks for X and Y in the page's units (title: the dialog's title); the
  // values shown and returned are page coordinates.
  bool AskPoint(const char* title, int32_t& x, int32_t& y) override;

  // ---- grid and snap ----
  uint16_t GetSnapFlags() const { return snapFlags; }
  bool IsGridShown() const { return (snapFlags & kGridShown) != 0; }
  void SetGridShown(bool shown, bool redraw);
  bool IsSnapOn() const { return (snapFlags & kSnapOn) != 0; }
  void SetSnapOn(bool on);
  // Picking suspends snapping while it waits for input.
  void SuspendSnap(bool suspend);
  bool IsSnapActive() const;
  // Each value is taken only when it lies in kMinStep..kMaxStep.
  void SetGridStep(int32_t x, int32_t y, bool redraw);
  void SetSnapStep(int32_t x, int32_t y);
  void GetGridStep(int32_t& x, int32_t& y) const
  {
    x = gridStepX;
    y = gridStepY;
  }
  void GetSnapStep(int32_t& x, int32_t& y) const
  {
    x = snapStepX;
    y = snapStepY;
  }
  // Puts a point on the nearest snap position (halves away from zero); only
  // when both steps are at least 2.
  void SnapPoint(int32_t& x, int32_t& y) const;
  // Cuts a displacement plus the carried remainder down to whole steps per
  // axis and carries what was cut off; an axis with a step below 2 passes
  // through. True when either snapped value is nonzero.
  bool SnapDelta(int32_t& dx, int32_t& dy, int32_t& remainderX, int32_t& remainderY) const;

  // ---- origin and last click ----
  void SetOrigin(int32_t x, int32_t y);
  void GetOrigin(int32_t& x, int32_t& y) const
  {
    x = userOriginX;
    y = userOriginY;
  }
  // The last point the user clicked in any view, in page coordinates.
  static TPoint& LastClick();
  // Program-wide: a right button release cancels a modal procedure.
  static bool& RightButtonCancels();

  // ---- zoom and scrolling ----
  static constexpr int32_t kMaxZoom = 1000;
  bool SetZoom(int32_t percent);
  int32_t GetZoom() const;
  // The largest zoom that shows the whole paper (widthOnly: its whole
  // width) in the window; true when the zoom changed.
  bool ZoomToFit(bool widthOnly);
  // bar: kHorizontal or kVertical; code: a ScrollCode. True when the
  // scroll position changed.
  bool Scroll(int32_t bar, int32_t code, int32_t value);
  // The navigation keys: true when key is one of them (whether or not the
  // page could move).
  bool ScrollByKey(uint32_t key, bool control);
  // What the window's scroll bars show.
  bool HasScrollBar(int32_t bar) const;
  int32_t GetScrollRange(int32_t bar) const;
  int32_t GetScrollThumb(int32_t bar) const;
  // Takes the visible size from the window (after a resize, zoom or paper
  // change).
  void RecomputeView();

  // ---- painting ----
  // Paints every object onto target, layer 8 first and layer 1 last, and
  // the grid dots in mode 1.
  void PaintObjects(TPage* target, uint8_t mode);
  // Where a walk of the objects in painting order stands, so that a large
  // page can be painted a part at a time between the window's events.
  struct PaintCursor
  {
    uint16_t layer = 128;
    int32_t index = 0;
    bool layerBegun = false;
    uint32_t sinceAsked = 0;
  };
  // Paints as PaintObjects does from cursor on, asking pause before each
  // object: when it answers true the walk stops there and false comes
  // back; true once everything (the grid included) is painted. The objects
  // must not change between the calls of one walk. No wait cursor.
  bool PaintObjectsFrom(TPage* target, uint8_t mode, PaintCursor& cursor, const std::function<bool()>& pause);
  // The black grid dots over the part of the paper that target shows (its
  // clip area when it has one).
  void DrawGrid(TPage* target);
  // Repaints a page rectangle of the window.
  void Invalidate(const TRect& r) override;
  // Repaints the area object draws on.
  void InvalidateObject(const TData* object);
  // Draws or erases object's exclusive-or outline (Paint mode 8) on the
  // window's overlay.
  void ToggleOutline(TData* object) override;

  // ---- status bar ----
  // Shows the running prompt (null clears it); false when the view has no
  // status bar to show it in.
  bool SetPrompt(const char* text);
  const std::string& GetPrompt() const { return prompt; }
  // The coordinate readout: the label (empty when null) and x, y relative to
  // the origin.
  bool ShowCoordinates(const char* label, int32_t x, int32_t y);
  bool SetStatusText(const std::string& text) override;

  // ---- modal input ----
  // cursor: a Cursor id, or -1 to keep the current one. Results: PointResult.
  int32_t GetPoint(int32_t& x, int32_t& y, const char* promptText, bool showCoordinates, int32_t cursor,
                   uint16_t accept) override;
  // SPACEBAR asks for typed X and Y (relative to the origin) instead.
  int32_t GetPointOrValues(int32_t& x, int32_t& y, const char* promptText, const char* valuesTitle,
                           int32_t cursor, uint16_t accept);
  // The position of a new object.
  int32_t GetPosition(int32_t& x, int32_t& y) override;
  // The pointer position in page units; false when the view has no window.
  bool PointerPosition(int32_t& x, int32_t& y) override;
  // The pointer position in page units, kept within the window: where a
  // placed object starts when the pointer is elsewhere (over the toolbar
  // or the menus when the command was chosen).
  bool PointerInWindow(int32_t& x, int32_t& y);
  // Moves (32558), sizes (32560, 32729, 32751) or turns (32599, 32277,
  // 32278) object with the mouse; reference is shown in the readouts.
  int32_t TrackObject(TData* object, uint16_t mode, const TData* reference) override;
  // A rectangle drawn by the user: the first corner clicked, then sized.
  int32_t GetRectangle(TRect& out, const char* promptText, uint16_t accept) override;
  // Sends every mouse movement to object as Message(messageId, dx, dy, this).
  int32_t TrackRelative(TData* object, uint32_t messageId);

  // ---- object menu ----
  // Builds object's popup menu from its capability masks, state and this
  // view's vetoes, shows it and answers the chosen command (0: none).
  uint16_t RunObjectMenu(TData* object) override;
  // Posts command for object; it runs when the message arrives, if object is
  // still in the list then.
  bool PostObjectCommand(uint16_t command, TData* object) override;

  // ---- document sections ----
  void WriteClientSection(TOutStream& os) const;
  void ReadClientSection(TInStream& is);
  void WriteSnapSection(TOutStream& os) const;
  void ReadSnapSection(TInStream& is);

protected:
  // A device movement in page units; the part below one unit is carried by
  // accumulating the device total.
  struct DeviceDelta
  {
    int32_t deviceX = 0, deviceY = 0; // device total so far
    int32_t pageX = 0, pageY = 0;     // its page equivalent so far
  };
  void ToPageDelta(DeviceDelta& acc, int32_t deviceDx, int32_t deviceDy, int32_t& dx, int32_t& dy) const;
  // The page as a rectangle (0, 0, paper width, paper height).
  TRect PaperRect() const;

  std::unique_ptr<TPage> page;
  TArrayOf<TData> objects;
  uint16_t flags = kDefaultFlag | kScrollBarsFollowPage | kConfirmDeletions;
  uint16_t snapFlags = 0;
  int32_t gridStepX = 10, gridStepY = 10;
  int32_t snapStepX = 10, snapStepY = 10;
  int32_t userOriginX = 0, userOriginY = 0;
  std::string prompt;

private:
  class ModalScope;
  class OutlineScope;

  // Press, drag and release answers a point too: the point is where the
  // button went down, and the next drag finishes where it came up, as if
  // the second click had been made there.
  struct PendingDrag
  {
    TPoint press;   // device pixels
    TPoint release; // device pixels
  };
  std::optional<TPoint> pressAt;
  std::optional<PendingDrag> pendingDrag;
  bool m_loading = false;

  int32_t ScrollAxis(int32_t position, int32_t view, int32_t paper, int32_t step, int32_t code,
                     int32_t value) const;
  bool IsOnPaper(int32_t x, int32_t y) const;
  bool RefreshReadout(const char* label);
  bool RunPostedCommand(uint32_t command, uintptr_t object);
  void HandleIdleCharacter(uint32_t character);
  void HandleMouseShortcut(uint32_t message, uint32_t modifiers);
  bool AskTrackValues(TData* object, uint16_t mode, uint16_t command, int32_t totalX, int32_t totalY,
                      int32_t& result);
};
