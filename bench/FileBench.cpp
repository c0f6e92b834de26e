// Reading and writing whole documents.
#include "BenchDocuments.h"

#include "DocumentFile.h"
#include "TaClientPage.h"

#include <malloc.h>

#include <memory>

namespace {

// Parsing the file and building the object list, as opening a document does.
void BM_LoadDocument(benchmark::State& state)
{
  const std::string& path = BenchDocumentFile(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    auto client = std::make_unique<TaClientPage>();
    if (LoadDocument(*client, path.c_str()) != 1)
      state.SkipWithError("the document did not load");
    state.PauseTiming();
    client.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadDocument)->Apply(DocumentSizes)->Unit(benchmark::kMillisecond);

void BM_SaveDocument(benchmark::State& state)
{
  TaClientPage& client = BenchDocument(static_cast<int32_t>(state.range(0)));
  client.SetFilePath(BenchTempPath("saved.vk1"));
  for (auto _ : state) {
    if (SaveDocument(client, false, false) != kDocumentDone)
      state.SkipWithError("the document was not saved");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveDocument)->Apply(DocumentSizes)->Unit(benchmark::kMillisecond);

size_t HeapInUse()
{
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// Heap bytes a loaded object takes (its record's object, the pieces it
// owns and its slot in the list), measured on 100 000 objects after the
// file's own buffer is gone.
void MemoryPerObject(benchmark::State& state, bool simpleOnly)
{
  constexpr int32_t kCount = 100000;
  const std::string& path = BenchDocumentFile(kCount, simpleOnly);
  double bytes = 0;
  for (auto _ : state) {
    malloc_trim(0);
    const size_t before = HeapInUse();
    auto client = std::make_unique<TaClientPage>();
    LoadDocument(*client, path.c_str());
    const size_t after = HeapInUse();
    bytes = static_cast<double>(after - before) / kCount;
    state.PauseTiming();
    client.reset();
    state.ResumeTiming();
  }
  state.counters["bytes_per_object"] = bytes;
}
BENCHMARK_CAPTURE(MemoryPerObject, simple, true)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MemoryPerObject, mixed, false)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
