#include "serve/bounded_task_queue.h"

#include <utility>

namespace tunora {

BoundedTaskQueue::BoundedTaskQueue(std::size_t threads, std::size_t maxWaiting,
                                   std::shared_ptr<Gate> gate)
    : maxWaiting_(maxWaiting), gate_(std::move(gate)) {
  threads_.reserve(threads);
  for (std::size_t i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
}

BoundedTaskQueue::~BoundedTaskQueue() {
  shutdown();
}

void BoundedTaskQueue::enqueue(std::function<void()> task) {
  {
    std::unique_lock lock(gate_->mutex);
    gate_->changed.wait(lock, [&] { return waiting_.size() < maxWaiting_ || gate_->open; });
    waiting_.push_back(std::move(task));
  }
  work_.notify_one();
}

void BoundedTaskQueue::shutdown() {
  {
    const std::lock_guard lock(gate_->mutex);
    ending_ = true;
  }
  work_.notify_all();
  for (std::thread& thread : threads_)
    if (thread.joinable()) thread.join();
}

void BoundedTaskQueue::work() {
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock lock(gate_->mutex);
      work_.wait(lock, [&] { return !waiting_.empty() || ending_; });
      // The connections accepted before the end are still answered.
      if (waiting_.empty()) return;
      task = std::move(waiting_.front());
      waiting_.pop_front();
    }
    gate_->changed.notify_one();
    task();
  }
}

}  // namespace tunora
