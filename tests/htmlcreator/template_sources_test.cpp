#include <gtest/gtest.h>

#include <filesystem>

#include "htmlcreator/html_creator.h"
#include "htmlcreator/page_builder.h"
#include "htmlcreator/page_support.h"
#include "io/file.h"
#include "io/text_file.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::makeTrack;
using testing::textOf;
using testing::toU16;

constexpr TemplateSlot kSlots[] = {TemplateSlot::SingleTrack, TemplateSlot::MultipleTracks,
                                   TemplateSlot::Directory, TemplateSlot::Mini};

class TemplateSources : public testing::PageTest {
 protected:
  TemplateSources() {
    host.folder = toU16(dir.path() / "covers") + static_cast<char16_t>(kPathSeparator);
  }
  testing::TempDir dir;
};

TEST_F(TemplateSources, EmbeddedDefaultsAreUnicodeTemplatesWithTheirCommentBlock) {
  for (const auto slot : kSlots) {
    const std::u16string& text = creator.defaultTemplate(slot);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.front(), char16_t{0xFEFF});
    // The doctype comes first, so that the cleared comment block leaves no
    // blank lines before it.
    EXPECT_TRUE(text.starts_with(u"<!DOCTYPE html>\r\n<!--$"));
    EXPECT_TRUE(creator.templateLines(slot).isUnicode());
    // The comment block ends where the page begins.
    EXPECT_LT(text.find(u"$-->"), text.find(u"<html>"));
  }
}

TEST_F(TemplateSources, AMissingFileSelectsTheEmbeddedDefault) {
  creator.chooseTemplate(TemplateSlot::Directory, dir.file("missing.html"));
  EXPECT_EQ(creator.templatePath(TemplateSlot::Directory), kSelectTemplate);
  const TextLines& lines = creator.templateLines(TemplateSlot::Directory);
  ASSERT_GT(lines.lineCount(), 10u);
  // The default's CR LF line ends leave a CR at the end of each line.
  EXPECT_TRUE(lines.line(0)->ends_with(u"\r"));
}

TEST_F(TemplateSources, AChosenFileIsUtf16OrUtf8) {
  const std::u16string unicode = dir.file("mine.html");
  TextLines mine = testing::linesOf("<b><$songname$></b>");
  mine.setUnicode(true);
  ASSERT_EQ(saveTextFile(mine, unicode), 1);
  creator.chooseTemplate(TemplateSlot::SingleTrack, unicode);
  EXPECT_EQ(creator.templatePath(TemplateSlot::SingleTrack), unicode);
  EXPECT_EQ(textOf(creator.templateLines(TemplateSlot::SingleTrack)), "<b><$songname$></b>");

  // What an editor saves today; a file with NUL bytes is no UTF-8 text.
  const struct {
    const char* what;
    std::string bytes;
    std::string text;
  } cases[] = {
      {"UTF-8 with a mark", "\xEF\xBB\xBF<b>\xC3\xA4</b>", "<b>\xC3\xA4</b>"},
      {"UTF-8 without one", "<b>\xC3\xA4</b>", "<b>\xC3\xA4</b>"},
      {"UTF-16LE without a mark", std::string("<\0b\0>\0", 6), ""},
  };
  for (const auto& c : cases) {
    const std::u16string path = dir.file("other.html");
    ASSERT_TRUE(writeWholeFile(path, std::vector<std::uint8_t>(c.bytes.begin(), c.bytes.end())));
    creator.chooseTemplate(TemplateSlot::SingleTrack, path);
    EXPECT_EQ(creator.templatePath(TemplateSlot::SingleTrack), path) << c.what;
    EXPECT_EQ(textOf(creator.templateLines(TemplateSlot::SingleTrack)), c.text) << c.what;
  }
}

