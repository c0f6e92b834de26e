#pragma once

#include "TArrayPtr.h"
#include "TData.h"
#include "TDataContainer.h"

#include <cstdint>

// A drawing object made of other drawing objects. It owns its members and
// forwards moving, sizing, colouring, layering and painting to them, so a
// set of objects can be handled and stored as one. The editing engine also
// uses plain groups as short-lived selection carriers; a carrier's members
// stay in the view, so the carrier is emptied with RemoveAllChildren before
// it is destroyed.
//
// The group's rectangle is the union of its members' rectangles as long as
// the members are changed through the group.
class TDataGroup : public TData, public TDataContainer
{
public:
  static constexpr int32_t kVersion = 2;
  // Groups read inside groups deeper than this are refused, so that a
  // damaged or hostile file cannot exhaust the stack.
  static constexpr int32_t kMaxNesting = 64;

  TDataGroup();
  ~TDataGroup() override;
  TDataGroup(const TDataGroup&) = delete;
  TDataGroup& operator=(const TDataGroup&) = delete;

  // The class factory: a new empty group, on the view's active layers when
  // made for a view.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  bool Offset(int32_t dx, int32_t dy) override;
  bool Resize(int32_t dx, int32_t dy) override;
  void SetOwner(TDataOwner* client) override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  void GetRect(TRect& out, int32_t mode) const override;
  void SetRect(const TRect& r, int32_t mode) override;
  void SetColor(int32_t which, uint32_t colour) override;
  void SetLayers(uint16_t mask) override;
  uint16_t GetLayers() const override;
  TData* Clone(TData* target, int32_t argument) const override;

  // Appends a member and takes it over; false (the caller keeps it) for
  // null or when the list cannot grow.
  bool AddChild(TData* child);
  // Null for an index out of range.
  TData* GetChild(int32_t index) const { return children.Get(index); }
  int32_t GetChildCount() const { return children.Count(); }
  // Forgets the members without destroying them.
  void RemoveAllChildren();
  void DestroyAllChildren();
  void SetChildrenState(uint16_t bits, bool on);
  // The reference point, as an offset from the group's left and top.
  void GetReference(int32_t& x, int32_t& y) const;
  void SetReference(int32_t x, int32_t y);
  // Sends a message to every member; the last member's answer (0 without
  // members).
  uint32_t Broadcast(uint32_t message, int32_t a, int32_t b, void* p);
  // The first member's rectangle of that GetRect mode united with every
  // further member's; false, and an all-zero rectangle, without members.
  bool UnionOfChildren(TRect& out, int32_t mode) const;

protected:
  TArrayOf<TData> children;
  uint16_t spare = 0;
  int32_t refX = 0;
  int32_t refY = 0;

private:
  int32_t ChildCount() const override { return GetChildCount(); }
  TData* ChildAt(int32_t index) const override { return GetChild(index); }
};
