#include "follow/mpris_follow.h"

#include <signal.h>
#include <systemd/sd-bus.h>
#include <systemd/sd-event.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "follow/mpris_metadata.h"
#include "follow/mpris_module.h"
#include "follow/song_follower.h"

namespace tunora {
namespace {

constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";
// A player that does not answer within this time is passed over; the bus's
// own default would stall the follower for 25 seconds.
constexpr std::uint64_t kCallTimeoutUsec = 2'000'000;

struct BusUnref {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct EventUnref {
  void operator()(sd_event* event) const { sd_event_unref(event); }
};
struct SlotUnref {
  void operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
};
struct SourceUnref {
  void operator()(sd_event_source* source) const { sd_event_source_unref(source); }
};
// Texts and lists that sd-bus allocates and hands over.
struct CFree {
  void operator()(void* block) const { std::free(block); }
};
using CText = std::unique_ptr<char, CFree>;
struct MessageUnref {
  void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using Bus = std::unique_ptr<sd_bus, BusUnref>;
using Event = std::unique_ptr<sd_event, EventUnref>;
using Slot = std::unique_ptr<sd_bus_slot, SlotUnref>;
using Source = std::unique_ptr<sd_event_source, SourceUnref>;
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

class BusError {
 public:
  BusError() = default;
  BusError(const BusError&) = delete;
  BusError& operator=(const BusError&) = delete;
  ~BusError() { sd_bus_error_free(&error_); }
  sd_bus_error* get() { return &error_; }
  std::string text(int status) const {
    if (error_.message) return error_.message;
    return std::strerror(-status);
  }

 private:
  sd_bus_error error_ = SD_BUS_ERROR_NULL;
};

// SIGINT and SIGTERM arrive through the event loop while it runs; the old
// mask comes back afterwards.
class BlockedEndSignals {
 public:
  BlockedEndSignals() {
    sigset_t end;
    sigemptyset(&end);
    sigaddset(&end, SIGINT);
    sigaddset(&end, SIGTERM);
    sigprocmask(SIG_BLOCK, &end, &previous_);
  }
  BlockedEndSignals(const BlockedEndSignals&) = delete;
  BlockedEndSignals& operator=(const BlockedEndSignals&) = delete;
  ~BlockedEndSignals() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

 private:
  sigset_t previous_;
};

void report(std::FILE* err, const std::string& text) {
  std::fputs(("tunora: " + text + "\n").c_str(), err);
  std::fflush(err);
}

class PlayerWatch {
 public:
  PlayerWatch(sd_bus* bus, sd_event* event, const std::optional<std::string>& player,
              PlayerEvents& events, std::FILE* err)
      : bus_(bus), event_(event), wanted_(player), events_(events), err_(err) {}

  bool start(std::string& error);

 private:
  static int onPropertiesChanged(sd_bus_message* message, void* self, sd_bus_error*);
  static int onNameOwnerChanged(sd_bus_message* message, void* self, sd_bus_error*);
  static int onSettleTimer(sd_event_source*, std::uint64_t, void* self);

  void propertiesChanged(sd_bus_message* message);
  void nameOwnerChanged(sd_bus_message* message);
  // Follows the first player that plays, or the wanted one.
  void chooseAmong(const std::vector<std::string>& names);
  void chooseAmongAll();
  std::vector<std::string> candidateNames();
  std::optional<std::string> ownerOf(const std::string& busName);
  bool isCandidate(std::string_view name) const;
  std::optional<std::string> playbackStatus(const std::string& busName);
  void follow(const std::string& busName, const std::string& owner);
  void fetchMetadata();
  void announce(PlayerTrack track);

