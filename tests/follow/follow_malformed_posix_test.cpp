// The tool next to a player of the test's own that sends what players should
// not: values of the wrong types, missing keys, a 1 MB title, a file that is
// gone, URLs of other schemes, and then vanishes.

#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

constexpr const char* kPath = "/org/mpris/MediaPlayer2";
constexpr const char* kPlayer = "org.mpris.MediaPlayer2.Player";

// One "{sv}" entry of the metadata, of whatever type the test likes.
using Entry = std::function<int(sd_bus_message*)>;

Entry text(const char* key, std::string value) {
  return [key, value](sd_bus_message* m) {
    return sd_bus_message_append(m, "{sv}", key, "s", value.c_str());
  };
}
Entry number(const char* key, std::int32_t value) {
  return
      [key, value](sd_bus_message* m) { return sd_bus_message_append(m, "{sv}", key, "i", value); };
}
// A number of any of the bus's integer types, named by its type letter.
template <typename Number>
Entry typedNumber(const char* key, const char* type, Number value) {
  return [=](sd_bus_message* m) { return sd_bus_message_append(m, "{sv}", key, type, value); };
}
Entry texts(const char* key, const char* first, const char* second) {
  return [=](sd_bus_message* m) {
    return sd_bus_message_append(m, "{sv}", key, "as", 2, first, second);
  };
}

int appendMetadata(sd_bus_message* m, const std::vector<Entry>& entries) {
  int status = sd_bus_message_open_container(m, 'a', "{sv}");
  for (const auto& entry : entries)
    if (status >= 0) status = entry(m);
  return status < 0 ? status : sd_bus_message_close_container(m);
}

struct BusClose {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct SlotUnref {
  void operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
};
struct MessageUnref {
  void operator()(sd_bus_message* m) const { sd_bus_message_unref(m); }
};

// Answers Get of PlaybackStatus ("Playing") and Metadata (`metadata`), and
// announces new metadata as a player does.
class MadePlayer {
 public:
  bool start(const std::string& address) {
    sd_bus* raw = nullptr;
    if (sd_bus_new(&raw) < 0) return false;
    bus_.reset(raw);
    sd_bus_slot* slot = nullptr;
    const bool started = sd_bus_set_address(raw, address.c_str()) >= 0 &&
                         sd_bus_set_bus_client(raw, 1) >= 0 && sd_bus_start(raw) >= 0 &&
                         sd_bus_add_object(raw, &slot, kPath, onMessage, this) >= 0;
    slot_.reset(slot);
    return started && sd_bus_request_name(raw, "org.mpris.MediaPlayer2.made", 0) >= 0;
  }

  // Says only that the metadata changed; it is then asked for.
  bool invalidate() {
    return sd_bus_emit_signal(bus_.get(), kPath, "org.freedesktop.DBus.Properties",
                              "PropertiesChanged", "sa{sv}as", kPlayer, 0, 1, "Metadata") >= 0;
  }

  // Metadata of another type than a dictionary is sent as a text.
  bool announce(const std::vector<Entry>& metadata, bool asText = false) {
    sd_bus_message* raw = nullptr;
    if (sd_bus_message_new_signal(bus_.get(), &raw, kPath, "org.freedesktop.DBus.Properties",
                                  "PropertiesChanged") < 0)
      return false;
    const std::unique_ptr<sd_bus_message, MessageUnref> signal(raw);
    int status = sd_bus_message_append(raw, "s", kPlayer);
    if (status >= 0) status = sd_bus_message_open_container(raw, 'a', "{sv}");
    if (status >= 0) status = sd_bus_message_open_container(raw, 'e', "sv");
    if (status >= 0) status = sd_bus_message_append(raw, "s", "Metadata");
    if (asText) {
      if (status >= 0) status = sd_bus_message_append(raw, "v", "s", "not a dictionary");
    } else {
      if (status >= 0) status = sd_bus_message_open_container(raw, 'v', "a{sv}");
      if (status >= 0) status = appendMetadata(raw, metadata);
      if (status >= 0) status = sd_bus_message_close_container(raw);
    }
    if (status >= 0) status = sd_bus_message_close_container(raw);
    if (status >= 0) status = sd_bus_message_close_container(raw);
    if (status >= 0) status = sd_bus_message_append(raw, "as", 0);
    return status >= 0 && sd_bus_send(bus_.get(), raw, nullptr) >= 0;
  }

