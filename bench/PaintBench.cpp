// Painting a whole sheet into an image, as raster export does.
#include "BenchDocuments.h"

#include "SheetExport.h"
#include "TPageMem.h"
#include "TaClientPage.h"

namespace {

void BM_PaintObjects(benchmark::State& state)
{
  TaClientPage& client = BenchDocument(static_cast<int32_t>(state.range(0)));
  const int32_t zoom = static_cast<int32_t>(state.range(1));
  const TPage& page = *client.GetPage();
  TPageMem image(page.GetPaperWidth(), page.GetPaperHeight(), zoom);
  if (!image.HasBitmap()) {
    state.SkipWithError("no image");
    return;
  }
  // Once untimed: the first paint also loads the fonts the page uses.
  RenderSheet(client, image);
  for (auto _ : state)
    RenderSheet(client, image);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PaintObjects)
    ->ArgsProduct({DocumentCounts(), {100, 300}})
    ->ArgNames({"objects", "zoom"})
    ->Unit(benchmark::kMillisecond);

} // namespace
