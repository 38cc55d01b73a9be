// tunora serve from its arguments to its end; the page it serves while a
// real player plays is tests/serve/serve_mpv_posix_test.cpp.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/cli_runner.h"
#include "support/no_session_bus.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::CliResult;
using testing::runCli;

class ServeWithoutBus : public testing::NoSessionBus {};

TEST_F(ServeWithoutBus, ArgumentErrorsAreOneLineAndAHint) {
  for (const Arguments& args : std::vector<Arguments>{{u"serve", u"--bogus"},
                                                      {u"serve", u"song.mp3"},
                                                      {u"serve", u"--listen"},
                                                      {u"serve", u"--listen", u"8719"},
                                                      {u"serve", u"--listen", u"example.com:80"},
                                                      {u"serve", u"--listen", u"127.0.0.1:65536"},
                                                      {u"serve", u"--listen", u"[::1]"},
                                                      {u"serve", u"--player", u""},
                                                      {u"serve", u"--skin", u"/nonexistent"}}) {
    const CliResult result = runCli(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.err.starts_with("tunora: ")) << result.err;
    EXPECT_EQ(result.out, "");
  }
  EXPECT_NE(runCli({u"serve", u"--help"}).out.find("--listen ADDR:PORT"), std::string::npos);
}

bool endSignalsBlocked() {
  sigset_t mask;
  pthread_sigmask(SIG_BLOCK, nullptr, &mask);
  return sigismember(&mask, SIGTERM) == 1 || sigismember(&mask, SIGINT) == 1;
}

TEST_F(ServeWithoutBus, ServesUntilTheFollowerEnds) {
  ASSERT_FALSE(endSignalsBlocked());
  const CliResult free = runCli({u"serve", u"--listen", u"127.0.0.1:0"});
  // Programs started afterwards can be ended again.
  EXPECT_FALSE(endSignalsBlocked());
  EXPECT_EQ(free.status, 1);
  EXPECT_TRUE(free.out.starts_with("Serving at http://127.0.0.1:")) << free.out;
  EXPECT_NE(free.err.find("cannot reach the session bus"), std::string::npos) << free.err;

  const CliResult overlay =
      runCli({u"serve", u"--listen", u"127.0.0.1:0", u"--template", u"overlay"});
  EXPECT_EQ(overlay.status, 1);
  EXPECT_NE(overlay.err.find("cannot reach the session bus"), std::string::npos);
}

TEST_F(ServeWithoutBus, AnAddressInUseIsReported) {
  const int taken = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(taken, 1), 0);
  socklen_t size = sizeof address;
  ::getsockname(taken, reinterpret_cast<sockaddr*>(&address), &size);
  const std::string listen = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  const CliResult result =
      runCli({u"serve", u"--listen", std::u16string(listen.begin(), listen.end())});
  ::close(taken);
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.starts_with("tunora: cannot listen on " + listen)) << result.err;
  EXPECT_EQ(result.out, "");
}

TEST_F(ServeWithoutBus, AnotherAddressSaysWhoCanSeeThePage) {
  const CliResult result = runCli({u"serve", u"--listen", u"0.0.0.0:0"});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(
      result.err.starts_with("tunora: listening on all addresses: anyone who can reach "
                             "this computer on port "))
      << result.err;
}

}  // namespace
}  // namespace tunora
