#pragma once
// The server's threads: a fixed number of them, and a bounded queue of
// accepted connections waiting for one. When the queue is full, the
// accepting thread waits, so further clients wait in the system's listen
// queue instead of each costing a descriptor and memory here.

#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tunora {

class BoundedTaskQueue final : public httplib::TaskQueue {
 public:
  // What the server keeps of the queue, which the library owns and deletes:
  // opening the gate lets a waiting accept go on, so that the server can stop.
  struct Gate {
    std::mutex mutex;
    // Room in the queue, or the gate opened.
    std::condition_variable changed;
    bool open = false;
  };

  BoundedTaskQueue(std::size_t threads, std::size_t maxWaiting, std::shared_ptr<Gate> gate);
  ~BoundedTaskQueue() override;

  void enqueue(std::function<void()> task) override;
  void shutdown() override;

 private:
  void work();

  const std::size_t maxWaiting_;
  std::shared_ptr<Gate> gate_;
  // Under the gate's mutex. One thread is woken for each connection, not
  // all of them.
  std::condition_variable work_;
  std::deque<std::function<void()>> waiting_;
  bool ending_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace tunora
