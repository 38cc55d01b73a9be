#include "trackinfo/tag_kind.h"

#include <gtest/gtest.h>

#include <vector>

namespace tunora {
namespace {

TEST(TagKind, PresentTagsJoinTheWordsInTheOrderGiven) {
  EXPECT_EQ(presentTagsText({}), u"None");
  const std::vector<TagKind> one{TagKind::OggComments};
  EXPECT_EQ(presentTagsText(one), u"Ogg-Comments");
  const std::vector<TagKind> all{TagKind::ID3v1, TagKind::ID3v2, TagKind::Lyrics3, TagKind::APEv2};
  EXPECT_EQ(presentTagsText(all), u"ID3v1,ID3v2,L3v2,APEv2");
}

TEST(TagKind, EveryKindHasItsOwnWord) {
  for (std::size_t i = 0; i < kTagKindNames.size(); ++i) {
    EXPECT_EQ(tagKindName(kTagKindNames[i].kind), kTagKindNames[i].name);
    EXPECT_FALSE(kTagKindNames[i].name.empty());
    for (std::size_t j = 0; j < i; ++j) {
      EXPECT_NE(kTagKindNames[i].kind, kTagKindNames[j].kind);
      EXPECT_NE(kTagKindNames[i].name, kTagKindNames[j].name);
    }
  }
}

}  // namespace
}  // namespace tunora
