#include <gtest/gtest.h>

#include <string>

#include "cli/json_writer.h"
#include "io/file.h"
#include "support/cli_runner.h"
#include "support/format_bytes.h"
#include "support/tag_bytes.h"
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

// Plain text is copied four units at a time: every unit that is not plain
// must be found at every place in and around such a block.
TEST(JsonStrings, EveryEdgeUnitAtEveryPlaceOfAPlainRun) {
  const struct {
    char16_t unit;
    const char* json;
  } edges[] = {{0x1F, "\\u001f"},
               {0x20, " "},
               {0x7E, "~"},
               {0x7F, "\x7F"},
               {0x80, "\xC2\x80"},
               {u'"', "\\\""},
               {u'\\', "\\\\"},
               {0xFF, "\xC3\xBF"},
               {0x100, "\xC4\x80"},
               {0x2200, "\xE2\x88\x80"},
               {0x5C00, "\xE5\xB0\x80"}};
  const std::string plain = "abcdefghi";
  for (const auto& edge : edges)
    for (std::size_t at = 0; at < plain.size(); ++at) {
      std::u16string text(plain.begin(), plain.end());
      text[at] = edge.unit;
      const std::string expected =
          "\"" + plain.substr(0, at) + edge.json + plain.substr(at + 1) + "\"";
      EXPECT_EQ(jsonString(text), expected) << std::hex << int{edge.unit} << " at " << at;
    }
}

// Text is written a piece of 1024 units at a time: a pair that starts at a
// piece's last unit stays one character, and a piece of nothing but escapes
// fills its room exactly.
TEST(JsonStrings, PiecesOfTheirLongestFormAndPairsAcrossThem) {
  for (const std::size_t before : {1022u, 1023u, 1024u}) {
    const std::u16string text = std::u16string(before, u'a') + u"\U0001F3B5" + u"b";
    EXPECT_EQ(jsonString(text), "\"" + std::string(before, 'a') +
                                    "\xF0\x9F\x8E\xB5"
                                    "b\"")
        << before;
  }
  std::string escapes;
  for (int i = 0; i < 1025; ++i) escapes += "\\u0001";
  EXPECT_EQ(jsonString(std::u16string(1025, u'\x01')), "\"" + escapes + "\"");
}

TEST(JsonStrings, EncodingBoundariesAndRunsAroundEscapes) {
  // The last control character, the first plain one, DEL, and the first
  // characters of two- and three-byte UTF-8.
  EXPECT_EQ(jsonString(u"\x1F\x20\x7F"), "\"\\u001f \x7F\"");
  EXPECT_EQ(jsonString(u"\u0080\u07FF\u0800\uFFFF"),
            "\"\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\"");
  // Around the surrogates: the last character before, the first after, the
  // first and last pair, and lone halves at either end of a text.
  EXPECT_EQ(jsonString(u"\uD7FF\uE000"), "\"\xED\x9F\xBF\xEE\x80\x80\"");
  EXPECT_EQ(jsonString(u"\U00010000\U0010FFFF"), "\"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\"");
  EXPECT_EQ(jsonString(std::u16string{char16_t{0xDBFF}}), "\"\\udbff\"");
  EXPECT_EQ(jsonString(std::u16string{u'x', char16_t{0xDFFF}, char16_t{0xD800}}),
            "\"x\\udfff\\ud800\"");
  // Escapes at the start and end of a run and between two runs.
  EXPECT_EQ(jsonString(u"\"ab\\cd\""), "\"\\\"ab\\\\cd\\\"\"");
  EXPECT_EQ(jsonString(u""), "\"\"");
  std::string parts = "[";
  appendJsonText(parts, u"a\n");
  appendJsonText(parts, u"\u00E9");
  EXPECT_EQ(parts, "[a\\n\xC3\xA9");
}

