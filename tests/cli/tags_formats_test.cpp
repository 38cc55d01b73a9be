// `tunora tags --format` and `--csv` against `--json`: the same values in
// every form, field by field.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "cli/csv_field.h"
#include "cli/plain_text.h"
#include "io/file.h"
#include "support/cli_runner.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"
#include "text/conversions.h"
#include "trackinfo/track_fields.h"

namespace tunora {
namespace {

using testing::CliResult;
using testing::runCli;

// The listing's values of one file from its JSON object, strings decoded;
// null stays "null" and is told apart by `nulls`.
struct JsonFile {
  std::map<std::string, std::string> values;
  std::map<std::string, bool> strings;
};

std::string decodeJsonString(std::string_view quoted) {
  std::u16string text;
  for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
    if (quoted[i] != '\\') {
      // Multi-byte UTF-8 passes through by way of a conversion at the end.
      std::u16string unit;
      std::size_t end = i + 1;
      while (end + 1 < quoted.size() && (static_cast<unsigned char>(quoted[end]) & 0xC0) == 0x80)
        ++end;
      convertUTF8ToUTF16(quoted.substr(i, end - i), unit);
      text += unit;
      i = end - 1;
      continue;
    }
    const char escaped = quoted[++i];
    switch (escaped) {
      case 'n':
        text += u'\n';
        break;
      case 'r':
        text += u'\r';
        break;
      case 't':
        text += u'\t';
        break;
      case 'u':
        text += static_cast<char16_t>(std::stoi(std::string(quoted.substr(i + 1, 4)), nullptr, 16));
        i += 4;
        break;
      default:
        text += static_cast<char16_t>(escaped);
    }
  }
  return convertUTF16ToUTF8(text);
}

JsonFile jsonFile(const std::string& json) {
  JsonFile file;
  std::size_t at = 0;
  while ((at = json.find("\n    \"", at)) != std::string::npos) {
    at += 6;
    const std::size_t keyEnd = json.find("\": ", at);
    const std::string key = json.substr(at, keyEnd - at);
    const std::size_t valueStart = keyEnd + 3;
    const std::size_t valueEnd = json.find_first_of("\n", valueStart);
    std::string value = json.substr(valueStart, valueEnd - valueStart);
    if (value.ends_with(',')) value.pop_back();
    file.strings[key] = value.starts_with('"');
    file.values[key] = file.strings[key] ? decodeJsonString(value) : value;
  }
  return file;
}

// RFC 4180 records: quoted fields with doubled quotes, CR LF after each.
std::vector<std::vector<std::string>> parseCsv(const std::string& csv) {
  std::vector<std::vector<std::string>> records(1);
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < csv.size(); ++i) {
    const char c = csv[i];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < csv.size() && csv[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      records.back().push_back(std::move(field));
      field.clear();
    } else if (c == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') {
      records.back().push_back(std::move(field));
      field.clear();
      records.emplace_back();
      ++i;
    } else {
      field += c;
    }
  }
  records.pop_back();  // after the last CR LF
  return records;
}

class TagsFormats : public ::testing::Test {
 protected:
  TagsFormats() {
    // Values with everything CSV must quote, a control character, a line
    // break and text beyond ASCII; and a real file with a cover, lyrics and
    // a playing time.
    writeWholeFile(tagged, testing::oggVorbisFile(testing::vorbisCommentBlock(
                               "v", {"ARTIST=Smith, \"Jr.\"", "TITLE=K\xC3\xB6ln\x1B[1m",
                                     "ALBUM=line\r\nbreak", "COMMENT=one\ntwo", "GENRE=,",
                                     "TRACKNUMBER=3/12"})));
  }

  testing::TempDir dir;
  const std::u16string tagged = dir.file("tagged, one's.ogg");
  const std::u16string sample = testing::toU16(TUNORA_SOURCE_DIR "/samples/01 - Morning Tone.mp3");
  const std::u16string missing = dir.file("missing.mp3");
};

