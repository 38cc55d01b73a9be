#include "cli/helper_thread.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>

#include "cli/ordered_work.h"

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

TEST(HelperThread, ListingsUseOnlyTheProcessorsTheProcessIsBoundTo) {
  cpu_set_t callers;
  ASSERT_EQ(sched_getaffinity(0, sizeof callers, &callers), 0);
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(sched_getcpu(), &one);
  ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
  const std::size_t bound = usableProcessors();
  const std::size_t threads = listingThreads(1000);
  sched_setaffinity(0, sizeof callers, &callers);
  EXPECT_EQ(bound, 1u);
  EXPECT_EQ(threads, 1u);
}

}  // namespace
}  // namespace tunora
