#pragma once

#include "TData.h"
#include "TPoint.h"
#include "TPolygone.h"

#include <cstdint>
#include <memory>
#include <vector>

class TDataOwner;

// A closed polygon through a list of vertices, outlined with the pen and
// filled with the brush by the even-odd rule. Its rectangle is always the
// bounding box of the vertices (one unit wide or high where they are all on
// one vertical or horizontal line).
//
// Vertices can be selected; Resize then moves only the selected ones. That
// is how the point entry moves its rubber-band vertex and how "Size" moves
// the vertices the user surrounded. The selection belongs to the working
// copies of those commands: it is neither cloned nor stored.
class TDataPolygone : public TData
{
public:
  static constexpr int32_t kVersion = 1;
  // The point entry stops taking new vertices at this count.
  static constexpr uint16_t kMaxEnteredPoints = 100;

  TDataPolygone();
  TDataPolygone(const TPoint* points, uint16_t count);

  // Without a client an empty polygon (for readers); with one the user
  // clicks the vertices one after another and ends with ENTER. Null when
  // cancelled.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  bool IsA(int32_t id) const override;
  // Near an edge, or inside by the even-odd rule (the open kind: near an
  // edge only).
  bool Contains(int32_t x, int32_t y) const override;
  // Moves every vertex; true even for (0, 0).
  bool Offset(int32_t dx, int32_t dy) override;
  // Moves the selected vertices; false without a selection.
  bool Resize(int32_t dx, int32_t dy) override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  bool Notify(uint16_t command, TRect* p) override;
  void GetRect(TRect& out, int32_t mode) const override;
  void SetRect(const TRect& r, int32_t mode) override;
  TData* Clone(TData* target, int32_t argument) const override;
  bool ShowInfo(TDataOwner* client, const TData* reference, uint16_t flags) override;

  const TPolygone& Vertices() const { return vertices; }
  bool IsSelected(uint16_t index) const;
  // Selects the vertices inside r (right and bottom edges excluded) and
  // answers how many there are.
  uint16_t SelectPoints(const TRect& r);
  // Selects the last vertex alone.
  void SelectLastPoint();
  // Appends a copy of the last vertex; false when the list is full.
  bool AddPoint();
  bool RemoveLastPoint();
  void ReversePoints();
  // Room for n vertices; those beyond n are dropped.
  bool SetCapacity(uint16_t n);
  // The enclosed area in square page units, by the shoelace formula over
  // the closed vertex list; 0 with fewer than 3 vertices.
  double Area() const;

protected:
  // The closed kind and the open kind (the polyline) share everything but
  // the closing edge, the fill and the smallest number of vertices.
  bool IsOpen() const { return IsA(kTDataPolyLine); }
  static TStreamable* EnterNew(TDataOwner* client, std::unique_ptr<TDataPolygone> object);

private:
  void UpdateBounds();
  // Adds (dx, dy) to the vertices of points that are selected here.
  void MoveSelected(TPolygone& points, int32_t dx, int32_t dy) const;
  // The point entry of "Add/Delete Points" and of the creation.
  uint16_t EnterPoints(TDataOwner* client, uint16_t command);
  // "Size": the user surrounds vertices and drags them.
  uint16_t MoveSurroundedPoints(TDataOwner* client);
  void ShowArea(TDataOwner* client) const;
  void DrawOutline(TPage* page, bool closed) const;

  TPolygone vertices;
  // Empty, or one flag per vertex.
  std::vector<uint8_t> selection;
};
