#pragma once
// A thread that starts on another processor than the one that starts it.
// Left to itself, the system often queues a new thread behind its busy
// creator, where it waits for the next balancing of the load, milliseconds
// on a virtual machine. Once running, the thread may move like any other.
// Joined when destroyed.

#include <cstddef>
#include <functional>
#include <memory>

namespace tunora {

class HelperThread {
 public:
  explicit HelperThread(std::function<void()> body);
  ~HelperThread();

  HelperThread(HelperThread&&) noexcept;
  HelperThread& operator=(HelperThread&&) = delete;
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  // The platform's thread and what it runs.
  struct Running;

 private:
  std::unique_ptr<Running> running_;
};

// The processors this process may run on: fewer than the machine has where
// it is bound to some (taskset, a container's CPU set). At least 1.
std::size_t usableProcessors();

}  // namespace tunora
