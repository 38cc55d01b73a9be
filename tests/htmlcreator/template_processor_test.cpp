#include <gtest/gtest.h>

#include "htmlcreator/html_creator.h"
#include "htmlcreator/page_support.h"

namespace tunora {
namespace {

using testing::linesOf;
using testing::makeTrack;
using testing::textOf;

class TemplateProcessor : public testing::PageTest {
 protected:
  void addTitles(std::initializer_list<std::u16string_view> titles) {
    for (const auto title : titles) tracks.add(makeTrack({.title = std::u16string(title)}));
  }
};

TEST_F(TemplateProcessor, CommentsRemoveWholeLines) {
  addTitles({u"T"});
  EXPECT_EQ(process("a\nbefore <!--$ x\nmiddle\ny $--> after\nb"), "a\n\n\n\nb");
  // Two comments, and an ordinary HTML comment that stays.
  EXPECT_EQ(process("<!--$\n$-->\n<!-- kept -->\n<!--$ $-->\nc"), "\n\n<!-- kept -->\n\nc");
  // An opening without a closing stays, with all that follows.
  EXPECT_EQ(process("<!--$ open\n<$songname$>"), "<!--$ open\nT");
}

TEST_F(TemplateProcessor, ColoursAndTrackCountApplyEverywhere) {
  addTitles({u"A", u"B"});
  colours.normal = u"#111111";
  EXPECT_EQ(process("<$clnormal$>/<$clnormalbg$>/<$clcurrent$>/<$clselectedbg$>\n"
                    "<$trackbegin$>\n<$songname$> of <$trackcount$>\n<$trackend$>"),
            "#111111/#000000/#FFFFFF/#0000FF\nA of 2\nB of 2");
}

TEST_F(TemplateProcessor, WithoutTrackSectionTheWholeTemplateRepeats) {
  addTitles({u"one", u"two", u"three"});
  EXPECT_EQ(process("<h1><$songname$></h1>\n<$artist$>"),
            "<h1>one</h1>\nUnknown\n<h1>two</h1>\nUnknown\n<h1>three</h1>\nUnknown");
}

TEST_F(TemplateProcessor, SectionsKeepTheirOrderAndDropMarkerLines) {
  addTitles({u"x", u"y"});
  EXPECT_EQ(process("head <$songname$>\n<$trackbegin$> dropped\n[<$songname$>]\n"
                    "<$trackend$> dropped\nmiddle\n<$trackbegin$>\n(<$songname$>)\n<$trackend$>\n"
                    "tail"),
            "head <$songname$>\n[x]\n[y]\nmiddle\n(x)\n(y)\ntail");
  // Begin and end on one line: an empty track section.
  EXPECT_EQ(process("a\n<$trackbegin$><$trackend$>\nb"), "a\nb");
  // A missing end: the track section runs to the end of the template.
  EXPECT_EQ(process("a\n<$trackbegin$>\n<$songname$>\n<$songname$>!"), "a\nx\nx!\ny\ny!");
}

TEST_F(TemplateProcessor, MalformedTokensStayAsWritten) {
  addTitles({u"T"});
  EXPECT_EQ(process("<$SongName$> <$song\nname$> <$unknown$> <$songname$"),
            "<$SongName$> <$song\nname$> <$unknown$> <$songname$");
}

TEST_F(TemplateProcessor, ValuesThatLookLikeTokensAreShownAsText) {
  tracks.add(makeTrack({.title = u"<$songname$>", .artist = u"<$album$>", .album = u"Real"}));
  EXPECT_EQ(process("<$songname$> / <$artist$> / <$album$>"),
            "&lt;$songname$&gt; / &lt;$album$&gt; / Real");
}

TEST_F(TemplateProcessor, CoverTokensInPairsSwitchOnRecolouring) {
  addTitles({u"T"});
  EXPECT_EQ(process("<img <$coverdark='#102030'$> <$coverlight='#F0E0D0'$>>"), "<img  >");
  EXPECT_TRUE(run->recolour);
  EXPECT_EQ(run->duotone.dark, u"#102030");
  EXPECT_EQ(run->duotone.light, u"#F0E0D0");

  // Colour tokens inside, as the default templates write them.
  EXPECT_EQ(process("<$coverdark='<$clnormalbg$>'$>\n<$coverlight='<$clselectedbg$>'$>"), "\n");
  EXPECT_EQ(run->duotone.dark, u"#000000");
  EXPECT_EQ(run->duotone.light, u"#0000FF");
}

TEST_F(TemplateProcessor, ALonelyCoverTokenStaysAndDoesNotRecolour) {
  addTitles({u"T"});
  EXPECT_EQ(process("<$coverdark='#000000'$>"), "<$coverdark='#000000'$>");
  EXPECT_FALSE(run->recolour);
  // Only the first of each token decides; a second one with other colours stays.
  EXPECT_EQ(process("<$coverdark='#111111'$><$coverlight='#222222'$>\n<$coverdark='#333333'$>"),
            "\n<$coverdark='#333333'$>");
  EXPECT_EQ(run->duotone.dark, u"#111111");
  // A token cut short by the line's end still counts as found, with the
  // literal colour text, which reads as black; only the complete one goes.
  EXPECT_EQ(process("<$coverdark='#12345\n<$coverlight='#FFFFFF'$>"), "<$coverdark='#12345\n");
  EXPECT_TRUE(run->recolour);
  EXPECT_EQ(run->duotone.dark, u"#RRGGBB");
}

TEST_F(TemplateProcessor, EmptyAndHugeTemplatesFinish) {
  addTitles({u"T"});
  EXPECT_EQ(process(""), "");
  std::string line;
  for (int i = 0; i < 40000; ++i) line += "<$clnormal$><$songname$><$trackcount$>";
  const std::string page = process(line);
  EXPECT_EQ(page.size(), 40000u * (7 + 1 + 1));
}

}  // namespace
}  // namespace tunora
