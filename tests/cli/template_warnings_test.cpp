#include "cli/template_warnings.h"

#include <gtest/gtest.h>

#include <string>

namespace tunora {
namespace {

std::vector<std::string> warningsOf(std::u16string_view text) {
  TextLines lines;
  lines.appendText(text);
  return templateWarnings(lines);
}

// Every token a page fills is known, in both forms; the listing's keys that
// no page fills are not tokens.
TEST(TemplateWarnings, KnowsEveryTokenAndNoListingOnlyKey) {
  for (const std::u16string_view name :
       {u"album",        u"artist",       u"bitrate",    u"clcurrent",     u"clnormal",
        u"clnormalbg",   u"clselectedbg", u"comment",    u"commentbegin",  u"commentend",
        u"cover",        u"coverbegin",   u"coverend",   u"coverheight",   u"coverwidth",
        u"filename",     u"filetype",     u"genre",      u"lyrics",        u"lyricsbegin",
        u"lyricsend",    u"presenttags",  u"samplerate", u"shortfilename", u"songname",
        u"stereomode",   u"trackbegin",   u"trackcount", u"trackend",      u"tracknr",
        u"tracknrclean", u"year"}) {
    const std::u16string name16(name);
    EXPECT_TRUE(warningsOf(u"<$" + name16 + u"$> <$url:" + name16 + u"$>").empty());
  }
  for (const std::u16string_view name : {u"coverbytes", u"hastag", u"tracknrclea", u"yearx"})
    EXPECT_EQ(warningsOf(u"<$" + std::u16string(name) + u"$>").size(), 1u);
}

}  // namespace
}  // namespace tunora