// Long texts go eight units a step: each boundary unit at each place of the
// first two steps and of the tail, between plain letters.
TEST(JsonStrings, EveryBoundaryUnitAtEveryPlaceOfALongText) {
  const std::pair<char16_t, std::string> units[] = {
      {0x1F, "\\u001f"}, {0x20, " "},     {0x7F, "\x7F"},       {0x80, "\xC2\x80"},
      {u'"', "\\\""},    {u'\\', "\\\\"}, {0x0120, "\xC4\xA0"}, {0xFF20, "\xEF\xBC\xA0"}};
  for (const auto& [unit, written] : units)
    for (std::size_t place = 0; place < 19; ++place) {
      std::u16string text(19, u'a');
      text[place] = unit;
      const std::string expected =
          "\"" + std::string(place, 'a') + written + std::string(18 - place, 'a') + "\"";
      EXPECT_EQ(jsonString(text), expected) << int(unit) << " at " << place;
    }
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
  const std::u16string path = dir.file("Caf\xC3\xA9 \xE2\x82\xAC.mod");
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
  EXPECT_NE(result.out.find("\"shortfilename\": \"Caf\xC3\xA9 \xE2\x82\xAC.mod\""),
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

TEST(TagsCommand, ManyFilesStreamAsOneListInOrder) {
  // More output than one flush of the buffer holds, every file in order, and
  // an error in the middle written into its own object.
  testing::TempDir dir;
  Arguments args{u"tags", u"--json"};
  constexpr int kFiles = 300;
  for (int i = 0; i < kFiles; ++i) {
    const auto path = dir.file("track " + std::to_string(i) + ".ogg");
    if (i != kFiles / 2) {
      ASSERT_TRUE(writeWholeFile(path, std::vector<std::uint8_t>{1}));
    }
    args.push_back(path);
  }
  const CliResult result = runCli(args);
  EXPECT_EQ(result.status, 1);
  ASSERT_GT(result.out.size(), 64u * 1024);
  EXPECT_EQ(result.out.substr(0, 5), "[\n  {");
  EXPECT_EQ(result.out.substr(result.out.size() - 7), "\n  }\n]\n");
  std::size_t at = 0;
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = "\"shortfilename\": \"track " + std::to_string(i) + ".ogg\"";
    const auto found = result.out.find(name, at);
    ASSERT_NE(found, std::string::npos) << i;
    const auto error = result.out.find("\"error\": ", at);
    EXPECT_EQ(error != std::string::npos && error < found, i == kFiles / 2 + 1) << i;
    at = found;
  }
  EXPECT_EQ(result.out.find("},\n  {"), result.out.find("}"));
}

TEST(TagsCommand, LyricsLinesJoinedInBothListings) {
  testing::TempDir dir;
  const auto path = dir.file("lyrics.ogg");
  ASSERT_TRUE(writeWholeFile(
      path, testing::oggVorbisFile(testing::vorbisCommentBlock("v", {"LYRICS=one\n\"two\"\n"}))));
  const CliResult json = runCli({u"tags", u"--json", path});
  EXPECT_NE(json.out.find("\"lyrics\": \"one\\n\\\"two\\\"\\n\""), std::string::npos) << json.out;
  const CliResult readable = runCli({u"tags", path});
  EXPECT_NE(readable.out.find("lyrics: one\n        \"two\"\n        \n"), std::string::npos)
      << readable.out;
}

// Lines after the first start where the value started: none of them reads as
// a field of its own, and no empty one as the end of the file's listing.
TEST(TagsCommand, PlainListingIndentsTheLinesOfAValue) {
  const struct {
    std::string entry;
    std::string listed;
  } cases[] = {
      {"COMMENT=one line", "\ncomment: one line\n"},
      {"COMMENT=artist: fake\nsecond", "\ncomment: artist: fake\n         second\n"},
      {"COMMENT=a\n\nb", "\ncomment: a\n         \n         b\n"},
      {"COMMENT=crlf\r\nends\r\n", "\ncomment: crlf\r\n         ends\r\n         \n"},
      {"COMMENT=\x1b[2J\n\x1b[H", "\ncomment: \\x1b[2J\n         \\x1b[H\n"},
      {"LYRICS=la\nla", "\nlyrics: la\n        la\n"},
  };
  testing::TempDir dir;
  const auto path = dir.file("lines.ogg");
  for (const auto& [entry, listed] : cases) {
    ASSERT_TRUE(
        writeWholeFile(path, testing::oggVorbisFile(testing::vorbisCommentBlock("v", {entry}))));
    const CliResult result = runCli({u"tags", path});
    EXPECT_NE(result.out.find(listed), std::string::npos) << entry << "\n" << result.out;
  }
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

TEST(TagsCommand, FileWithNothingReadableIsNamedAndWarned) {
  testing::TempDir dir;
  const auto empty = dir.file("empty.mp3");
  const auto text = dir.file("notes.aac");
  const auto tagged = dir.file("tagged.mp3");
  ASSERT_TRUE(writeWholeFile(empty, std::vector<std::uint8_t>{}));
  ASSERT_TRUE(writeWholeFile(text, std::vector<std::uint8_t>(300, 'x')));
  ASSERT_TRUE(writeWholeFile(tagged, testing::id3v1Block({.title = "t"})));
  const CliResult json = runCli({u"tags", u"--json", empty, text, tagged});
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.err, "tunora: '" + convertUTF16ToUTF8(empty) +
                          "': no MPEG audio frame found\ntunora: '" + convertUTF16ToUTF8(text) +
                          "': no ADTS or ADIF header found\n");
  const auto first = json.out.find("\"warning\": \"no MPEG audio frame found\"");
  const auto second = json.out.find("\"warning\": \"no ADTS or ADIF header found\"");
  EXPECT_NE(first, std::string::npos) << json.out;
  EXPECT_NE(second, std::string::npos) << json.out;
  EXPECT_EQ(json.out.find("\"warning\"", second + 1), std::string::npos);
  const CliResult plain = runCli({u"tags", empty});
  EXPECT_NE(plain.out.find("\nwarning: no MPEG audio frame found\n"), std::string::npos)
      << plain.out;
}

}  // namespace
}  // namespace tunora
