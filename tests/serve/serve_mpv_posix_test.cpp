// tunora serve next to a real player: mpv with its MPRIS script on a session
// bus of the test's own. The browser's side is tests/e2e/serve.mjs.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/child_process.h"
#include "support/raw_http_posix.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::fileText;
using testing::waitFor;

constexpr const char* kMprisScript = "/usr/lib/mpv-mpris/mpris.so";

TEST(ServeMpv, ServesEachSongAndEndsWithZeroOnSigterm) {
  if (!testing::haveProgram("mpv") || !fs::exists(kMprisScript) ||
      !testing::haveProgram("dbus-daemon") || !testing::haveProgram("dbus-send"))
    GTEST_SKIP() << "needs mpv, mpv-mpris and dbus";
  testing::TempDir dir;
  auto bus = testing::PrivateSessionBus::start(dir.path());
  ASSERT_TRUE(bus);
  const fs::path flac = dir.path() / "a.flac";
  const fs::path ogg = dir.path() / "b.ogg";
  fs::copy_file(fs::path(testing::fixturePath("formats/flac_picture_tags.flac")), flac);
  fs::copy_file(fs::path(testing::fixturePath("formats/vorbis_tags.ogg")), ogg);
  const fs::path out = dir.path() / "serve.out";
  const fs::path err = dir.path() / "serve.err";
  auto serve = ChildProcess::start({TUNORA_CLI_BINARY, "serve", "--listen", "127.0.0.1:0"},
                                   {bus->environment()}, out, err);
  ASSERT_TRUE(serve);
  std::smatch found;
  std::string said;
  ASSERT_TRUE(waitFor(
      [&] {
        said = fileText(out);
        return std::regex_search(said, found, std::regex("http://127\\.0\\.0\\.1:([0-9]+)/"));
      },
      5s))
      << fileText(err);
  const auto port = static_cast<std::uint16_t>(std::stoi(found[1]));
  // Before any song: the empty page that waits for one.
  EXPECT_NE(testing::httpGet(port, "/").body.find("data-version=\"0\""), std::string::npos);

  auto player = ChildProcess::start(
      {"mpv", "--no-config", std::string("--script=") + kMprisScript, "--no-video", "--ao=null",
       "--loop-file=inf", "--really-quiet", flac.string(), ogg.string()},
      {bus->environment()}, dir.path() / "mpv.out", dir.path() / "mpv.err");
  ASSERT_TRUE(player);
  const auto pageShows = [&](const std::string& text) {
    return waitFor([&] { return testing::httpGet(port, "/").body.find(text) != std::string::npos; },
                   5s);
  };
  ASSERT_TRUE(pageShows("made by metaflac")) << fileText(err);
  const std::string page = testing::httpGet(port, "/").body;
  std::smatch cover;
  ASSERT_TRUE(std::regex_search(page, cover, std::regex("/cover/[0-9a-f]{16}\\.jpg")));
  EXPECT_EQ(testing::httpGet(port, cover[0].str()).status, 200);

  auto events = testing::RawConnection::open(port);
  ASSERT_TRUE(
      events->send("GET /events HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n\r\n"));
  const std::string next =
      "dbus-send --session --dest=org.mpris.MediaPlayer2.mpv "
      "--type=method_call /org/mpris/MediaPlayer2 "
      "org.mpris.MediaPlayer2.Player.Next";
  ASSERT_EQ(std::system(("env " + bus->environment() + " " + next).c_str()), 0);
  const std::string heard = events->readUntil(
      [](const std::string& got) { return got.find("data: 2\n\n") != got.npos; }, 5s);
  EXPECT_NE(heard.find("data: 2\n\n"), std::string::npos) << heard;
  EXPECT_TRUE(pageShows("made by vorbiscomment"));

  EXPECT_EQ(serve->terminate(3s), 0) << fileText(err);
  std::size_t pages = 0;
  const std::string lines = fileText(out);
  for (std::size_t at = 0; (at = lines.find("Serving the page of", at)) != lines.npos; ++at)
    ++pages;
  EXPECT_EQ(pages, 2u) << lines;
}

}  // namespace
}  // namespace tunora
