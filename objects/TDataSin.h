#pragma once

#include "TData.h"
#include "TPoint.h"

#include <cstdint>
#include <vector>

class TDataOwner;

// A sine wave filling its rectangle: the width holds a number of quarter
// cycles, the height is the peak-to-peak amplitude, and the wave starts at
// one of the four quadrants. It is drawn as a polyline with one sample per
// horizontal page unit, kept relative to the left end of the rectangle's
// horizontal centre line, so moving the wave never resamples it.
class TDataSin : public TData
{
public:
  static constexpr int32_t kVersion = 1;
  static constexpr int32_t kMaxQuarters = 400;
  static constexpr int32_t kQuadrants = 4;
  // Wider waves are not sampled (nor drawn): their samples would take more
  // memory than any page could show. Only a damaged file holds one.
  static constexpr int32_t kMaxSampledWidth = 1 << 20;

  // An empty rectangle, one full cycle, no samples.
  TDataSin();
  TDataSin(int32_t x, int32_t y, int32_t width, int32_t height);

  // Without a client a default sinusoid (for readers); with one the user
  // places a corner and drags the opposite one. Null when cancelled.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  // Near a sample-to-sample segment.
  bool Contains(int32_t x, int32_t y) const override;
  // Resamples when the rectangle changed; always true.
  bool Resize(int32_t dx, int32_t dy) override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  bool Notify(uint16_t command, TRect* p) override;
  void GetRect(TRect& out, int32_t mode) const override;
  // With argument 0 the copy is resampled at once; otherwise on its first
  // paint.
  TData* Clone(TData* target, int32_t argument) const override;

  int32_t GetQuarters() const { return quarters; }
  void SetQuarters(int32_t n) { quarters = n; }
  int32_t GetStartQuarter() const { return startQuarter; }
  void SetStartQuarter(int32_t q) { startQuarter = q; }
  const std::vector<TPoint>& Samples() const { return samples; }
  // Rebuilds the samples from the rectangle, the quarters and the start
  // quadrant; first widens the rectangle to at least one unit per quarter
  // and two units of height. No samples when quarters is below 1.
  void Resample();

private:
  int32_t quarters = 4;
  int32_t startQuarter = 0;
  std::vector<TPoint> samples;
};
