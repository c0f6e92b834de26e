// Editing on a large page: copying a large group and dragging one object.
#include "BenchDocuments.h"

#include "CommandIds.h"
#include "TDataGroup.h"
#include "TDataRectangle.h"
#include "TScriptedInput.h"
#include "TaClientPage.h"

#include <memory>

namespace {

// Clone of a group holding a copy of every object of the document, as
// copying a whole page to the copy buffer does.
void BM_CloneGroup(benchmark::State& state)
{
  TaClientPage& client = BenchDocument(static_cast<int32_t>(state.range(0)));
  TDataGroup group;
  for (int32_t i = 0; i < client.ObjectCount(); ++i)
    group.AddChild(client.ObjectAtIndex(i)->Clone(nullptr, 0));
  for (auto _ : state) {
    std::unique_ptr<TData> copy(group.Clone(nullptr, 0));
    state.PauseTiming();
    copy.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CloneGroup)->Apply(DocumentSizes)->Unit(benchmark::kMillisecond);

// One step of dragging an object with the mouse: the outline erased, the
// object moved, the outline drawn again and the readout shown. The view's
// document does not take part, so a step costs the same on an empty page as
// on a full one.
void BM_DragStep(benchmark::State& state)
{
  constexpr int32_t kSteps = 100;
  const int32_t count = static_cast<int32_t>(state.range(0));
  TaClientPage empty;
  TaClientPage& client = count == 0 ? empty : BenchDocument(count);
  TDataRectangle object(300, 400, 80, 50);
  for (auto _ : state) {
    state.PauseTiming();
    TScriptedInput input;
    input.Attach(&client);
    input.SetPointer(340, 425);
    for (int32_t i = 0; i < kSteps; ++i)
      input.Drag(i % 2 == 0 ? 10 : -10, 0);
    input.LeftUp();
    state.ResumeTiming();
    if (client.TrackObject(&object, CM_OBJ_POSITION, nullptr) != TClient::kTrackReleased)
      state.SkipWithError("the drag did not end with the button");
    state.PauseTiming();
    client.SetInput(nullptr);
    state.ResumeTiming();
  }
  state.counters["per_step"] = benchmark::Counter(static_cast<double>(state.iterations() * kSteps),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DragStep)->Arg(0)->Apply(DocumentSizes)->Unit(benchmark::kMillisecond);

} // namespace
