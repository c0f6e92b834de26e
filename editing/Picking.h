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

class TDataGroup;

// ---- picking objects for a command ----

// Results of PickByClick and PickByRectangle.
enum PickResult : int32_t { kPickNothing = 0, kPickTaken = 1, kPickSpace = 2 };
// Why a pick took nothing.
enum PickRefusal : int32_t { kNotRefused = 0, kRefusedByProtection = 1, kRefusedByCarrier = 2 };

// Waits for a click on an object (clicks beside every object are ignored)
// and puts it in carrier, unless its state meets protectionMask (refusal 1)
// or the carrier cannot take it (refusal 2). Snap is suspended meanwhile.
// SPACEBAR (with kAcceptSpace in accept) answers kPickSpace. The carrier's
// rectangle grows by the object's selection bounds and its reference point
// becomes the object's position.
int32_t PickByClick(TClient& view, TDataGroup& carrier, const char* prompt, int32_t& refusal,
                    uint16_t protectionMask, uint16_t accept);
// Lets the user draw a rectangle and puts every object inside it that obeys
// the layer rule and the mask in carrier. Nothing taken: kPickNothing, with
// refusal 1 when some object inside was refused by its protection. The
// carrier's rectangle is the union of the objects' selection bounds, its
// reference point the position with the smallest x + y.
int32_t PickByRectangle(TClient& view, TDataGroup& carrier, const char* prompt, int32_t& refusal,
                        uint16_t protectionMask, uint16_t accept);
// The pick of a command: by rectangle or by click, SPACEBAR switching from
// one to the other as often as the user likes. 1 when carrier holds at
// least one object; 0 when the view has none, nothing was taken or the
// user cancelled.
int32_t PickObjects(TClient& view, TDataGroup& carrier, const char* clickPrompt, const char* rectanglePrompt,
                    int32_t& refusal, uint16_t protectionMask, bool clickFirst);