  sd_bus* bus_;
  sd_event* event_;
  std::optional<std::string> wanted_;
  PlayerEvents& events_;
  std::FILE* err_;
  Slot propertiesSlot_;
  Slot ownersSlot_;
  Source settleTimer_;
  // The followed player: its well-known name and its connection's unique
  // name, which is what its signals carry as sender.
  std::string followedName_;
  std::string followedOwner_;
  bool followedPlays_ = false;
};

bool PlayerWatch::start(std::string& error) {
  sd_bus_slot* slot = nullptr;
  int status = sd_bus_match_signal(bus_, &slot, nullptr, kObjectPath, kPropertiesInterface,
                                   "PropertiesChanged", onPropertiesChanged, this);
  propertiesSlot_.reset(slot);
  if (status >= 0) {
    status =
        sd_bus_match_signal(bus_, &slot, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                            "org.freedesktop.DBus", "NameOwnerChanged", onNameOwnerChanged, this);
    ownersSlot_.reset(slot);
  }
  sd_event_source* timer = nullptr;
  if (status >= 0)
    status = sd_event_add_time_relative(event_, &timer, CLOCK_MONOTONIC, 0, 0, onSettleTimer, this);
  settleTimer_.reset(timer);
  if (status >= 0) status = sd_event_source_set_enabled(timer, SD_EVENT_OFF);
  if (status < 0) {
    error = std::strerror(-status);
    return false;
  }
  chooseAmongAll();
  if (followedName_.empty())
    report(err_, wanted_ ? "waiting for " + *wanted_ : "waiting for a player to play");
  return true;
}

int PlayerWatch::onPropertiesChanged(sd_bus_message* message, void* self, sd_bus_error*) {
  static_cast<PlayerWatch*>(self)->propertiesChanged(message);
  return 0;
}

int PlayerWatch::onNameOwnerChanged(sd_bus_message* message, void* self, sd_bus_error*) {
  static_cast<PlayerWatch*>(self)->nameOwnerChanged(message);
  return 0;
}

int PlayerWatch::onSettleTimer(sd_event_source*, std::uint64_t, void* self) {
  static_cast<PlayerWatch*>(self)->events_.onSettled();
  return 0;
}

bool PlayerWatch::isCandidate(std::string_view name) const {
  if (wanted_) return namesPlayer(name, *wanted_);
  return name.starts_with(kPlayerBusPrefix);
}

std::optional<std::string> PlayerWatch::playbackStatus(const std::string& busName) {
  BusError error;
  char* status = nullptr;
  const int got = sd_bus_get_property_string(bus_, busName.c_str(), kObjectPath, kPlayerInterface,
                                             "PlaybackStatus", error.get(), &status);
  const CText owned(status);
  if (got < 0) return std::nullopt;
  return std::string(status ? status : "");
}

std::vector<std::string> PlayerWatch::candidateNames() {
  char** names = nullptr;
  if (sd_bus_list_names(bus_, &names, nullptr) < 0) return {};
  const std::unique_ptr<char*, CFree> list(names);
  std::vector<std::string> players;
  for (char** name = names; name && *name; ++name) {
    const CText owned(*name);
    if (isCandidate(*name)) players.emplace_back(*name);
  }
  return players;
}

std::optional<std::string> PlayerWatch::ownerOf(const std::string& busName) {
  BusError error;
  sd_bus_message* raw = nullptr;
  const int got = sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus", "GetNameOwner", error.get(), &raw, "s",
                                     busName.c_str());
  const Message reply(raw);
  const char* owner = nullptr;
  if (got < 0 || sd_bus_message_read_basic(raw, 's', &owner) < 0 || !owner) return std::nullopt;
  return owner;
}

void PlayerWatch::chooseAmongAll() {
  chooseAmong(candidateNames());
}

void PlayerWatch::chooseAmong(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    const auto status = playbackStatus(name);
    if (!wanted_ && status != "Playing") continue;
    const auto owner = ownerOf(name);
    if (!owner) continue;
    followedPlays_ = status == "Playing";
    follow(name, *owner);
    return;
  }
}

void PlayerWatch::follow(const std::string& busName, const std::string& owner) {
  followedName_ = busName;
  followedOwner_ = owner;
  report(err_, "following " + busName);
  events_.onPlayerChanged();
  fetchMetadata();
}

void PlayerWatch::fetchMetadata() {
  BusError error;
  sd_bus_message* raw = nullptr;
  const int got = sd_bus_get_property(bus_, followedName_.c_str(), kObjectPath, kPlayerInterface,
                                      "Metadata", error.get(), &raw, "a{sv}");
  const Message reply(raw);
  if (got < 0) {
    // It quit meanwhile; its leaving is reported when the bus says so.
    report(err_, followedName_ + " gave no metadata: " + error.text(got));
    return;
  }
  // The reply is read from inside its variant.
  PlayerTrack track;
  if (!readMetadata(raw, track)) {
    report(err_, followedName_ + " sent metadata of the wrong type");
    return;
  }
  announce(std::move(track));
}

void PlayerWatch::announce(PlayerTrack track) {
  events_.onTrack(std::move(track));
  sd_event_source_set_time_relative(settleTimer_.get(),
                                    std::chrono::microseconds(kSettleDelay).count());
  sd_event_source_set_enabled(settleTimer_.get(), SD_EVENT_ONESHOT);
}

void PlayerWatch::propertiesChanged(sd_bus_message* message) {
  const char* sender = sd_bus_message_get_sender(message);
  const char* interface = nullptr;
  if (!sender || sd_bus_message_read_basic(message, 's', &interface) < 0 || !interface ||
      std::strcmp(interface, kPlayerInterface) != 0)
    return;
  const bool fromFollowed = sender == followedOwner_;
  std::optional<std::string> status;
  PlayerTrack track;
  bool haveTrack = false;
  bool malformed = false;
  if (sd_bus_message_enter_container(message, 'a', "{sv}") <= 0) return;
  while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
    const char* name = nullptr;
    char type = 0;
    const char* contents = nullptr;
    if (sd_bus_message_read_basic(message, 's', &name) < 0 ||
        sd_bus_message_peek_type(message, &type, &contents) <= 0 || !contents)
      return;
    const std::string property = name ? name : "";
    if (property == "PlaybackStatus" && std::strcmp(contents, "s") == 0) {
      const char* text = nullptr;
      if (sd_bus_message_enter_container(message, 'v', "s") <= 0 ||
          sd_bus_message_read_basic(message, 's', &text) < 0 ||
          sd_bus_message_exit_container(message) < 0)
        return;
      status = text ? text : "";
    } else if (property == "Metadata" && fromFollowed) {
      if (std::strcmp(contents, "a{sv}") != 0) {
        malformed = true;
        if (sd_bus_message_skip(message, "v") < 0) return;
      } else {
        if (sd_bus_message_enter_container(message, 'v', "a{sv}") <= 0) return;
        haveTrack = readMetadata(message, track);
        if (!haveTrack || sd_bus_message_exit_container(message) < 0) {
          report(err_, followedName_ + " sent metadata that breaks off");
          return;
        }
      }
    } else if (sd_bus_message_skip(message, "v") < 0) {
      return;
    }
    if (sd_bus_message_exit_container(message) < 0) return;
  }
  if (malformed) report(err_, followedName_ + " sent metadata of the wrong type");
  // Some players only say that the metadata changed, not what it is now.
  bool metadataInvalidated = false;
  const char* invalidated = nullptr;
  if (sd_bus_message_exit_container(message) >= 0 &&
      sd_bus_message_enter_container(message, 'a', "s") > 0) {
    while (sd_bus_message_read_basic(message, 's', &invalidated) > 0)
      if (std::strcmp(invalidated, "Metadata") == 0) metadataInvalidated = true;
  }

