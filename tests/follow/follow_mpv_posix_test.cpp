// The tool next to a real player: mpv with its MPRIS script on a session bus
// of the test's own, playing our fixtures.

#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <filesystem>
#include <memory>

#include "htmlcreator/page_support.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::fileText;
using testing::waitFor;

constexpr const char* kMprisScript = "/usr/lib/mpv-mpris/mpris.so";

struct BusClose {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};

// What a remote control would do: the player's "next" button.
bool pressNext(const std::string& address) {
  sd_bus* raw = nullptr;
  if (sd_bus_new(&raw) < 0) return false;
  const std::unique_ptr<sd_bus, BusClose> bus(raw);
  sd_bus_error error = SD_BUS_ERROR_NULL;
  const bool pressed =
      sd_bus_set_address(raw, address.c_str()) >= 0 && sd_bus_set_bus_client(raw, 1) >= 0 &&
      sd_bus_start(raw) >= 0 &&
      sd_bus_call_method(raw, "org.mpris.MediaPlayer2.mpv", "/org/mpris/MediaPlayer2",
                         "org.mpris.MediaPlayer2.Player", "Next", &error, nullptr, "") >= 0;
  sd_bus_error_free(&error);
  return pressed;
}

class FollowMpv : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::haveProgram("mpv") || !fs::exists(kMprisScript) ||
        !testing::haveProgram("dbus-daemon"))
      GTEST_SKIP() << "needs mpv, mpv-mpris and dbus-daemon";
    bus = testing::PrivateSessionBus::start(dir.path());
    ASSERT_TRUE(bus) << "dbus-daemon did not start";
    fs::create_directories(dir.path() / "music");
    fs::copy_file(fs::path(testing::fixturePath("formats/flac_picture_tags.flac")), flac);
    fs::copy_file(fs::path(testing::fixturePath("formats/vorbis_tags.ogg")), ogg);
    fs::copy_file(fs::path(testing::fixturePath("tags/vbr_id3v24_cover.mp3")), mp3);
  }

  std::unique_ptr<ChildProcess> startPlayer(const std::vector<fs::path>& files) {
    std::vector<std::string> argv{
        "mpv",           "--no-config", std::string("--script=") + kMprisScript,
        "--no-video",    "--ao=null",   "--loop-file=inf",
        "--really-quiet"};
    for (const auto& file : files) argv.push_back(file.string());
    return ChildProcess::start(argv, {bus->environment()}, dir.path() / "mpv.out",
                               dir.path() / "mpv.err");
  }

  bool pageShows(const std::string& text) {
    return waitFor([&] { return testing::pageFileText(page).find(text) != std::string::npos; }, 5s);
  }

  testing::TempDir dir;
  std::unique_ptr<testing::PrivateSessionBus> bus;
  // A name that reaches the tool percent-encoded.
  const fs::path flac = dir.path() / "music" / "02 Bravo été.flac";
  const fs::path ogg = dir.path() / "music" / "b.ogg";
  const fs::path mp3 = dir.path() / "music" / "c.mp3";
  const fs::path page = dir.path() / "out" / "page.html";
  const fs::path errors = dir.path() / "follow.err";
};

TEST_F(FollowMpv, PageFollowsTracksAndPlayerRestarts) {
  auto follow =
      ChildProcess::start({TUNORA_CLI_BINARY, "follow", "-o", page.string(), "--refresh", "3"},
                          {bus->environment()}, dir.path() / "follow.out", errors);
  ASSERT_TRUE(follow);
  auto player = startPlayer({flac, ogg});
  ASSERT_TRUE(player);

  // The comment is in the file only: our reader read the decoded path.
  ASSERT_TRUE(pageShows("made by metaflac")) << fileText(errors);
  const std::string first = testing::pageFileText(page);
  EXPECT_NE(first.find("Café Noir"), std::string::npos);
  EXPECT_NE(first.find("02 Bravo été.flac"), std::string::npos);
  EXPECT_NE(first.find("<meta http-equiv=\"refresh\" content=\"3\">"), std::string::npos);

  ASSERT_TRUE(pressNext(bus->address()));
  EXPECT_TRUE(pageShows("made by vorbiscomment")) << fileText(errors);

  // The player quits and comes back with another playlist.
  EXPECT_TRUE(player->terminate(3s));
  EXPECT_TRUE(waitFor(
      [&] { return fileText(errors).find("org.mpris.MediaPlayer2.mpv quit") != std::string::npos; },
      3s))
      << fileText(errors);
  player = startPlayer({mp3});
  EXPECT_TRUE(pageShows("Titlé UTF-16")) << fileText(errors);

  EXPECT_EQ(follow->terminate(3s), 0) << fileText(errors);
  EXPECT_FALSE(fs::exists(dir.path() / "out" / ".page.html.partial"));
  std::size_t pages = 0;
  for (std::size_t at = 0;
       (at = fileText(dir.path() / "follow.out").find("Page of", at)) != std::string::npos; ++at)
    ++pages;
  EXPECT_EQ(pages, 3u) << fileText(dir.path() / "follow.out");
}

}  // namespace
}  // namespace tunora
