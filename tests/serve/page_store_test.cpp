#include "serve/page_store.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <vector>

namespace tunora {
namespace {

using namespace std::chrono_literals;

ServedCovers coversNamed(std::initializer_list<std::string> names) {
  ServedCovers covers;
  for (const auto& name : names)
    covers.emplace(name, std::make_shared<const ServedCover>(ServedCover{"image/jpeg", name}));
  return covers;
}

TEST(PageStore, ServesTheFirstPageUntilOneIsPublished) {
  PageStore store("waiting", 4);
  EXPECT_EQ(store.page()->version, 0u);
  EXPECT_EQ(store.page()->html, "waiting");
  store.publish(1, "one", {});
  EXPECT_EQ(store.page()->version, 1u);
  EXPECT_EQ(store.page()->html, "one");
}

TEST(PageStore, KeepsTheCoversOfThisPageAndThePreviousOne) {
  PageStore store("", 4);
  store.publish(1, "one", coversNamed({"a.jpg"}));
  store.publish(2, "two", coversNamed({"b.jpg"}));
  ASSERT_TRUE(store.cover("a.jpg"));
  EXPECT_EQ(store.cover("b.jpg")->bytes, "b.jpg");
  store.publish(3, "three", coversNamed({"c.jpg"}));
  EXPECT_FALSE(store.cover("a.jpg"));
  EXPECT_TRUE(store.cover("b.jpg"));
  EXPECT_TRUE(store.cover("c.jpg"));
  EXPECT_FALSE(store.cover(""));
  EXPECT_FALSE(store.cover("../c.jpg"));
}

TEST(PageStore, SeatsEventClientsUpToTheLimit) {
  constexpr std::size_t kSeats = 3;
  PageStore store("", kSeats);
  std::vector<std::unique_ptr<EventSeat>> seats;
  for (std::size_t i = 0; i < kSeats; ++i) {
    seats.push_back(store.takeEventSeat());
    ASSERT_TRUE(seats.back()) << i;
  }
  EXPECT_FALSE(store.takeEventSeat());
  // A client that leaves frees its seat.
  seats.pop_back();
  EXPECT_TRUE(store.takeEventSeat());
  store.close();
  EXPECT_FALSE(store.takeEventSeat());
}

TEST(PageStore, WaitEndsWithTheVersionTheTimeOrTheClose) {
  PageStore store("", 4);
  // A version that already differs is told at once.
  EXPECT_EQ(store.waitForVersion(7, 0ms), 0u);
  const auto before = std::chrono::steady_clock::now();
  EXPECT_FALSE(store.waitForVersion(0, 50ms));
  EXPECT_GE(std::chrono::steady_clock::now() - before, 50ms);

  auto waiting = std::async(std::launch::async, [&] { return store.waitForVersion(0, 10s); });
  std::this_thread::sleep_for(20ms);
  store.publish(1, "one", {});
  ASSERT_EQ(waiting.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(waiting.get(), 1u);

  auto closing = std::async(std::launch::async, [&] { return store.waitForVersion(1, 10s); });
  std::this_thread::sleep_for(20ms);
  store.close();
  ASSERT_EQ(closing.wait_for(2s), std::future_status::ready);
  EXPECT_FALSE(closing.get());
  EXPECT_TRUE(store.closed());
}

TEST(PageStore, APublishWakesEveryWaitingClient) {
  PageStore store("", 64);
  std::vector<std::future<std::optional<std::uint64_t>>> clients;
  for (int i = 0; i < 50; ++i)
    clients.push_back(std::async(std::launch::async, [&] { return store.waitForVersion(0, 10s); }));
  std::this_thread::sleep_for(50ms);
  store.publish(5, "five", {});
  for (auto& client : clients) {
    ASSERT_EQ(client.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(client.get(), 5u);
  }
}

}  // namespace
}  // namespace tunora
