#pragma once
// Work on many items spread over the processors the process may use, each
// item's result handed over on the calling thread in the items' order.
// Reading a cached library is the processors' work rather than the disk's,
// so a second processor nearly halves it. The threads start once and never
// sleep while there is work: on a virtual machine, waking a sleeping thread
// can take milliseconds, as long as reading a hundred files.

#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

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

// Where the results of a run in order wait to be delivered: a slot for each
// item that is being made or waits, out of `window`. Slots are handed out
// last freed first, so the few that a run keeps busy stay in the processor's
// cache, while all of them are there for the items that wait when one thread
// falls behind another (as when the machine gives its processor to another
// program for a while). A slot keeps what its result held, and its room.
template <typename Result>
class OrderedSlots {
 public:
  explicit OrderedSlots(std::size_t window) : results_(window), slotOf_(window) {
    free_.reserve(window);
    for (std::size_t slot = window; slot-- > 0;) free_.push_back(slot);
  }

  // The slot of `index` from now until it is given back; called by `work`.
  Result& take(std::size_t index) {
    std::lock_guard lock(mutex_);
    const std::size_t slot = free_.back();
    free_.pop_back();
    slotOf_[index % slotOf_.size()] = slot;
    return results_[slot];
  }
  // Called by `deliver`, which gives the slot back when done with it.
  const Result& at(std::size_t index) const { return results_[slotOf_[index % slotOf_.size()]]; }
  void giveBack(std::size_t index) {
    std::lock_guard lock(mutex_);
    free_.push_back(slotOf_[index % slotOf_.size()]);
  }

 private:
  std::vector<Result> results_;
  std::vector<std::size_t> slotOf_;
  std::vector<std::size_t> free_;
  std::mutex mutex_;
};

// How many threads a listing of `files` files is worth: none beside the
// calling one for a few files, where starting a thread costs more than it
// saves, and no more than the process has processors.
std::size_t listingThreads(std::size_t files);

}  // namespace tunora
