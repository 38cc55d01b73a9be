#include "dispatch/page_request.h"

#include <gtest/gtest.h>

#include "support/fake_player.h"

namespace tunora {
namespace {

using Files = std::vector<std::u16string>;

TEST(PageRequest, EntriesAreTrimmedAndTheCountChoosesTheTemplate) {
  const testing::FakePlayer player;
  const PageRequest one = choosePageRequest({u"  C:\\Music\\A.mp3 "}, false, player);
  EXPECT_EQ(one.files, Files{u"C:\\Music\\A.mp3"});
  EXPECT_EQ(one.slot, TemplateSlot::SingleTrack);

  const PageRequest two = choosePageRequest({u" a.mp3", u""}, false, player);
  EXPECT_EQ(two.files, (Files{u"a.mp3", u""}));
  EXPECT_EQ(two.slot, TemplateSlot::MultipleTracks);

  EXPECT_EQ(choosePageRequest({u"a.mp3"}, true, player).slot, TemplateSlot::Directory);
  EXPECT_EQ(choosePageRequest({u"a", u"b", u"c"}, true, player).slot, TemplateSlot::Directory);
}

TEST(PageRequest, AnEmptyListShowsThePlayingFileLowerCased) {
  testing::FakePlayer player;
  player.playing = u"  C:\\Music\\Ärger SONG.MP3  ";
  for (const bool directoryMode : {false, true}) {
    const PageRequest request = choosePageRequest({}, directoryMode, player);
    // Only ASCII letters are lower-cased, as the player compares its names.
    EXPECT_EQ(request.files, Files{u"c:\\music\\Ärger song.mp3"});
    EXPECT_EQ(request.slot, TemplateSlot::SingleTrack);
  }
  player.present = false;
  EXPECT_EQ(choosePageRequest({}, false, player).files, Files{u""});
}

}  // namespace
}  // namespace tunora
