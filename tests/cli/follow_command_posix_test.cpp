#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "support/cli_runner.h"
#include "support/no_session_bus.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::CliResult;
using testing::runCli;

class NoSessionBus : public testing::NoSessionBus {};

TEST_F(NoSessionBus, ArgumentErrorsAreOneLineAndAHint) {
  for (const Arguments& args : std::vector<Arguments>{{u"follow", u"--bogus"},
                                                      {u"follow", u"song.mp3"},
                                                      {u"follow", u"-o"},
                                                      {u"follow", u"--player", u""},
                                                      {u"follow", u"--refresh", u"0"},
                                                      {u"follow", u"--refresh", u"86401"},
                                                      {u"follow", u"--refresh", u"99999999999"},
                                                      {u"follow", u"--refresh", u"-5"}}) {
    const CliResult result = runCli(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.err.starts_with("tunora: ")) << result.err;
    EXPECT_TRUE(result.err.ends_with("\ntry 'tunora --help'\n")) << result.err;
  }
}

TEST_F(NoSessionBus, EndsWithAMessageBeforeAndAfterTheOptions) {
  const CliResult help = runCli({u"follow", u"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--refresh SECONDS"), std::string::npos);

  // The longest refresh is taken; then there is no bus to follow.
  const CliResult noBus = runCli(
      {u"follow", u"--refresh", u"86400", u"--player", u"mpv", u"-o", dir.file("page.html")});
  EXPECT_EQ(noBus.status, 1);
  EXPECT_TRUE(noBus.err.starts_with("tunora: cannot reach the session bus: ")) << noBus.err;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "page.html"));

  // A template that no page could be built with is refused first.
  std::ofstream(dir.path() / "plain.html") << std::string("<\0p\0>\0", 6);
  const CliResult plain = runCli({u"follow", u"--template", dir.file("plain.html")});
  EXPECT_EQ(plain.status, 1);
  EXPECT_NE(plain.err.find("is neither UTF-8 nor UTF-16LE"), std::string::npos) << plain.err;
}

}  // namespace
}  // namespace tunora
