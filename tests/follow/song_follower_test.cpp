#include "follow/song_follower.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tunora {
namespace {

PlayerTrack track(std::string id, std::string title) {
  PlayerTrack made;
  made.trackId = std::move(id);
  made.title = std::move(title);
  return made;
}

TEST(SongFollower, OnePagePerSettledChangeOfTrack) {
  std::vector<std::string> shown;
  SongFollower follower([&](const PlayerTrack& played) { shown.push_back(played.title); });
  follower.onSettled();
  EXPECT_TRUE(shown.empty());

  // Announced in two steps, shown once with the later values.
  follower.onTrack(track("/1", ""));
  follower.onTrack(track("/1", "One"));
  follower.onSettled();
  // Repeated (a pause, a seek) and stopped: the page stays.
  follower.onTrack(track("/1", "One"));
  follower.onSettled();
  follower.onTrack({});
  follower.onSettled();
  follower.onTrack(track("/2", "Two"));
  follower.onSettled();
  // A long title is kept apart from others even when it is too long for
  // the tracker to keep, and is not shown again when repeated.
  const std::string longTitle(1 << 20, 'x');
  follower.onTrack(track("/3", longTitle));
  follower.onSettled();
  follower.onTrack(track("/3", longTitle));
  follower.onSettled();
  // The same track of another player is shown again.
  follower.onPlayerChanged();
  follower.onTrack(track("/3", longTitle));
  follower.onSettled();
  EXPECT_EQ(shown, (std::vector<std::string>{"One", "Two", longTitle, longTitle}));
}

}  // namespace
}  // namespace tunora
