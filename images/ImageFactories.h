#pragma once

#include <functional>

class TData;
class TImage;

// Registers the image object's factory in the class table, next to those of
// the other drawing objects (RegisterObjectFactories); calling it again is
// harmless.
void RegisterImageFactories();

// Calls visit for every image in object: the object itself, or the members
// of a group or symbol definition, at any depth.
void ForEachImage(TData* object, const std::function<void(TImage&)>& visit);
