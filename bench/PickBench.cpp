// Picking over the whole object list: a click, and a drawn rectangle.
#include "BenchDocuments.h"

#include "Picking.h"
#include "TData.h"
#include "TaClientPage.h"

#include <vector>

namespace {

// Fixed points and rectangles spread over the paper, the same every run.
std::vector<TRect> Probes(int32_t size)
{
  std::vector<TRect> probes;
  uint32_t state = 12345;
  auto next = [&state](int32_t range) {
    state = state * 1103515245u + 12345u;
    return static_cast<int32_t>((state >> 8) % static_cast<uint32_t>(range));
  };
  for (int32_t i = 0; i < 256; ++i) {
    const int32_t x = next(800 - size), y = next(1000 - size);
    probes.emplace_back(x, y, x + size, y + size);
  }
  return probes;
}

void BM_ObjectAt(benchmark::State& state)
{
  TaClientPage& client = BenchDocument(static_cast<int32_t>(state.range(0)));
  const std::vector<TRect> points = Probes(1);
  size_t i = 0;
  int64_t hits = 0;
  for (auto _ : state) {
    const TRect& p = points[i++ % points.size()];
    TData* picked = client.ObjectAt(p.left, p.top);
    benchmark::DoNotOptimize(picked);
    hits += picked != nullptr;
  }
  state.counters["hit_ratio"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ObjectAt)->Apply(DocumentSizes)->Unit(benchmark::kMillisecond);

// The selection test of a drawn rectangle over the whole list.
void BM_SelectInRectangle(benchmark::State& state)
{
  TaClientPage& client = BenchDocument(static_cast<int32_t>(state.range(0)));
  const std::vector<TRect> rectangles = Probes(150);
  size_t i = 0;
  int64_t taken = 0;
  for (auto _ : state) {
    int32_t refused = 0;
    taken += SelectInRectangle(
        client, rectangles[i++ % rectangles.size()], 0, [](TData*) { return true; }, refused);
  }
  state.counters["taken"] = static_cast<double>(taken) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SelectInRectangle)->Apply(DocumentSizes)->Unit(benchmark::kMillisecond);

} // namespace
