#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/argument_text.h"
#include "support/cli_runner.h"
#include "support/store_server.h"
#include "support/temp_dir.h"
#include "text/conversions.h"

namespace tunora {
namespace {

using testing::CliResult;
using testing::runCli;

constexpr std::string_view kHint = "\ntry 'tunora --help'\n";

TEST(ArgumentParser, EveryCommandShowsTheToolsUsage) {
  const CliResult usage = runCli({u"--help"});
  ASSERT_EQ(usage.status, 0);
  ASSERT_TRUE(usage.out.starts_with("Usage: tunora")) << usage.out;
  for (const Arguments& args : std::vector<Arguments>{{u"-h"},
                                                      {u"--debug", u"--help"},
                                                      {u"tags", u"--help"},
                                                      {u"tags", u"a.mp3", u"-h"},
                                                      {u"page", u"--bogus", u"--help"},
                                                      {u"covers", u"-h"},
                                                      {u"covers", u"get", u"--help"}}) {
    const CliResult help = runCli(args);
    EXPECT_EQ(help.status, 0) << convertUTF16ToUTF8(args.back());
    EXPECT_EQ(help.out, usage.out);
    EXPECT_EQ(help.err, "");
  }
}

TEST(ArgumentParser, WrongArgumentsAreOneLineAndTheHint) {
  const struct {
    Arguments args;
    std::string message;
  } cases[] = {
      {{u"--bogus", u"tags"}, "unknown option '--bogus'"},
      {{u"frobnicate"}, "unknown command 'frobnicate'"},
      {{u"tags", u"--bogus", u"a.mp3"}, "unknown option '--bogus'"},
      {{u"tags", u"a.mp3", u"--json=1"}, "option '--json' takes no value"},
      {{u"page", u"--mini=yes", u"a.mp3"}, "option '--mini' takes no value"},
      {{u"page", u"a.mp3", u"--bogus=1"}, "unknown option '--bogus=1'"},
      {{u"covers", u"search", u"-x", u"k"}, "unknown option '-x'"},
      {{u"tags", u"--\x1B[2J"}, "unknown option '--\\x1b[2J'"},
      // An option takes whatever follows it; only the last can lack a value.
      {{u"page", u"a.mp3", u"-o"}, "option '-o' needs a value"},
      {{u"page", u"a.mp3", u"--skip"}, "option '--skip' needs a value"},
      {{u"covers", u"get", u"/l", u"--host"}, "option '--host' needs a value"},
      {{u"page", u"--skip", u"mp3", u"--skip", u"mod", u"a.mp3"},
       "unknown file type 'mod' (mp3, mp4, aac, ogg, flac, mpc, opus, wav or aiff)"},
      {{u"covers", u"find", u"x"}, "covers takes search or get"},
      {{u"covers", u"search", u"--store", u"fr", u"x"}, "unknown store 'fr' (us, de or mb)"},
      {{u"covers", u"search"}, "covers search needs keywords"},
      {{u"covers", u"search", u"x", u"-o", u"f.jpg"}, "covers search takes no -o"},
      {{u"covers", u"get", u"/a", u"/b", u"-o", u"f.jpg"}, "covers get takes one link and -o FILE"},
      {{u"covers", u"get", u"/a"}, "covers get takes one link and -o FILE"},
  };
  for (const auto& c : cases) {
    const CliResult result = runCli(c.args);
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_EQ(result.out, "");
    if (c.message.empty()) {
      // The parser's own wording, in the same form.
      EXPECT_TRUE(result.err.starts_with("tunora: ") && result.err.ends_with(kHint)) << result.err;
      EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
    } else {
      EXPECT_EQ(result.err, "tunora: " + c.message + std::string(kHint));
    }
  }
}

TEST(ArgumentParser, DoubleDashEndsTheOptions) {
  testing::TempDir dir;
  // A file named like an option: read (and missing), not taken as one.
  for (const char16_t* name : {u"--json", u"--debug", u"-h"}) {
    const CliResult tags = runCli({u"tags", u"--", name});
    EXPECT_EQ(tags.status, 1);
    EXPECT_EQ(tags.err.rfind("tunora: cannot open '" + convertUTF16ToUTF8(name) + "': ", 0), 0u)
        << tags.err;
  }
  const CliResult page = runCli({u"page", u"-o", dir.file("p.html"), u"--", u"-x.mp3"});
  EXPECT_EQ(page.status, 1);
  EXPECT_NE(page.err.find("cannot open '-x.mp3'"), std::string::npos) << page.err;
  const std::string refused = "127.0.0.1:" + std::to_string(testing::refusingPort());
  const CliResult covers = runCli({u"covers", u"search", u"--host",
                                   std::u16string(refused.begin(), refused.end()), u"--", u"-x"});
  EXPECT_EQ(covers.status, 1);
  EXPECT_EQ(covers.err.rfind("tunora: cannot search " + refused, 0), 0u) << covers.err;
}

// Operands are set apart before the options are parsed: a value is still
// the argument after its option whatever it looks like, and a value given
// with "=" or joined to a short option takes nothing more.
TEST(ArgumentParser, ValuesAreTakenWhereverOperandsStand) {
  const std::u16string file = testing::fixturePath("tags/apev2_id3v1.mp3");
  const struct {
    Arguments args;
    std::string out;
  } cases[] = {
      {{u"tags", u"--format", u"-x", file}, "-x\n"},
      {{u"tags", u"--format", u"--", file}, "--\n"},
      {{u"tags", file, u"--format=<$presenttags$>"}, "ID3v1,APEv2\n"},
      {{u"tags", u"--format", u"a", u"--format", u"b", u"--", file}, "b\n"},
  };
  for (const auto& c : cases) {
    const CliResult result = runCli(c.args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, c.out);
  }
  testing::TempDir dir;
  const CliResult joined = runCli({u"page", u"-o" + dir.file("p.html"), file});
  EXPECT_EQ(joined.status, 0) << joined.err;
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "p.html"));
}

TEST(ArgumentParser, AnOptionGivenTwiceKeepsItsLastValue) {
  testing::TempDir dir;
  const CliResult result =
      runCli({u"page", u"-o", dir.file("first.html"), u"-o", dir.file("last.html"),
              testing::fixturePath("tags/apev2_id3v1.mp3")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "first.html"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "last.html"));
}

TEST(ArgumentParser, DebugLogFromAnyPlaceBeforeTheFiles) {
  const std::u16string file = testing::fixturePath("tags/apev2_id3v1.mp3");
  EXPECT_EQ(runCli({u"tags", file}).err, "");
  EXPECT_NE(runCli({u"--debug", u"tags", file}).err, "");
  EXPECT_NE(runCli({u"tags", u"--debug", file}).err, "");
}

// What the system hands the tool comes back from the parser unchanged: a
// byte that is no UTF-8 on Linux, a lone surrogate on Windows.
TEST(ArgumentText, EveryTextSurvivesTheParser) {
  for (const std::u16string& text :
       {std::u16string(u"plain"), std::u16string(u"K\u00F6ln \U0001F3B5"),
        std::u16string{char16_t{0xDCFF}}, std::u16string{u'a', char16_t{0xDC80}, u'b'}})
    EXPECT_EQ(textOfArgument(argumentFromText(text)), text) << convertUTF16ToUTF8(text);
}

}  // namespace
}  // namespace tunora
