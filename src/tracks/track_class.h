#pragma once
// Which class reads a file: by the name's extension (in any letter case), the
// per-type switches, and whether the name is a stream.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "settings/file_type_switches.h"
#include "trackinfo/track_info.h"

namespace tunora {

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