  void process() {
    while (bus_ && sd_bus_process(bus_.get(), nullptr) > 0) {
    }
  }

  void quit() {
    slot_.reset();
    bus_.reset();
  }

  std::vector<Entry> metadata;

 private:
  static int onMessage(sd_bus_message* m, void* self, sd_bus_error*) {
    if (!sd_bus_message_is_method_call(m, "org.freedesktop.DBus.Properties", "Get")) return 0;
    const char* interface = nullptr;
    const char* property = nullptr;
    if (sd_bus_message_read(m, "ss", &interface, &property) < 0) return 0;
    sd_bus_message* raw = nullptr;
    if (sd_bus_message_new_method_return(m, &raw) < 0) return 0;
    const std::unique_ptr<sd_bus_message, MessageUnref> reply(raw);
    int status = 0;
    if (std::strcmp(property, "Metadata") == 0) {
      status = sd_bus_message_open_container(raw, 'v', "a{sv}");
      if (status >= 0) status = appendMetadata(raw, static_cast<MadePlayer*>(self)->metadata);
      if (status >= 0) status = sd_bus_message_close_container(raw);
    } else {
      status = sd_bus_message_append(raw, "v", "s", "Playing");
    }
    if (status < 0) return status;
    return sd_bus_send(nullptr, raw, nullptr) < 0 ? 0 : 1;
  }

  std::unique_ptr<sd_bus, BusClose> bus_;
  std::unique_ptr<sd_bus_slot, SlotUnref> slot_;
};

class FollowMalformed : public ::testing::Test {
 protected:
  void SetUp() override {
    bus = testing::PrivateSessionBus::start(dir.path());
    if (!bus) GTEST_SKIP() << "needs dbus-daemon";
  }

  std::unique_ptr<ChildProcess> startFollow(const fs::path& output, const std::string& name) {
    return ChildProcess::start({TUNORA_CLI_BINARY, "follow", "-o", output.string()},
                               {bus->environment()}, dir.path() / (name + ".out"),
                               dir.path() / (name + ".err"));
  }

  bool pageShows(const std::string& text) {
    return waitFor([&] { return testing::pageFileText(page).find(text) != std::string::npos; }, 5s,
                   [&] { player.process(); });
  }
  bool errorsShow(const std::string& name, const std::string& text) {
    return waitFor(
        [&] { return fileText(dir.path() / (name + ".err")).find(text) != std::string::npos; }, 5s,
        [&] { player.process(); });
  }

