#pragma once

#include "TData.h"
#include "TPoint.h"

#include <cstdint>
#include <vector>

class TDataOwner;

// A quadratic Bezier curve from start to end, bent towards the control
// point. It is drawn as a polyline of samples whose density follows the
// pen: a wider pen needs fewer of them. The samples and the rectangle (their
// bounding box) are recomputed after every change of the points or the pen.
class TDataBezier : public TData
{
public:
  static constexpr int32_t kVersion = 1;
  // Bounds of the number of inner samples.
  static constexpr int32_t kMinSteps = 1;
  static constexpr int32_t kMaxSteps = 2000;
  // Values of the handle: the point Resize moves (any other value: end).
  enum Handle : int32_t { kHandleStart = 1, kHandleEnd = 2, kHandleControl = 3 };

  // All three points at (0, 0), no samples yet.
  TDataBezier();
  TDataBezier(int32_t x0, int32_t y0, int32_t x2, int32_t y2, int32_t x1, int32_t y1);

  // Without a client a default curve (for readers); with one the user
  // places the start, drags the end, then bends the curve. Null when
  // cancelled.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  // Near a sample-to-sample segment.
  bool Contains(int32_t x, int32_t y) const override;
  bool Offset(int32_t dx, int32_t dy) override;
  // Moves the point the handle chooses.
  bool Resize(int32_t dx, int32_t dy) override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  bool Notify(uint16_t command, TRect* p) override;
  void GetRect(TRect& out, int32_t mode) const override;
  void SetRect(const TRect& r, int32_t mode) override;
  TData* Clone(TData* target, int32_t argument) const override;

  TPoint GetStart() const { return start; }
  TPoint GetEnd() const { return end; }
  TPoint GetControl() const { return control; }
  const std::vector<TPoint>& Samples() const { return samples; }
  int32_t GetHandle() const { return handle; }
  void SetHandle(int32_t h) { handle = h; }

private:
  void Resample();
  // The point Resize moves.
  const TPoint& HandlePoint() const;
  TPoint& HandlePoint();
  void DrawCurve(TPage* page) const;

  std::vector<TPoint> samples;
  TPoint start;
  TPoint end;
  TPoint control;
  uint16_t spare = 0; // stored, always 0
  int32_t handle = 0; // not stored, not cloned
};
