#include "tracks/track_class.h"

#include <array>

#include "formats/aac_info.h"
#include "formats/aiff_info.h"
#include "formats/flac_info.h"
#include "formats/mp3_info.h"
#include "formats/mp4_info.h"
#include "formats/mpc_info.h"
#include "formats/ogg_info.h"
#include "formats/opus_info.h"
#include "formats/wav_info.h"
#include "io/file.h"
#include "text/ascii_case.h"
#include "text/conversions.h"
#include "text/debug_log.h"

namespace tunora {
namespace {

struct ExtensionRule {
  std::u16string_view extension;
  TrackClass type;
};

constexpr std::array kExtensionRules{
    ExtensionRule{u".mp3", TrackClass::MP3},   ExtensionRule{u".m4a", TrackClass::MP4},
    ExtensionRule{u".mp4", TrackClass::MP4},   ExtensionRule{u".aac", TrackClass::AAC},
    ExtensionRule{u".ogg", TrackClass::OGG},   ExtensionRule{u".flac", TrackClass::FLAC},
    ExtensionRule{u".mpc", TrackClass::MPC},   ExtensionRule{u".opus", TrackClass::Opus},
    ExtensionRule{u".wav", TrackClass::WAV},   ExtensionRule{u".aif", TrackClass::AIFF},
    ExtensionRule{u".aiff", TrackClass::AIFF}, ExtensionRule{u".aifc", TrackClass::AIFF},
};

const char* trackClassName(TrackClass type) {
  switch (type) {
    case TrackClass::MP3:
      return "MP3";
    case TrackClass::MP4:
      return "MP4";
    case TrackClass::AAC:
      return "AAC";
    case TrackClass::OGG:
      return "Ogg Vorbis";
    case TrackClass::FLAC:
      return "FLAC";
    case TrackClass::MPC:
      return "Musepack";
    case TrackClass::Opus:
      return "Ogg Opus";
    case TrackClass::WAV:
      return "WAV";
    case TrackClass::AIFF:
      return "AIFF";
  }
  return "?";
}

const char* readResultText(ReadResult result) {
  switch (result) {
    case ReadResult::Read:
      return "opened and read";
    case ReadResult::NotOpened:
      return "could not be opened";
    case ReadResult::NotRecognised:
      return "opened, but not a file of that kind";
    case ReadResult::Incomplete:
      return "reading stopped part-way";
  }
  return "?";
}

}  // namespace

ResolvedEntry resolveEntryName(std::u16string_view name) {
  ResolvedEntry entry{std::u16string(name), false};
  if (name.find(u"://") == name.npos || File::open(name, File::Mode::Read)) return entry;
  if (toLowerAscii(name).find(u"file://") == std::u16string::npos) {
    entry.isStream = true;
    return entry;
  }
  entry.name = entry.name.substr(std::min<std::size_t>(7, entry.name.size()));
  for (auto& c : entry.name)
    if (c == u'/') c = static_cast<char16_t>(kPathSeparator);
  debugLog("filename: '%s'\n", pathToNative(entry.name).c_str());
  return entry;
}

std::optional<TrackClass> chooseTrackClass(std::u16string_view name, bool isStream,
                                           const FileTypeSwitches& switches) {
  if (isStream) return std::nullopt;
  // Windows file names ignore letter case, and many rips carry ".MP3".
  const std::u16string lowered = toLowerAscii(name);
  for (const auto& rule : kExtensionRules)
    if (switches.enabled(rule.type) && lowered.ends_with(rule.extension)) return rule.type;
  return std::nullopt;
}

std::unique_ptr<TrackInfo> createTrackInfo(TrackClass type) {
  switch (type) {
    case TrackClass::MP3:
      return std::make_unique<MP3Info>();
    case TrackClass::MP4:
      return std::make_unique<MP4Info>();
    case TrackClass::AAC:
      return std::make_unique<AACInfo>();
    case TrackClass::OGG:
      return std::make_unique<OGGInfo>();
    case TrackClass::FLAC:
      return std::make_unique<FLACInfo>();
    case TrackClass::MPC:
      return std::make_unique<MPCInfo>();
    case TrackClass::Opus:
      return std::make_unique<OpusInfo>();
    case TrackClass::WAV:
      return std::make_unique<WAVInfo>();
    case TrackClass::AIFF:
      return std::make_unique<AIFFInfo>();
  }
  return std::make_unique<TrackInfo>();
}

std::unique_ptr<TrackInfo> readSupportedTrack(const ResolvedEntry& entry,
                                              const FileTypeSwitches& switches, ReadResult* result,
                                              CoverBytes cover) {
  // What happens to each file, for a user who asks the debug log why a file
  // shows what it shows.
  const bool traced = debugLogWanted();
  const std::string name = traced ? convertUTF16ToUTF8(entry.name) : std::string();
  const auto type = chooseTrackClass(entry.name, entry.isStream, switches);
  if (!type) {
    debugLog("file '%s': %s\n", name.c_str(),
             entry.isStream ? "a stream, not read" : "no reader for its type (or switched off)");
    return nullptr;
  }
  auto track = createTrackInfo(*type);
  track->setCoverBytes(cover);
  const ReadResult read = track->readFile(entry.name);
  if (traced)
    debugLog("file '%s': read as %s: %s; tags: %s\n", name.c_str(), trackClassName(*type),
             readResultText(read), convertUTF16ToUTF8(track->getPresentTags()).c_str());
  if (result != nullptr) *result = read;
  return track;
}

}  // namespace tunora