  testing::TempDir dir;
  std::unique_ptr<testing::PrivateSessionBus> bus;
  MadePlayer player;
  const fs::path page = dir.path() / "out" / "page.html";
};

TEST_F(FollowMalformed, BadMetadataGivesPagesOrMessagesNeverAnEnd) {
  // The right types where players often slip: one artist as a text.
  player.metadata = {text("xesam:url", "http://radio.example/live.mp3"), number("xesam:title", 42),
                     text("xesam:artist", "Solo Artist"), text("xesam:trackNumber", "7"),
                     number("mpris:trackid", 1)};
  ASSERT_TRUE(player.start(bus->address()));
  auto follow = startFollow(page, "follow");
  // Its page can never be written: a file stands where its folder would be.
  std::ofstream(dir.path() / "blocker") << "x";
  auto blocked = startFollow(dir.path() / "blocker" / "page.html", "blocked");
  ASSERT_TRUE(follow && blocked);

  // A stream is described from the metadata and not read as an MP3 file.
  ASSERT_TRUE(pageShows("Solo Artist")) << fileText(dir.path() / "follow.err");
  EXPECT_NE(testing::pageFileText(page).find("<td>live.mp3</td>"), std::string::npos);
  EXPECT_TRUE(errorsShow("blocked", "tunora: cannot write"));

  // A file that is gone, with a 1 MB title.
  const std::string longTitle = std::string(1 << 20, 'x') + "END";
  ASSERT_TRUE(player.announce({text("xesam:url", "file:///nonexistent/gone.flac"),
                               text("xesam:title", longTitle), text("xesam:album", "Album Two")}));
  ASSERT_TRUE(pageShows("Album Two")) << fileText(dir.path() / "follow.err");
  EXPECT_NE(testing::pageFileText(page).find("<td>" + longTitle.substr(0, 4095) + "</td>"),
            std::string::npos);
  EXPECT_TRUE(errorsShow("follow", "the player sent a text of 1048579 bytes"));
  EXPECT_TRUE(errorsShow("follow", "cannot read '/nonexistent/gone.flac'"));

  // Metadata that is no dictionary leaves the page as it is.
  ASSERT_TRUE(player.announce({}, true));
  EXPECT_TRUE(errorsShow("follow", "sent metadata of the wrong type"));

  // Another scheme, a list of artists; then a stop (no keys at all) and a
  // track with nothing but a title.
  ASSERT_TRUE(
      player.announce({text("xesam:url", "smb://host/share/a.mp3"),
                       text("xesam:title", "Share Song"), texts("xesam:artist", "One", "Two")}));
  ASSERT_TRUE(pageShows("One, Two"));
  EXPECT_NE(testing::pageFileText(page).find("Share Song"), std::string::npos);
  ASSERT_TRUE(player.announce({}));
  // The title that reaches the terminal cannot clear it.
  ASSERT_TRUE(player.announce({text("xesam:title", "Bare\x1b[2J")}));
  ASSERT_TRUE(pageShows("Bare"));
  EXPECT_TRUE(waitFor(
      [&] {
        return fileText(dir.path() / "follow.out").find("Page of Bare?[2J written") !=
               std::string::npos;
      },
      5s));

  // Track numbers come in every integer type; one too large for a track
  // number is none.
  const struct {
    Entry number;
    const char* shown;
  } numbers[] = {
      {typedNumber("xesam:trackNumber", "y", std::uint8_t{3}), "<td>3</td>"},
      {typedNumber("xesam:trackNumber", "n", std::int16_t{4}), "<td>4</td>"},
      {typedNumber("xesam:trackNumber", "q", std::uint16_t{5}), "<td>5</td>"},
      {typedNumber("xesam:trackNumber", "u", std::uint32_t{6}), "<td>6</td>"},
      {typedNumber("xesam:trackNumber", "x", std::int64_t{7}), "<td>7</td>"},
      {typedNumber("xesam:trackNumber", "t", std::uint64_t{8}), "<td>8</td>"},
      {typedNumber("xesam:trackNumber", "x", std::int64_t{INT32_MAX}), "<td>2147483647</td>"},
      {typedNumber("xesam:trackNumber", "x", std::int64_t{INT32_MAX} + 1), "<td>Unknown</td>"},
      {typedNumber("xesam:trackNumber", "u", std::uint32_t{INT32_MAX} + 1), "<td>Unknown</td>"},
      {typedNumber("xesam:trackNumber", "t", UINT64_MAX), "<td>Unknown</td>"},
      {typedNumber("xesam:trackNumber", "i", std::int32_t{1}), "<td>1</td>"},
      {typedNumber("xesam:trackNumber", "i", std::int32_t{0}), "<td>Unknown</td>"},
      {typedNumber("xesam:trackNumber", "x", std::int64_t{INT32_MIN} - 1), "<td>Unknown</td>"},
      // A number of another kind is none.
      {typedNumber("xesam:trackNumber", "d", 9.0), "<td>Unknown</td>"},
  };
  for (std::size_t i = 0; i < std::size(numbers); ++i) {
    const std::string title = "Numbered " + std::to_string(i);
    ASSERT_TRUE(player.announce({text("xesam:title", title), numbers[i].number}));
    ASSERT_TRUE(pageShows(title));
    EXPECT_NE(testing::pageFileText(page).find(std::string("Track-Nr.</td>") + numbers[i].shown),
              std::string::npos)
        << numbers[i].shown;
  }

  player.metadata = {text("xesam:title", "Asked For")};
  ASSERT_TRUE(player.invalidate());
  ASSERT_TRUE(pageShows("Asked For"));

  // The player vanishes; the tool waits for the next one.
  player.quit();
  EXPECT_TRUE(errorsShow("follow", "org.mpris.MediaPlayer2.made quit"));
  EXPECT_TRUE(follow->running() && blocked->running());
  EXPECT_EQ(follow->terminate(3s), 0);
  EXPECT_EQ(blocked->terminate(3s), 0);
}

// Names that are no UTF-8 (Latin-1 bytes here) reach the disk as they came,
// for -o and for the default page in the current folder alike.
TEST_F(FollowMalformed, PagesGoUnderNamesThatAreNoUtf8ByteForByte) {
  player.metadata = {text("xesam:title", "Caf\xC3\xA9 Song")};
  ASSERT_TRUE(player.start(bus->address()));
  const fs::path folder = dir.path() / "d\xE9j\xE0";
  fs::create_directory(folder);
  const struct {
    std::vector<std::string> options;
    fs::path page;
  } cases[] = {
      {{"-o", (dir.path() / "caf\xE9.html").string()}, dir.path() / "caf\xE9.html"},
      {{}, folder / "tunora.html"},
      {{"-o", "caf\xE9.html"}, folder / "caf\xE9.html"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].page.string());
    const std::string name = "names" + std::to_string(i);
    // Started in `folder`, where the default page and relative names go.
    std::vector<std::string> argv = {"env", "-C", folder.string(), TUNORA_CLI_BINARY, "follow"};
    argv.insert(argv.end(), cases[i].options.begin(), cases[i].options.end());
    const auto follow = ChildProcess::start(
        argv, {bus->environment()}, dir.path() / (name + ".out"), dir.path() / (name + ".err"));
    ASSERT_TRUE(follow);
    EXPECT_TRUE(waitFor(
        [&] {
          return testing::pageFileText(cases[i].page).find("Caf\xC3\xA9 Song") != std::string::npos;
        },
        5s, [&] { player.process(); }))
        << fileText(dir.path() / (name + ".err"));
    EXPECT_EQ(follow->terminate(3s), 0) << fileText(dir.path() / (name + ".err"));
    EXPECT_EQ(fileText(dir.path() / (name + ".err")).find("cannot"), std::string::npos);
    // People read the name with U+FFFD for each byte that is no UTF-8 (the
    // rest of these paths is ASCII).
    std::string shown;
    for (const char c : cases[i].page.string())
      shown += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : "\xEF\xBF\xBD";
    EXPECT_NE(fileText(dir.path() / (name + ".out")).find("Song written to " + shown + "\n"),
              std::string::npos);
    // The page's own name and nothing half-written beside it.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(cases[i].page.parent_path()))
      if (!entry.is_directory()) names.push_back(entry.path().filename().string());
    EXPECT_NE(std::find(names.begin(), names.end(), cases[i].page.filename().string()),
              names.end());
    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                            [](const std::string& n) { return n.starts_with(".tunora-"); }),
              0);
    fs::remove(cases[i].page);
  }
}

}  // namespace
}  // namespace tunora
