#pragma once

#include "TBrush.h"
#include "TPen.h"
#include "TRect.h"

#include <cstdint>
#include <string>

class TDataOwner;
class TPage;
class TUserInput;

// Modes of GetRect and SetRect: which rectangle of an object is meant.
enum RectMode : int32_t {
  kRectFrame = 0,        // the rectangle itself
  kRectWindowOnly = 1,   // views: only the window moves, the view keeps its rectangle
  kRectWithWindow = 2,   // views: the rectangle, the window following it
  kRectPosition = 3,     // (x, y, width, height): the position the user sees and types
  kRectCenter = 4,       // the centre point, in left and top
  kRectDrawing = 5,      // what drawing covers (thick pens, arrow heads and text spill over)
  kRectReframe = 6,      // texts: a new box for the same font, the lines wrapped anew
  kRectAnchored = 7,     // SetRect: placed at left, top by the anchors in right, bottom
  kRectFit = 8,          // images: the whole picture fitted into the rectangle
  kRectEndPoints = 9,    // objects of two points: x1, y1, x2, y2
  kRectLastSegment = 10, // point lists: the last two vertices, the second relative to the first
  kRectSelection = 11,   // what picking and the selection outline cover
};

// Base of every drawing object (and of the views). The virtual operations
// keep a fixed order; every drawing-object class keeps it and extends the
// behaviour by overriding and calling the base.
class TData : public TRect
{
public:
  static constexpr int32_t kVersion = 3;

  // State bits.
  enum State : uint16_t {
    kSelected = 1, // selection outline shown (toggled by Paint mode 8)
    kUndeletable = 2,
    kUnmodifiable = 4,
    kUncopyable = 8,
    kGroupMember = 16,   // set by groups at construction
    kNotSaved = 32,      // left out of the document and the symbol library
    kRefreshOnSave = 64, // receives the refresh message before saving
    kRefreshOnPrint = 128,
    kNotOwned = 256, // clearing the document only unlinks it
    kNoReferenceCross = 512,
  };
  // The bits that describe the program's own bookkeeping of the object
  // while it runs, never what a file says: who frees it, whether its
  // outline is on the screen.
  static constexpr uint16_t kRunTimeState = kNotOwned | kSelected;

  // Paint modes.
  enum PaintMode : uint8_t {
    kPaintScreen = 1,
    kPaintOutput = 4,
    kPaintToggleOutline = 8,
    kPaintWindow = 16,
    kPaintViewer = 32, // the picture viewer: the whole object, wherever the page shows
  };

  // Length of each stroke of the reference-point cross.
  static constexpr int32_t kCrossLength = 16;

  TData();
  TData(const TData& other);
  TData& operator=(const TData& other);
  ~TData() override;

  // slots 1-3
  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  bool IsA(int32_t id) const override;
  // slots 4-6 (from TRect): Contains, Offset, Resize
  // slot 7
  virtual void SetOwner(TDataOwner* client);
  // slot 8
  virtual uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p);
  // slot 9
  virtual bool Paint(TPage* page, uint8_t mode);
  // slot 10
  virtual uint16_t ContextCommand(TDataOwner* client, uint16_t command);
  // slot 11
  virtual bool Notify(uint16_t command, TRect* p);
  // slot 12
  virtual void GetRect(TRect& out, int32_t mode) const;
  // slot 13
  virtual void SetRect(const TRect& r, int32_t mode);
  // slot 14
  virtual void SetColor(int32_t which, uint32_t colour);
  // slot 15
  virtual uint32_t GetColor(int32_t which) const;
  // slot 16
  virtual void SetLayers(uint16_t mask);
  // slot 17
  virtual uint16_t GetLayers() const;
  // slot 18: copies into target, or into a new object of the same class
  virtual TData* Clone(TData* target, int32_t argument) const;
  // slot 19
  virtual bool ShowInfo(TDataOwner* client, const TData* reference, uint16_t flags);

  void SetState(uint16_t bits, bool on);
  uint16_t TestState(uint16_t bits) const { return state & bits; }
  uint16_t GetState() const { return state; }
  TDataOwner* GetOwner() const { return owner; }
  bool IsOnPage(const TPage* page) const;
  void DrawReferenceCross(TPage* page, int32_t x, int32_t y) const;
  void SetPenWidth(int32_t width);
  TPen& GetPen() { return pen; }
  const TPen& GetPen() const { return pen; }
  TBrush& GetBrush() { return brush; }
  const TBrush& GetBrush() const { return brush; }
  int32_t GetLastError() const { return lastError; }

protected:
  // Where every ContextCommand starts: command 0 becomes the command the user
  // picks from the object's menu, shown with the selection outline around
  // the object (0 when nothing was picked); other commands pass through.
  uint16_t ChooseCommand(TDataOwner* client, uint16_t command);
  // The readout of ShowInfo from GetRect in mode 3 (x, y, width, height) or
  // mode 9 (x1, y1, x2, y2, for objects described by two points).
  bool ShowRectInfo(TDataOwner* client, const TData* reference, int32_t mode) const;
  // The text ShowRectInfo shows, for objects that add to it; false when the
  // client is null or the format is missing.
  bool RectInfoText(TDataOwner* client, const TData* reference, int32_t mode, std::string& text) const;
  // SetRect mode 3 of objects whose position is not their top-left corner:
  // moves the object so that the position GetRect mode 3 reports lands on
  // (x, y), so that setting back a position read is no move at all.
  void MovePositionTo(int32_t x, int32_t y);
  // "Layer": lets the user edit the layer mask and takes it; false when
  // cancelled or when no layer is left, for an object on no layer could
  // never be seen or picked again.
  bool EditLayers(TUserInput* input);

  TPen pen;
  TBrush brush;
  uint16_t layers = 8;
  uint16_t state = 0;
  TDataOwner* owner = nullptr;
  int32_t lastError = 0;
};
