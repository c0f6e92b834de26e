#include "Picking.h"

#include "TClient.h"
#include "TData.h"
#include "TPage.h"

namespace {

bool MeetsLayers(uint16_t layers, uint16_t editable, uint16_t protectedLayers)
{
  return (layers & editable) != 0 && (layers & protectedLayers) == 0;
}

uint16_t ProtectedLayers(const TPage* page)
{
  return page ? page->GetProtectedLayers() : uint16_t{0};
}

// A scan of a large page waits on memory, not on the tests: each object is
// asked for a few objects ahead, its first two cache lines (where the tests
// find the rectangle and the pen).
constexpr int32_t kPrefetchDistance = 8;

#if defined(__GNUC__)
// Always inline: GCC drops calls of an ordinary function that only
// prefetches, taking it for one without effect.
[[gnu::always_inline]] inline void PrefetchAhead(const TClient& client, int32_t index)
{
  if (index + kPrefetchDistance < client.ObjectCount()) {
    const char* ahead = reinterpret_cast<const char*>(client.ObjectAtIndex(index + kPrefetchDistance));
    __builtin_prefetch(ahead);
    __builtin_prefetch(ahead + 64);
  }
}
#else
inline void PrefetchAhead(const TClient&, int32_t) {}
#endif

} // namespace

uint16_t EditableLayers(const TPage* page)
{
  if (!page)
    return 0xFFFF;
  return static_cast<uint16_t>(page->GetVisibleLayers() & ~page->GetProtectedLayers());
}

bool IsOnEditableLayer(const TData& object, const TPage* page)
{
  return MeetsLayers(object.GetLayers(), EditableLayers(page), ProtectedLayers(page));
}

TData* PickObjectAt(const TClient& client, int32_t x, int32_t y)
{
  const TPage* page = client.GetPage();
  const uint16_t editable = EditableLayers(page);
  const uint16_t protectedLayers = ProtectedLayers(page);
  if (editable == 0)
    return nullptr;
  TData* best = nullptr;
  TRect bestArea;
  const int32_t count = client.ObjectCount();
  for (int32_t i = 0; i < count; ++i) {
    PrefetchAhead(client, i);
    TData* object = client.ObjectAtIndex(i);
    // The hit test first: it rules out nearly every object at once, while
    // the layers of a symbol instance are those of its definition's members.
    if (!object->Contains(x, y) || !MeetsLayers(object->GetLayers(), editable, protectedLayers))
      continue;
    TRect area;
    object->GetRect(area, kRectFrame);
    // Strictly smaller: on equal areas the lower object stays.
    if (!best || area.IsSmallerThan(bestArea)) {
      best = object;
      bestArea = area;
    }
  }
  return best;
}

bool IsInsideSelection(const TData& object, const TRect& rectangle)
{
  TRect bounds;
  object.GetRect(bounds, kRectSelection);
  return bounds.IsInside(rectangle);
}

int32_t SelectInRectangle(const TClient& client, const TRect& rectangle, uint16_t protectionMask,
                          const std::function<bool(TData*)>& take, int32_t& refused)
{
  refused = 0;
  const TPage* page = client.GetPage();
  const uint16_t editable = EditableLayers(page);
  const uint16_t protectedLayers = ProtectedLayers(page);
  if (editable == 0)
    return 0;
  int32_t taken = 0;
  const int32_t count = client.ObjectCount();
  for (int32_t i = 0; i < count; ++i) {
    PrefetchAhead(client, i);
    TData* object = client.ObjectAtIndex(i);
    if (!MeetsLayers(object->GetLayers(), editable, protectedLayers) ||
        !IsInsideSelection(*object, rectangle))
      continue;
    // Only an object the rectangle would have taken counts as refused: a
    // locked object elsewhere on the page says nothing about this pick.
    if (object->TestState(protectionMask)) {
      ++refused;
      continue;
    }
    if (!take(object))
      break;
    ++taken;
  }
  return taken;
}
