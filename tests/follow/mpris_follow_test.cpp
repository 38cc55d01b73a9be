#include "follow/mpris_follow.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

TEST(PlayerNames, ShortNamesAndInstancesNameThePlayer) {
  EXPECT_EQ(playerBusName("mpv"), "org.mpris.MediaPlayer2.mpv");
  EXPECT_EQ(playerBusName("org.mpris.MediaPlayer2.vlc"), "org.mpris.MediaPlayer2.vlc");
  const std::string vlc = playerBusName("vlc");
  EXPECT_TRUE(namesPlayer("org.mpris.MediaPlayer2.vlc", vlc));
  EXPECT_TRUE(namesPlayer("org.mpris.MediaPlayer2.vlc.instance4711", vlc));
  EXPECT_FALSE(namesPlayer("org.mpris.MediaPlayer2.vlcx", vlc));
  EXPECT_FALSE(namesPlayer("org.mpris.MediaPlayer2.vl", vlc));
}

}  // namespace
}  // namespace tunora
