#include "serve/bounded_task_queue.h"

#include <gtest/gtest.h>

#include <future>

namespace tunora {
namespace {

using namespace std::chrono_literals;

// One thread, room for two waiting connections: the third waits for room.
TEST(BoundedTaskQueue, AcceptingWaitsForRoomOrTheOpenGate) {
  for (const bool byOpening : {false, true}) {
    SCOPED_TRACE(byOpening ? "the gate opens" : "the thread takes one");
    auto gate = std::make_shared<BoundedTaskQueue::Gate>();
    BoundedTaskQueue queue(1, 2, gate);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> started;
    queue.enqueue([&] {
      started.set_value();
      released.wait();
    });
    started.get_future().wait();
    std::atomic<int> done = 0;
    queue.enqueue([&] { ++done; });
    queue.enqueue([&] { ++done; });
    auto third = std::async(std::launch::async, [&] { queue.enqueue([&] { ++done; }); });
    EXPECT_EQ(third.wait_for(100ms), std::future_status::timeout);
    if (byOpening) {
      {
        const std::lock_guard lock(gate->mutex);
        gate->open = true;
      }
      gate->changed.notify_all();
      EXPECT_EQ(third.wait_for(2s), std::future_status::ready);
      release.set_value();
    } else {
      release.set_value();
      EXPECT_EQ(third.wait_for(2s), std::future_status::ready);
    }
    // Everything accepted before the end is still done.
    queue.shutdown();
    EXPECT_EQ(done, 3);
  }
}

}  // namespace
}  // namespace tunora
