#include "cli/ordered_work.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "cli/helper_thread.h"

namespace tunora {
namespace {

class OrderedRun {
 public:
  OrderedRun(std::size_t count, std::size_t window, const OrderedWorkFunction& work,
             const OrderedDeliverFunction& deliver)
      : count_(count), window_(window), work_(work), deliver_(deliver), ready_(window) {}

  // A helper thread: items until none is left, or the run has stopped.
  void help(std::size_t worker) {
    while (!stopped_.load(std::memory_order_acquire)) {
      const std::size_t index = next_.fetch_add(1, std::memory_order_relaxed);
      if (index >= count_) return;
      // Its slot is free once the item a window before it is delivered,
      // which the calling thread does soon: yielding, not sleeping.
      while (index >= delivered_.load(std::memory_order_acquire) + window_) {
        if (stopped_.load(std::memory_order_acquire)) return;
        std::this_thread::yield();
      }
      make(index, worker);
    }
  }

  // The calling thread: delivers the results in order, and makes one itself
  // whenever the next is not ready yet.
  void lead() {
    try {
      std::size_t delivered = 0;
      std::optional<std::size_t> held;
      bool noneLeft = false;
      while (delivered < count_ && !stopped_.load(std::memory_order_acquire)) {
        std::atomic<bool>& ready = ready_[delivered % window_];
        if (ready.load(std::memory_order_acquire)) {
          deliver_(delivered);
          ready.store(false, std::memory_order_relaxed);
          delivered_.store(++delivered, std::memory_order_release);
          continue;
        }
        if (!held && !noneLeft) {
          held = next_.fetch_add(1, std::memory_order_relaxed);
          if (*held >= count_) {
            held.reset();
            noneLeft = true;
          }
        }
        if (held && *held < delivered + window_) {
          make(*std::exchange(held, std::nullopt), 0);
          continue;
        }
        // The next result is being made on another thread.
        std::this_thread::yield();
      }
    } catch (...) {
      fail(std::current_exception());
    }
    stopped_.store(true, std::memory_order_release);
  }

  void rethrow() {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  void make(std::size_t index, std::size_t worker) {
    try {
      work_(index, worker);
      ready_[index % window_].store(true, std::memory_order_release);
    } catch (...) {
      fail(std::current_exception());
    }
  }

  void fail(std::exception_ptr failure) {
    std::lock_guard lock(failureMutex_);
    if (!failure_) failure_ = failure;
    stopped_.store(true, std::memory_order_release);
  }

  const std::size_t count_;
  const std::size_t window_;
  const OrderedWorkFunction& work_;
  const OrderedDeliverFunction& deliver_;
  std::vector<std::atomic<bool>> ready_;
  std::atomic<std::size_t> next_ = 0;
  std::atomic<std::size_t> delivered_ = 0;
  std::atomic<bool> stopped_ = false;
  std::mutex failureMutex_;
  std::exception_ptr failure_;
};

}  // namespace

void runInOrder(std::size_t count, std::size_t threads, std::size_t window,
                const OrderedWorkFunction& work, const OrderedDeliverFunction& deliver) {
  threads = std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(count, 1));
  if (threads == 1) {
    for (std::size_t index = 0; index < count; ++index) {
      work(index, 0);
      deliver(index);
    }
    return;
  }
  OrderedRun run(count, std::max<std::size_t>(window, 1), work, deliver);
  {
    std::vector<HelperThread> helpers;
    for (std::size_t worker = 1; worker < threads; ++worker)
      helpers.emplace_back([&run, worker] { run.help(worker); });
    run.lead();
  }
  run.rethrow();
}

std::size_t listingThreads(std::size_t files) {
  // Starting a thread costs about as much as reading a few files.
  constexpr std::size_t kFilesPerThread = 16;
  constexpr std::size_t kMostThreads = 4;
  return std::clamp<std::size_t>(files / kFilesPerThread, 1,
                                 std::min(usableProcessors(), kMostThreads));
}

}  // namespace tunora
