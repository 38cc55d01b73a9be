#include "cli/helper_thread.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>

namespace tunora {
namespace {

TEST(HelperThread, RunsItsBodyFreeToMoveAndIsJoinedWhenDestroyed) {
  cpu_set_t callers;
  ASSERT_EQ(sched_getaffinity(0, sizeof callers, &callers), 0);
  std::atomic<bool> ran = false;
  std::atomic<bool> sameProcessors = false;
  {
    HelperThread helper([&] {
      // Started away from the caller, then given back every processor.
      cpu_set_t own;
      sameProcessors = sched_getaffinity(0, sizeof own, &own) == 0 && CPU_EQUAL(&own, &callers);
      ran = true;
    });
  }
  EXPECT_TRUE(ran);
  EXPECT_TRUE(sameProcessors);
}

}  // namespace
}  // namespace tunora
