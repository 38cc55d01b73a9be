#include "cli/ordered_work.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <vector>

#include "cli/helper_thread.h"

namespace tunora {
namespace {

TEST(OrderedWork, EveryItemMadeOnceAndDeliveredInOrderFromItsSlot) {
  struct Case {
    std::size_t count, threads, window;
  };
  for (const Case c : {Case{0, 3, 4}, Case{1, 3, 4}, Case{1000, 1, 4}, Case{1000, 3, 1},
                       Case{1000, 3, 7}, Case{5, 8, 64}}) {
    std::vector<std::atomic<int>> made(c.count);
    OrderedSlots<std::size_t> slots(c.window);
    std::vector<std::size_t> delivered;
    std::atomic<bool> workerInRange = true;
    runInOrder(
        c.count, c.threads, c.window,
        [&](std::size_t index, std::size_t worker) {
          ++made[index];
          slots.take(index) = index;
          if (worker >= c.threads) workerInRange = false;
        },
        [&](std::size_t index) {
          // The slot still holds this item: no other item took it meanwhile.
          EXPECT_EQ(slots.at(index), index);
          slots.giveBack(index);
          delivered.push_back(index);
        });
    std::vector<std::size_t> expected(c.count);
    for (std::size_t i = 0; i < c.count; ++i) expected[i] = i;
    EXPECT_EQ(delivered, expected) << c.count << " items, " << c.threads << " threads";
    EXPECT_TRUE(std::all_of(made.begin(), made.end(), [](const auto& n) { return n == 1; }));
    EXPECT_TRUE(workerInRange);
  }
}

// The slot given back last is the next one taken, so that a run with few
// results waiting keeps reusing the same few; a full window uses them all.
TEST(OrderedWork, SlotsAreTakenLastGivenBackFirst) {
  OrderedSlots<int> slots(3);
  int* const first = &slots.take(0);
  int* const second = &slots.take(1);
  slots.giveBack(0);
  EXPECT_EQ(&slots.take(2), first);
  slots.giveBack(1);
  EXPECT_EQ(&slots.take(3), second);
  int* const third = &slots.take(4);
  EXPECT_NE(third, first);
  EXPECT_NE(third, second);
  EXPECT_EQ(&slots.at(2), first);
  EXPECT_EQ(&slots.at(4), third);
}

TEST(OrderedWork, AThrownExceptionStopsTheRunAndReachesTheCaller) {
  for (const std::size_t threads : {1u, 3u}) {
    std::atomic<std::size_t> delivered = 0;
    EXPECT_THROW(runInOrder(
                     1000, threads, 8,
                     [](std::size_t index, std::size_t) {
                       if (index == 500) throw std::runtime_error("bad file");
                     },
                     [&](std::size_t) { ++delivered; }),
                 std::runtime_error);
    EXPECT_LE(delivered, 500u);
    EXPECT_THROW(runInOrder(
                     1000, threads, 8, [](std::size_t, std::size_t) {},
                     [](std::size_t index) {
                       if (index == 10) throw std::runtime_error("full disk");
                     }),
                 std::runtime_error);
  }
}

TEST(OrderedWork, ListingThreadsOnlyForEnoughFilesAndProcessors) {
  const std::size_t processors = usableProcessors();
  EXPECT_EQ(listingThreads(0), 1u);
  EXPECT_EQ(listingThreads(31), 1u);
  EXPECT_EQ(listingThreads(32), std::min<std::size_t>(2, processors));
  EXPECT_EQ(listingThreads(100000), std::min<std::size_t>(4, processors));
}

}  // namespace
}  // namespace tunora
