#pragma once
// Work on many items spread over the processors the process may use, each
// item's result handed over on the calling thread in the items' order.
// Reading a cached library is the processors' work rather than the disk's,
// so a second processor nearly halves it. The threads start once and never
// sleep while there is work: on a virtual machine, waking a sleeping thread
// can take milliseconds, as long as reading a hundred files.

#include <cstddef>
#include <functional>

namespace tunora {

// `work(index, worker)` makes the result of an item, on any of the threads;
// `worker` is below `threads` and tells each thread its own, so that a
// thread's scratch space needs no lock. `deliver(index)` takes it, on the
// calling thread, in the order of the indexes. Work on `index` starts only
// once `index - window` is delivered, so that the results may be kept in
// `window` slots, `index % window`. `threads` counts the calling thread: 1
// starts none. The first exception that work or delivery throws is thrown
// here, after the other threads have stopped.
using OrderedWorkFunction = std::function<void(std::size_t index, std::size_t worker)>;
using OrderedDeliverFunction = std::function<void(std::size_t index)>;
void runInOrder(std::size_t count, std::size_t threads, std::size_t window,
                const OrderedWorkFunction& work, const OrderedDeliverFunction& deliver);

// How many threads a listing of `files` files is worth: none beside the
// calling one for a few files, where starting a thread costs more than it
// saves, and no more than the process has processors.
std::size_t listingThreads(std::size_t files);

}  // namespace tunora