TEST_F(TemplateSources, SettingsKeepThePathsAsTheGeneratorShowsThem) {
  const std::u16string mine = dir.file("mine.html");
  TextLines text = testing::linesOf("<i><$artist$></i>");
  text.setUnicode(true);
  ASSERT_EQ(saveTextFile(text, mine), 1);
  settings.templatePath(TemplateSlot::SingleTrack) = mine;
  settings.templatePath(TemplateSlot::MultipleTracks) = dir.file("removed.html");
  settings.templatePath(TemplateSlot::Mini) = mine;
  chooseTemplates(creator, settings);
  EXPECT_EQ(settings.templatePath(TemplateSlot::SingleTrack), mine);
  EXPECT_EQ(settings.templatePath(TemplateSlot::MultipleTracks), kSelectTemplate);
  EXPECT_EQ(settings.templatePath(TemplateSlot::Directory), kSelectTemplate);
  EXPECT_EQ(settings.templatePath(TemplateSlot::Mini), mine);
  EXPECT_EQ(textOf(creator.templateLines(TemplateSlot::Mini)), "<i><$artist$></i>");
}

TEST_F(TemplateSources, EveryDefaultConsumesAllItsTokens) {
  std::filesystem::create_directories(dir.path() / "music");
  const auto picture = testing::greyRampJpeg(40, 40);
  const std::vector<std::u16string> names{testing::nativePath(dir.path(), "music/a.mp3"),
                                          testing::nativePath(dir.path(), "music/b.ogg")};
  for (const auto slot : kSlots) {
    creator.chooseTemplate(slot, u"");
    MultipleTags tracks;
    tracks.add(makeTrack({.file = names[0],
                          .title = u"First",
                          .artist = u"A",
                          .trackNumber = u"01",
                          .comment = u"c",
                          .lyrics = u"l1\nl2",
                          .cover = picture}));
    tracks.add(makeTrack({.file = names[1], .title = u"Second", .trackNumber = u"2"}));
    TextLines page;
    page.assign(creator.templateLines(slot));
    creator.processTemplate(page, tracks, newRun());
    const std::string text = textOf(page);
    EXPECT_EQ(text.find("<$"), std::string::npos) << text;
    EXPECT_NE(text.find("Second"), std::string::npos);
    EXPECT_NE(text.find("</html>"), std::string::npos);
    EXPECT_TRUE(run->recolour);
  }
}

TEST_F(TemplateSources, FixedPagesTakeThePageColours) {
  colours.normalBackground = u"#123456";
  for (const int resource : {kResourceNoSupportedFiles, kResourceStartPage}) {
    const std::string text = textOf(creator.fixedPage(resource, colours));
    EXPECT_NE(text.find("#123456"), std::string::npos);
    EXPECT_EQ(text.find("<$"), std::string::npos);
    EXPECT_FALSE(creator.fixedPage(resource, colours).isUnicode());
  }
  EXPECT_NE(textOf(creator.fixedPage(kResourceNoSupportedFiles, colours))
                .find("[No supported files found]"),
            std::string::npos);
  EXPECT_NE(textOf(creator.fixedPage(kResourceStartPage, colours)).find("Tunora-Plugin v0.6"),
            std::string::npos);
}

TEST_F(TemplateSources, PagesOfUnsupportedFiles) {
  creator.chooseTemplate(TemplateSlot::SingleTrack, u"");
  creator.chooseTemplate(TemplateSlot::MultipleTracks, u"");
  // One file that no class reads is still described, with "Unknown" values.
  BuiltPage single =
      buildPage(creator, settings, colours, {dir.file("notes.txt")}, TemplateSlot::SingleTrack);
  EXPECT_EQ(single.trackCount, 1u);
  EXPECT_TRUE(single.page.isUnicode());
  EXPECT_NE(textOf(single.page).find("Unknown"), std::string::npos);
  EXPECT_TRUE(single.coverSearch);
  // Several are left out; with none left the page says so.
  BuiltPage several =
      buildPage(creator, settings, colours, {dir.file("a.txt"), u"", dir.file("song.mod")},
                TemplateSlot::MultipleTracks);
  EXPECT_EQ(several.trackCount, 0u);
  EXPECT_NE(textOf(several.page).find("[No supported files found]"), std::string::npos);
  EXPECT_FALSE(several.coverSearch);
  // A switched-off type counts as unsupported.
  settings.switches.mp3 = false;
  EXPECT_EQ(buildPage(creator, settings, colours, {dir.file("a.mp3"), dir.file("b.mp3")},
                      TemplateSlot::MultipleTracks)
                .trackCount,
            0u);
  EXPECT_EQ(buildPage(creator, settings, colours, {}, TemplateSlot::SingleTrack).page.lineCount(),
            0u);
}

}  // namespace
}  // namespace tunora
