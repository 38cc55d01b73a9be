#pragma once
// The player on the session bus as the page dispatch sees it: the playing
// file is the followed track's page entry, and the player's file information
// is that track's metadata. Cover files, their links and the skin folder are
// answered by the link it wraps.

#include "follow/player_track.h"
#include "hostlink/host_link.h"

namespace tunora {

// The player's answers are cut to this many units, as the plug-in's player
// answers are cut by the buffer it lends: a page is about a song, and a
// megabyte of title would take the page generator long to place.
inline constexpr std::size_t kPlayerAnswerLimit = 4095;

class TrackHostLink : public HostLink {
 public:
  TrackHostLink(PlayerTrack track, const HostLink& base);

  const std::u16string& entry() const { return entry_; }

  std::optional<std::u16string> coverFolder() const override { return base_.coverFolder(); }
  std::optional<std::u16string> coverLink(std::u16string_view coverPath) const override {
    return base_.coverLink(coverPath);
  }
  std::optional<std::u16string> skinFolder() const override { return base_.skinFolder(); }

  bool playerPresent() const override { return true; }
  std::optional<std::u16string> playingFile() const override { return entry_; }
  // "Title", "Artist", "Album", "Year", "Genre", "Track", "Comment" and
  // "Lyrics" of the playing entry, each cut to kPlayerAnswerLimit; nothing
  // about any other file.
  std::optional<std::u16string> fileInfo(std::u16string_view file,
                                         std::string_view key) const override;

 private:
  std::optional<std::u16string> fullAnswer(std::u16string_view file, std::string_view key) const;

  PlayerTrack track_;
  std::u16string entry_;
  const HostLink& base_;
};

}  // namespace tunora