TEST_F(TagsFormats, EveryFieldThroughFormatAndCsvIsItsJsonValue) {
  const CliResult json = runCli({u"tags", u"--json", tagged, sample, missing});
  const CliResult csv = runCli({u"tags", u"--csv", tagged, sample, missing});
  ASSERT_EQ(json.status, 1);
  EXPECT_EQ(csv.status, 1);
  EXPECT_EQ(csv.err, json.err);
  const auto records = parseCsv(csv.out);
  ASSERT_EQ(records.size(), 4u) << csv.out;
  std::vector<std::string> keys;
  for (const TrackField& field : trackFields())
    if (!field.key.empty()) keys.emplace_back(field.key);
  EXPECT_EQ(records[0], keys);

  std::size_t objectAt = 0;
  const std::u16string files[] = {tagged, sample, missing};
  for (std::size_t f = 0; f < 3; ++f) {
    objectAt = json.out.find("\n  {", objectAt) + 1;
    const JsonFile expected =
        jsonFile(json.out.substr(objectAt, json.out.find("\n  }", objectAt) - objectAt));
    ASSERT_EQ(records[f + 1].size(), keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
      const std::string& key = keys[k];
      ASSERT_TRUE(expected.values.count(key)) << key;
      const bool isNull = !expected.strings.at(key) && expected.values.at(key) == "null";
      const std::string value = isNull ? "" : expected.values.at(key);
      EXPECT_EQ(records[f + 1][k], escapeControlsKeepingLineBreaks(value)) << key << " " << f;
      const CliResult line =
          runCli({u"tags", u"--format", u"[<$" + widenLatin1(key) + u"$>]", files[f]});
      EXPECT_EQ(line.out, "[" + escapeControls(value) + "]\n") << key << " " << f;
    }
  }
}

TEST_F(TagsFormats, FormatTokensBesideText) {
  const struct {
    std::u16string format;
    std::string line;
  } cases[] = {
      {u"<$artist$> - <$songname$>", "Smith, \"Jr.\" - K\xC3\xB6ln\\x1b[1m"},
      {u"<$tracknr$>|<$tracknrclean$>", "3/12|3"},  // template-only tokens too
      {u"<$url:artist$>", "Smith%2C%20%22Jr.%22"},
      {u"<$comment$>", "one\\x0atwo"},  // one line per file
      {u"<$hascover$> <$coverbytes$> <$lyrics$>.", "false 0 ."},
      {u"<$nosuch$> <$artist", "<$nosuch$> <$artist"},  // not tokens: as written
      {u"<$<$genre$>$>", "<$,$>"},
      {u"", ""},
  };
  for (const auto& [format, line] : cases) {
    const CliResult result = runCli({u"tags", u"--format", format, tagged});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, line + "\n") << convertUTF16ToUTF8(format);
  }
}

TEST_F(TagsFormats, FileUrlIsAbsoluteAndEncodedPerPart) {
  if (kPathSeparator != '/') GTEST_SKIP() << "the Windows form is tested on its own";
  const CliResult result = runCli({u"tags", u"--format", u"<$fileurl$>", tagged});
  const std::string folder = convertUTF16ToUTF8(testing::toU16(dir.path()));
  EXPECT_EQ(result.out, "file://" + folder + "/tagged%2C%20one%27s.ogg\n");
}

TEST_F(TagsFormats, OnlyOneFormOfListing) {
  const Arguments clashes[] = {{u"tags", u"--json", u"--csv", tagged},
                               {u"tags", u"--csv", u"--format", u"x", tagged},
                               {u"tags", u"--format", u"x", u"--json", tagged}};
  for (const Arguments& args : clashes) {
    const CliResult result = runCli(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err,
              "tunora: --json, --csv and --format exclude each other\ntry 'tunora --help'\n");
  }
  EXPECT_EQ(runCli({u"tags", u"--format"}).status, 2);
}

TEST(CsvField, QuotedOnlyWhereRfc4180AsksForIt) {
  const struct {
    std::string text;
    std::string field;
  } cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"cr\r", "\"cr\r\""},
      {"lf\n", "\"lf\n\""},
      {" lead and trail ", " lead and trail "},
      {"semi;colon\ttab", "semi;colon\ttab"},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(csvField(text), field) << text;
}

}  // namespace
}  // namespace tunora
