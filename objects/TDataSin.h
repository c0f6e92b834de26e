#pragma once

#include "TData.h"
#include "TPoint.h"

#include <cstdint>
#include <vector>

class TDataOwner;
class TPage;

// A sine wave filling its rectangle: the width holds a number of quarter
// cycles, the height is the peak-to-peak amplitude, and the wave starts at
// one of the four quadrants. It is drawn as a polyline of samples taken
// relative to the left end of the rectangle's horizontal centre line: one
// per page unit, or fewer where a device pixel holds several units, and
// only across the area being painted. The samples are computed when they
// are needed and not kept, so a stored wave of any width costs no memory
// until it is drawn, and drawing it costs what the device can show.
class TDataSin : public TData
{
public:
  static constexpr int32_t kVersion = 1;
  static constexpr int32_t kMaxQuarters = 400;
  static constexpr int32_t kQuadrants = 4;
  // Samples() lists no wave wider than this (only a damaged file holds one).
  static constexpr int32_t kMaxSampledWidth = 1 << 20;
  // The most samples one paint draws, whatever the device.
  static constexpr int64_t kMaxPaintSamples = 1 << 16;

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
  // With argument 0 the copy's rectangle is made fit for sampling at once.
  TData* Clone(TData* target, int32_t argument) const override;

  int32_t GetQuarters() const { return quarters; }
  void SetQuarters(int32_t n) { quarters = n; }
  int32_t GetStartQuarter() const { return startQuarter; }
  void SetStartQuarter(int32_t q) { startQuarter = q; }
  // Every sample, one per page unit; none when quarters is below 1 or the
  // wave is wider than kMaxSampledWidth.
  std::vector<TPoint> Samples() const;
  // The samples a paint on page draws: across its clip area, at most one
  // per device pixel and kMaxPaintSamples in all.
  std::vector<TPoint> PaintSamples(const TPage& page) const;
  // Widens the rectangle to at least one unit per quarter and two units of
  // height, as the samples need.
  void Resample();

private:
  // The wave as a polyline of PaintSamples.
  void PaintWave(TPage* page) const;
  // The sample i page units from the left end.
  TPoint SampleAt(int64_t i) const;
  int32_t quarters = 4;
  int32_t startQuarter = 0;
};
