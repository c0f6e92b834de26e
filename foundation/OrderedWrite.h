#pragma once

#include <cstddef>
#include <functional>

class TOutStream;

// Writes items [0, count) into os in order, as calling write(os, i) for each
// in turn would, on two cores: a helper thread writes every other run of
// items into a buffer of its own, which is appended when its turn comes.
// The helper is at most two runs ahead, so what waits in memory stays
// small however long the list is. write is called on two threads at once,
// for different items: it may read what they share but change none of it.
// Writing stops early once os goes bad; an exception thrown by write
// reaches the caller.
void WriteInOrder(TOutStream& os, size_t count, const std::function<void(TOutStream&, size_t)>& write);
