#pragma once
// Which class reads a file: by the name's extension (in any letter case), the
// per-type switches, and whether the name is a stream.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "trackinfo/track_info.h"

namespace tunora {

enum class TrackClass { MP3, MP4, AAC, OGG, FLAC, MPC };

// The per-type switches: a type switched off is described by the player instead.
struct FileTypeSwitches {
  bool mp3 = true;
  bool mp4 = true;
  bool aac = true;
  bool ogg = true;
  bool flac = true;
  bool mpc = true;
  bool enabled(TrackClass type) const;
};

struct ResolvedEntry {
  std::u16string name;
  bool isStream = false;
};

// A name that is no existing file but holds "://" is either a "file://" URL,
// turned into a local path, or a stream.
ResolvedEntry resolveEntryName(std::u16string_view name);

// The first extension rule that matches an enabled type; nothing for a
// stream or an unsupported name.
std::optional<TrackClass> chooseTrackClass(std::u16string_view name, bool isStream,
                                           const FileTypeSwitches& switches);

std::unique_ptr<TrackInfo> createTrackInfo(TrackClass type);

// The object of the entry's class after its readFile, or null when no
// enabled class reads the entry; `result`, when given, receives what the
// reading found.
std::unique_ptr<TrackInfo> readSupportedTrack(const ResolvedEntry& entry,
                                              const FileTypeSwitches& switches,
                                              ReadResult* result = nullptr,
                                              CoverBytes cover = CoverBytes::Kept);

}  // namespace tunora
