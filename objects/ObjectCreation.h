#pragma once

#include "TPoint.h"

#include <functional>
#include <memory>

class TDataOwner;
class TData;

// The first step of every interactive creation: the user gives the position
// (a click, or typed coordinates), build makes the object there and the
// object goes on the view's active layers. Null when the user cancels.
std::unique_ptr<TData> PlaceObject(TDataOwner& client,
                                   const std::function<std::unique_ptr<TData>(TPoint)>& build);

// The interactive creation of the kinds that are placed by one point and
// then sized by one drag: the user gives the position (a click, or typed
// coordinates), build makes the object there, the object goes on the view's
// active layers, and the "Size" command lets the user drag it out. Null when
// the user cancels either step; nothing is left behind then.
std::unique_ptr<TData> PlaceAndSize(TDataOwner& client,
                                    const std::function<std::unique_ptr<TData>(TPoint)>& build);

// Hands over a newly created object unless it has no area (a click without
// a drag): such an object could be neither seen nor clicked again.
TData* ReleaseIfNotEmpty(std::unique_ptr<TData> object);
