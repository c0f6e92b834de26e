#pragma once

#include "TData.h"
#include "TDataTexte.h"
#include "TPoint.h"

#include <cstdint>

class TDataOwner;

// A dimension line: a measuring line between two points with an open head
// at each end, opening towards the inside, and a label showing the distance
// in the page's unit. The label is a one-line text kept parallel to the
// line and centred beside its middle, on the side the line's direction
// turned by +90 degrees points to.
//
// The heads, the label's text, angle and place and the rectangle are
// derived from p1, p2, headSize and the owner's units, and recomputed after
// every change of them (and when the view's units change).
class TDataDim : public TData
{
public:
  static constexpr int32_t kVersion = 1;
  static constexpr int32_t kDefaultHeadSize = 8;
  // Half the opening of each head, in degrees.
  static constexpr int32_t kHeadAngle = 30;

  TDataDim();
  TDataDim(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

  // Without a client a default dimension (for readers); with one the user
  // places the first end and drags the second. Null when cancelled.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  // Inside the rectangle, then on the label, the line or a head stroke.
  bool Contains(int32_t x, int32_t y) const override;
  bool Offset(int32_t dx, int32_t dy) override;
  // Moves the second end.
  bool Resize(int32_t dx, int32_t dy) override;
  // The label's text depends on the owner's units.
  void SetOwner(TDataOwner* client) override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  // "Text Color" and the font commands act on the label.
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  bool Notify(uint16_t command, TRect* p) override;
  // Mode 3: (x1, y1, x2 - x1, y2 - y1); mode 9: (x1, y1, x2, y2); mode 5:
  // the rectangle grown by the pen width + 2.
  void GetRect(TRect& out, int32_t mode) const override;
  // Only placements (modes 3, 4 and 7) apply: they move the dimension whole.
  void SetRect(const TRect& r, int32_t mode) override;
  void SetLayers(uint16_t mask) override;
  TData* Clone(TData* target, int32_t argument) const override;
  // The two ends, and the length while the second end is dragged.
  bool ShowInfo(TDataOwner* client, const TData* reference, uint16_t flags) override;

  TPoint GetStart() const { return p1; }
  TPoint GetEnd() const { return p2; }
  TPoint GetHead1a() const { return head1a; }
  TPoint GetHead1b() const { return head1b; }
  TPoint GetHead2a() const { return head2a; }
  TPoint GetHead2b() const { return head2b; }
  int32_t GetHeadSize() const { return headSize; }
  void SetHeadSize(int32_t size);
  const TDataTexte& GetLabel() const { return label; }
  // The distance between the ends, rounded to whole units.
  int32_t Length() const;
  void Recompute();

private:
  TPoint p1;
  TPoint head1a;
  TPoint head1b;
  TPoint p2;
  TPoint head2a;
  TPoint head2b;
  int32_t headSize = kDefaultHeadSize;
  TDataTexte label;
};
