#pragma once

#include <cstdint>

class TClient;

// The view's refresh of its objects: every object whose state has one of
// stateBits (every object when stateBits is 0) receives the refresh message,
// 32685 while the view has a window (the object repaints what changed),
// 32684 without one. Answers how many objects were refreshed.
int32_t RefreshObjects(TClient& client, uint16_t stateBits);

// Before printing: the date and time fields show the moment of printing.
int32_t RefreshBeforePrinting(TClient& client);