  if (fromFollowed) {
    if (status) followedPlays_ = *status == "Playing";
    if (haveTrack)
      announce(std::move(track));
    else if (metadataInvalidated)
      fetchMetadata();
    return;
  }
  // Another player began to play: without a wanted player, it is followed
  // when the followed one is not playing.
  if (status == "Playing" && !wanted_ && (followedName_.empty() || !followedPlays_)) {
    std::vector<std::string> names = candidateNames();
    std::erase_if(names, [&](const std::string& name) { return ownerOf(name) != sender; });
    chooseAmong(names);
  }
}

void PlayerWatch::nameOwnerChanged(sd_bus_message* message) {
  const char* name = nullptr;
  const char* oldOwner = nullptr;
  const char* newOwner = nullptr;
  if (sd_bus_message_read(message, "sss", &name, &oldOwner, &newOwner) < 0 || !name) return;
  const std::string busName = name;
  if (!busName.starts_with(kPlayerBusPrefix)) return;
  if (busName == followedName_ && (!newOwner || !*newOwner)) {
    report(err_, busName + " quit");
    followedName_.clear();
    followedOwner_.clear();
    followedPlays_ = false;
    chooseAmongAll();
    if (followedName_.empty())
      report(err_, wanted_ ? "waiting for " + *wanted_ : "waiting for a player to play");
    return;
  }
  // A wanted player that starts is followed at once; any other when it plays.
  if (newOwner && *newOwner && followedName_.empty() && isCandidate(busName))
    chooseAmong({busName});
}

}  // namespace

int tunora_follow_players(const std::optional<std::string>& player, PlayerEvents& events,
                          std::FILE* err) {
  const std::optional<std::string> wanted =
      player ? std::optional(playerBusName(*player)) : std::nullopt;
  sd_bus* rawBus = nullptr;
  int status = sd_bus_open_user(&rawBus);
  const Bus bus(rawBus);
  if (status < 0) {
    report(err, std::string("cannot reach the session bus: ") + std::strerror(-status));
    return 1;
  }
  sd_bus_set_method_call_timeout(bus.get(), kCallTimeoutUsec);
  sd_event* rawEvent = nullptr;
  status = sd_event_new(&rawEvent);
  const Event event(rawEvent);
  const BlockedEndSignals blocked;
  std::string error;
  if (status >= 0) status = sd_event_add_signal(event.get(), nullptr, SIGINT, nullptr, nullptr);
  if (status >= 0) status = sd_event_add_signal(event.get(), nullptr, SIGTERM, nullptr, nullptr);
  if (status >= 0) status = sd_bus_attach_event(bus.get(), event.get(), SD_EVENT_PRIORITY_NORMAL);
  if (status < 0) {
    report(err, std::string("cannot follow the session bus: ") + std::strerror(-status));
    return 1;
  }
  PlayerWatch watch(bus.get(), event.get(), wanted, events, err);
  if (!watch.start(error)) {
    report(err, "cannot follow the session bus: " + error);
    return 1;
  }
  status = sd_event_loop(event.get());
  sd_bus_detach_event(bus.get());
  return status < 0 ? 1 : 0;
}

}  // namespace tunora
