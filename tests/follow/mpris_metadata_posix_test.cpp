// The metadata a player sends, read from a message as it comes off the bus,
// and the track values the page is made of.
#include "follow/mpris_metadata.h"

#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "follow/player_track.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

struct BusClose {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct MessageUnref {
  void operator()(sd_bus_message* m) const { sd_bus_message_unref(m); }
};

using Entry = std::function<int(sd_bus_message*)>;

template <typename Value>
Entry entry(const char* key, const char* type, Value value) {
  return [=](sd_bus_message* m) { return sd_bus_message_append(m, "{sv}", key, type, value); };
}

Entry list(const char* key, const char* first, const char* second) {
  return [=](sd_bus_message* m) {
    return sd_bus_message_append(m, "{sv}", key, "as", 2, first, second);
  };
}

class MprisMetadata : public ::testing::Test {
 protected:
  void SetUp() override {
    daemon_ = testing::PrivateSessionBus::start(dir_.path());
    if (!daemon_) GTEST_SKIP() << "needs dbus-daemon";
    sd_bus* raw = nullptr;
    ASSERT_GE(sd_bus_new(&raw), 0);
    bus_.reset(raw);
    ASSERT_GE(sd_bus_set_address(raw, daemon_->address().c_str()), 0);
    ASSERT_GE(sd_bus_set_bus_client(raw, 1), 0);
    ASSERT_GE(sd_bus_start(raw), 0);
  }

  // The entries as a sealed "a{sv}" message, read from its start.
  PlayerTrack read(const std::vector<Entry>& entries) {
    sd_bus_message* raw = nullptr;
    EXPECT_GE(sd_bus_message_new_signal(bus_.get(), &raw, "/t", "t.T", "M"), 0);
    const std::unique_ptr<sd_bus_message, MessageUnref> message(raw);
    int status = sd_bus_message_open_container(raw, 'a', "{sv}");
    for (const auto& add : entries)
      if (status >= 0) status = add(raw);
    if (status >= 0) status = sd_bus_message_close_container(raw);
    EXPECT_GE(status, 0);
    EXPECT_GE(sd_bus_message_seal(raw, 1, 0), 0);
    EXPECT_GE(sd_bus_message_rewind(raw, 1), 0);
    PlayerTrack track;
    EXPECT_TRUE(readMetadata(raw, track));
    return track;
  }

  testing::TempDir dir_;
  std::unique_ptr<testing::PrivateSessionBus> daemon_;
  std::unique_ptr<sd_bus, BusClose> bus_;
};

TEST_F(MprisMetadata, AlbumArtistsComposersDiscAndLength) {
  const auto track =
      read({list("xesam:albumArtist", "Various", "Others"), entry("xesam:composer", "s", "Writer"),
            entry("xesam:discNumber", "i", std::int32_t{2}),
            entry("mpris:length", "x", std::int64_t{215'307'499})});
  EXPECT_EQ(track.albumArtists, (std::vector<std::string>{"Various", "Others"}));
  EXPECT_EQ(track.composers, std::vector<std::string>{"Writer"});
  EXPECT_EQ(track.discNumber, 2);
  EXPECT_EQ(track.length, 215'307'499);

  const Track values = trackOf(track, u"x");
  EXPECT_EQ(values.albumArtist, u"Various, Others");
  EXPECT_EQ(values.composer, u"Writer");
  EXPECT_EQ(values.discNumber, u"2");
  EXPECT_EQ(values.stream.milliseconds, 215'307u);
}

TEST_F(MprisMetadata, NumbersOfEveryIntegerTypeWithinTheirField) {
  const struct {
    Entry value;
    std::optional<std::int32_t> disc;
    std::optional<std::int64_t> length;
  } cases[] = {
      {entry("xesam:discNumber", "y", std::uint8_t{3}), 3, std::nullopt},
      {entry("xesam:discNumber", "t", std::uint64_t{4}), 4, std::nullopt},
      {entry("xesam:discNumber", "x", std::int64_t{INT32_MAX}), INT32_MAX, std::nullopt},
      {entry("xesam:discNumber", "x", std::int64_t{INT32_MAX} + 1), std::nullopt, std::nullopt},
      {entry("xesam:discNumber", "s", "2"), std::nullopt, std::nullopt},
      {entry("mpris:length", "t", std::uint64_t{5'000'000}), std::nullopt, 5'000'000},
      {entry("mpris:length", "u", std::uint32_t{7}), std::nullopt, 7},
      {entry("mpris:length", "t", std::uint64_t{INT64_MAX}), std::nullopt, INT64_MAX},
      {entry("mpris:length", "t", std::uint64_t{INT64_MAX} + 1), std::nullopt, std::nullopt},
      {entry("mpris:length", "d", 1.5), std::nullopt, std::nullopt},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto track = read({cases[i].value, entry("xesam:title", "s", "after")});
    EXPECT_EQ(track.discNumber, cases[i].disc) << i;
    EXPECT_EQ(track.length, cases[i].length) << i;
    // A value of the wrong type does not end the reading.
    EXPECT_EQ(track.title, "after") << i;
  }
}

TEST(TrackOfPlayer, LengthAndDiscThatAreNone) {
  const struct {
    std::optional<std::int64_t> length;
    std::optional<std::uint64_t> milliseconds;
  } lengths[] = {
      {std::nullopt, std::nullopt},
      {-1'000'000, std::nullopt},
      {499, std::nullopt},
      {500, 1u},
      {1'499, 1u},
      {INT64_MAX, 9'223'372'036'854'776u},
  };
  for (const auto& c : lengths) {
    PlayerTrack track;
    track.length = c.length;
    EXPECT_EQ(trackOf(track, u"x").stream.milliseconds, c.milliseconds) << c.length.value_or(0);
  }
  PlayerTrack track;
  track.discNumber = 0;
  EXPECT_FALSE(trackOf(track, u"x").discNumber);
  // A length that comes later makes another page.
  PlayerTrack later = track;
  later.length = 1'000'000;
  EXPECT_NE(fingerprintOf(track), fingerprintOf(later));
}

}  // namespace
}  // namespace tunora
