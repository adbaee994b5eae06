#pragma once

#include <functional>

namespace zuk {

// Runs `work(first, end)` over the rows 0..rows-1 split into two bands, the first on a thread of
// its own and the second on the calling thread, so that a picture operation whose rows do not
// depend on each other uses both processors of the machine. Small pictures are worked in one
// band. Returns when both bands are done; an exception of either band reaches the caller.
void forRowBands(int rows, const std::function<void(int first, int end)>& work);

// Whether work on this many rows gains from a second thread: the rows are enough to outweigh
// its start, and the machine has a second processor.
bool secondThreadPays(int rows);

} // namespace zuk
