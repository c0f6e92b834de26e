#include "Picking.h"

#include "Geometry.h"
#include "TClient.h"
#include "TData.h"
#include "TDataGroup.h"
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

// ---- picking objects for a command ----

namespace {

// Keeps snap suspended while it lives: picking points at objects, not at
// the grid.
class SnapSuspension
{
public:
  explicit SnapSuspension(TClient& view) : m_view(view) { m_view.SuspendSnap(true); }
  ~SnapSuspension() { m_view.SuspendSnap(false); }
  SnapSuspension(const SnapSuspension&) = delete;
  SnapSuspension& operator=(const SnapSuspension&) = delete;

private:
  TClient& m_view;
};

TPoint PositionOf(const TData& object)
{
  TRect position;
  object.GetRect(position, kRectPosition);
  return {position.left, position.top};
}

void SetReferenceTo(TDataGroup& carrier, TPoint position)
{
  carrier.SetReference(SaturateInt32(int64_t{position.x} - carrier.left),
                       SaturateInt32(int64_t{position.y} - carrier.top));
}

} // namespace

int32_t PickByClick(TClient& view, TDataGroup& carrier, const char* prompt, int32_t& refusal,
                    uint16_t protectionMask, uint16_t accept)
{
  refusal = kNotRefused;
  TData* object = nullptr;
  while (!object) {
    int32_t x = 0, y = 0;
    int32_t answer;
    {
      SnapSuspension suspended(view);
      answer = view.GetPoint(x, y, prompt, false, TDataOwner::kCursorPick, accept);
    }
    if (answer == TDataOwner::kPointCancelled)
      return kPickNothing;
    if (answer == TDataOwner::kPointSpace)
      return kPickSpace;
    if (answer == TDataOwner::kPointGiven)
      object = view.ObjectAt(x, y);
  }
  if (object->TestState(protectionMask)) {
    refusal = kRefusedByProtection;
    return kPickNothing;
  }
  const bool wasEmpty = carrier.GetChildCount() == 0;
  if (!carrier.AddChild(object)) {
    refusal = kRefusedByCarrier;
    return kPickNothing;
  }
  TRect bounds;
  object->GetRect(bounds, kRectSelection);
  if (!wasEmpty)
    bounds.Union(carrier);
  carrier.Assign(bounds);
  SetReferenceTo(carrier, PositionOf(*object));
  return kPickTaken;
}

int32_t PickByRectangle(TClient& view, TDataGroup& carrier, const char* prompt, int32_t& refusal,
                        uint16_t protectionMask, uint16_t accept)
{
  refusal = kNotRefused;
  if (EditableLayers(view.GetPage()) == 0)
    return kPickNothing;
  TRect drawn;
  int32_t answer;
  {
    SnapSuspension suspended(view);
    answer = view.GetRectangle(drawn, prompt, accept);
  }
  if (answer != 1)
    return answer == TDataOwner::kPointSpace ? kPickSpace : kPickNothing;
  drawn.Normalize();
  int32_t refused = 0;
  bool first = true;
  TPoint reference;
  int64_t smallestSum = 0;
  const int32_t taken = SelectInRectangle(
      view, drawn, protectionMask,
      [&](TData* object) {
        if (!carrier.AddChild(object))
          return false;
        // The reference point: the position nearest the top-left corner,
        // the first one on equal sums.
        const TPoint position = PositionOf(*object);
        const int64_t sum = int64_t{position.x} + position.y;
        if (first || sum < smallestSum) {
          smallestSum = sum;
          reference = position;
        }
        first = false;
        return true;
      },
      refused);
  if (taken == 0) {
    if (refused > 0)
      refusal = kRefusedByProtection;
    return kPickNothing;
  }
  TRect bounds;
  carrier.UnionOfChildren(bounds, kRectSelection);
  carrier.Assign(bounds);
  SetReferenceTo(carrier, reference);
  return kPickTaken;
}

int32_t PickObjects(TClient& view, TDataGroup& carrier, const char* clickPrompt, const char* rectanglePrompt,
                    int32_t& refusal, uint16_t protectionMask, bool clickFirst)
{
  refusal = kNotRefused;
  if (view.ObjectCount() == 0)
    return 0;
  bool byClick = clickFirst;
  for (;;) {
    const int32_t answer =
        byClick ? PickByClick(view, carrier, clickPrompt, refusal, protectionMask, TDataOwner::kAcceptSpace)
                : PickByRectangle(view, carrier, rectanglePrompt, refusal, protectionMask,
                                  TDataOwner::kAcceptSpace);
    if (answer != kPickSpace)
      return answer == kPickTaken ? 1 : 0;
    byClick = !byClick;
  }
}
