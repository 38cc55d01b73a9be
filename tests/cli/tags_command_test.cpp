#include <gtest/gtest.h>

#include <string>

#include "cli/json_writer.h"
#include "io/file.h"
#include "support/cli_runner.h"
#include "support/temp_dir.h"
#include "text/conversions.h"

namespace tunora {
namespace {

using testing::CliResult;
using testing::runCli;

TEST(JsonStrings, EscapesControlsQuotesAndLoneSurrogates) {
  EXPECT_EQ(jsonString(u"a\"b\\c\n\r\t\x01"), "\"a\\\"b\\\\c\\n\\r\\t\\u0001\"");
  EXPECT_EQ(jsonString(u"K\u00F6ln \U0001F3B5"), "\"K\xC3\xB6ln \xF0\x9F\x8E\xB5\"");
  EXPECT_EQ(jsonString(std::u16string{u'a', char16_t{0xD800}, u'b'}), "\"a\\ud800b\"");
  EXPECT_EQ(jsonString(std::u16string(1, char16_t{0xDC00})), "\"\\udc00\"");
}

TEST(TagsCommand, UsageAndArgumentErrors) {
  EXPECT_EQ(runCli({}).status, 2);
  const CliResult help = runCli({u"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage: tunora"), std::string::npos);
  const CliResult noFiles = runCli({u"tags", u"--json"});
  EXPECT_EQ(noFiles.status, 2);
  EXPECT_EQ(noFiles.err, "tunora: no music file given\ntry 'tunora --help'\n");
  const CliResult unknown = runCli({u"tags", u"--bogus", u"a.mp3"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "tunora: unknown option '--bogus'\ntry 'tunora --help'\n");
  const CliResult tagsHelp = runCli({u"tags", u"--help"});
  EXPECT_EQ(tagsHelp.status, 0);
  EXPECT_NE(tagsHelp.out.find("tags [--json]"), std::string::npos);
  EXPECT_EQ(runCli({u"frobnicate"}).status, 2);
}

TEST(TagsCommand, UnopenableFileStillGetsItsObject) {
  testing::TempDir dir;
  const std::u16string missing = dir.file("nowhere.mp3");
  const CliResult result = runCli({u"tags", u"--json", missing});
  EXPECT_EQ(result.status, 1);
  const std::string shown = convertUTF16ToUTF8(missing);
  EXPECT_NE(result.err.find("tunora: cannot open '" + shown + "': "), std::string::npos);
  EXPECT_NE(result.out.find("\"filename\": " + jsonString(missing)), std::string::npos);
  EXPECT_NE(result.out.find("\"error\": "), std::string::npos);
  EXPECT_NE(result.out.find("\"filetype\": \"MP3\""), std::string::npos);
}

TEST(TagsCommand, JsonHasEveryKeyInOrderForNonAsciiPath) {
  testing::TempDir dir;
  const std::u16string path = dir.file("Caf\xC3\xA9 \xE2\x82\xAC.wav");
  ASSERT_TRUE(writeWholeFile(path, std::vector<std::uint8_t>{1, 2, 3}));
  const CliResult result = runCli({u"tags", u"--json", path});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const char* keys[] = {"filename",   "shortfilename", "filetype",    "artist",  "album",
                        "songname",   "year",          "genre",       "tracknr", "bitrate",
                        "samplerate", "stereomode",    "presenttags", "hastag",  "hascomment",
                        "haslyrics",  "hascover",      "comment",     "lyrics",  "coverbytes"};
  std::size_t at = 0;
  for (const char* key : keys) {
    const auto found = result.out.find("\"" + std::string(key) + "\": ", at);
    ASSERT_NE(found, std::string::npos) << key;
    at = found;
  }
  EXPECT_NE(result.out.find("\"shortfilename\": \"Caf\xC3\xA9 \xE2\x82\xAC.wav\""),
            std::string::npos);
  EXPECT_NE(result.out.find("\"presenttags\": \"None\""), std::string::npos);
  EXPECT_NE(result.out.find("\"comment\": null"), std::string::npos);
  EXPECT_NE(result.out.find("\"coverbytes\": 0"), std::string::npos);
  EXPECT_EQ(result.out.front(), '[');
}

TEST(TagsCommand, ReadableListingAndSeveralFiles) {
  testing::TempDir dir;
  const auto a = dir.file("a.ogg");
  ASSERT_TRUE(writeWholeFile(a, std::vector<std::uint8_t>{}));
  const CliResult result = runCli({u"tags", a, dir.file("b")});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("filetype: OGG\n"), std::string::npos);
  EXPECT_NE(result.out.find("filetype: Unknown\n"), std::string::npos);
  EXPECT_NE(result.out.find("artist: Unknown\n"), std::string::npos);
}

TEST(TagsCommand, DirectoryAndEmptyFileDoNotCrash) {
  testing::TempDir dir;
  const auto empty = dir.file("empty.mp3");
  ASSERT_TRUE(writeWholeFile(empty, std::vector<std::uint8_t>{}));
  EXPECT_EQ(runCli({u"tags", u"--json", empty}).status, 0);
  const CliResult folder = runCli({u"tags", u"--json", testing::toU16(dir.path())});
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.err.find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace tunora
