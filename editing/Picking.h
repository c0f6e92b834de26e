#pragma once

#include <cstdint>
#include <functional>

class TClient;
class TData;
class TPage;
class TRect;

// What the user can pick on a document view, by clicking and by drawing a
// rectangle. Both go through the same layer rule: an object can be picked
// when it lies on an editable layer (visible and not protected) and on no
// protected layer, so an object that is also on a protected layer stays
// out of reach. Both are plain scans of the object list.

// The visible layers that are not protected; every layer without a page.
uint16_t EditableLayers(const TPage* page);

// The layer rule for one object.
bool IsOnEditableLayer(const TData& object, const TPage* page);

// The object under a page point: among the objects that contain it and
// obey the layer rule, the one whose rectangle has the smallest area, and
// on equal areas the one lowest in the list, so a small object on top of
// or under a large one is always reachable. Null when there is none.
TData* PickObjectAt(const TClient& client, int32_t x, int32_t y);

// The selection test of a drawn rectangle: the object's selection bounds
// lie entirely inside it, edges included.
bool IsInsideSelection(const TData& object, const TRect& rectangle);

// Offers take every object of the list, in list order, that lies inside
// rectangle and obeys the layer rule, until take answers false. Such
// objects whose state meets protectionMask are skipped and counted in
// refused instead. Returns how many objects take accepted; nothing is offered
// when no layer is editable.
int32_t SelectInRectangle(const TClient& client, const TRect& rectangle, uint16_t protectionMask,
                          const std::function<bool(TData*)>& take, int32_t& refused);
