#include "htmlcreator/multiple_tags.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "htmlcreator/content_key.h"
#include "io/file.h"
#include "text/helpers.h"
#include "trackinfo/cover_size.h"
#include "trackinfo/tag_kind.h"

namespace tunora {
namespace {

constexpr std::uint64_t kRangeStart = 1000000;

// The leading decimal digits; 0 without any. Saturates instead of wrapping.
std::uint64_t leadingNumber(std::u16string_view text) {
  std::uint64_t value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    value = std::min<std::uint64_t>(value * 10 + (c - u'0'), 0xFFFFFFFFull);
  }
  return value;
}

// Collects values that were not seen before (letter case ignored), in the
// form first seen; a hash of the lower-cased form keeps it linear.
class DistinctValues {
 public:
  void offer(std::u16string_view value) {
    if (seen_.insert(toLowerAscii(value)).second) values_.emplace_back(value);
  }
  const std::vector<std::u16string>& values() const { return values_; }

 private:
  std::unordered_set<std::u16string> seen_;
  std::vector<std::u16string> values_;
};

std::vector<std::u16string_view> splitAtCommas(std::u16string_view text) {
  std::vector<std::u16string_view> pieces;
  while (true) {
    const auto comma = text.find(u',');
    pieces.push_back(text.substr(0, comma));
    if (comma == text.npos) return pieces;
    text.remove_prefix(comma + 1);
  }
}

// Too small to be a picture worth showing, or no bytes although the flag says so.
int writePicture(const std::vector<std::uint8_t>* picture, std::u16string_view path) {
  if (picture == nullptr || !isLargeEnoughForCover(picture->size())) return -1;
  return writeWholeFile(path, *picture) ? 1 : -1;
}

}  // namespace

void MultipleTags::add(std::unique_ptr<TrackInfo> track) {
  TrackValues values;
  values.hasTag = track->hasTag();
  values.artist = track->getArtist();
  values.album = track->getAlbum();
  values.title = track->getTitle();
  values.trackNumber = track->getTrackNumber();
  values.year = track->getYear();
  values.genre = track->getGenre();
  values.bitrate = track->getBitrate();
  values.channels = track->getStereoMode();
  values.sampleRate = track->getSampleRate();
  values.presentTags = track->getPresentTags();
  values.fileName = track->getFileName();
  values.shortFileName = nativeFileNameOf(track->getFileName());
  values.extension = extensionOf(std::u16string_view(track->getFileName()));
  values.hasCover = track->hasCover();
  values.hasLyrics = track->hasLyrics();
  values.hasComment = track->hasComment();
  if (const auto* picture = track->getCoverData()) values.picture = keepPicture(*picture);
  const TextLines* lyrics = track->getLyrics();
  const TextLines* comment = track->getComment();
  if (lyrics != nullptr || comment != nullptr) {
    Texts& texts = texts_.emplace_back();
    if (lyrics != nullptr) {
      texts.lyrics.assign(*lyrics);
      values.lyrics = &texts.lyrics;
    }
    if (comment != nullptr) {
      texts.comment.assign(*comment);
      values.comment = &texts.comment;
    }
  }
  tracks_.push_back(std::move(values));
}

const std::vector<std::uint8_t>* MultipleTags::keepPicture(
    const std::vector<std::uint8_t>& picture) {
  const std::uint64_t key = contentKey(picture);
  const auto [first, last] = pictures_.equal_range(key);
  for (auto kept = first; kept != last; ++kept)
    if (kept->second == picture) return &kept->second;
  return &pictures_.emplace(key, picture)->second;
}

const TrackValues* MultipleTags::track(std::size_t index) const {
  return index < tracks_.size() ? &tracks_[index] : nullptr;
}

CoverState* MultipleTags::trackCover(std::size_t index) {
  return index < tracks_.size() ? &tracks_[index].cover : nullptr;
}

namespace {

std::u16string commonValue(const std::vector<TrackValues>& tracks,
                           std::u16string TrackValues::*field, std::u16string_view various) {
  if (tracks.empty()) return std::u16string(kUnknown);
  const std::u16string& first = tracks.front().*field;
  for (const auto& track : tracks)
    if (!equalIgnoringAsciiCase(track.*field, first)) return std::u16string(various);
  return first;
}

std::u16string range(const std::vector<TrackValues>& tracks, std::u16string TrackValues::*field) {
  if (tracks.empty()) return std::u16string(kUnknown);
  std::uint64_t lowest = kRangeStart;
  std::uint64_t highest = 0;
  bool lowestFound = false;
  bool highestFound = false;
  bool missing = false;
  for (const auto& track : tracks) {
    const std::uint64_t value = leadingNumber(track.*field);
    if (value == 0) {
      missing = true;
      continue;
    }
    if (value > highest) {
      highest = value;
      highestFound = true;
    }
    if (value < lowest) {
      lowest = value;
      lowestFound = true;
    }
  }
  std::u16string text;
  if (lowestFound) {
    text = decimalText(lowest);
    if (highestFound && highest != lowest) {
      text += u'-';
      text += decimalText(highest);
    }
  } else if (highestFound) {
    text = decimalText(highest);
  } else {
    return std::u16string(kUnknown);
  }
  if (missing) text += u" (+Unknown)";
  return text;
}

std::u16string distinctList(const std::vector<TrackValues>& tracks,
                            std::u16string TrackValues::*field) {
  if (tracks.empty()) return std::u16string(kUnknown);
  DistinctValues distinct;
  for (const auto& track : tracks) distinct.offer(track.*field);
  std::u16string text;
  const auto& values = distinct.values();
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += u", ";
    text += values[i];
  }
  return text;
}

}  // namespace

std::u16string MultipleTags::groupArtist() const {
  return commonValue(tracks_, &TrackValues::artist, u"Various Artists");
}
std::u16string MultipleTags::groupAlbum() const {
  return commonValue(tracks_, &TrackValues::album, u"Various Albums");
}
std::u16string MultipleTags::groupYear() const {
  return range(tracks_, &TrackValues::year);
}
std::u16string MultipleTags::groupBitrate() const {
  return range(tracks_, &TrackValues::bitrate);
}
std::u16string MultipleTags::groupSampleRate() const {
  return range(tracks_, &TrackValues::sampleRate);
}
std::u16string MultipleTags::groupChannels() const {
  return range(tracks_, &TrackValues::channels);
}
std::u16string MultipleTags::groupGenre() const {
  return distinctList(tracks_, &TrackValues::genre);
}
std::u16string MultipleTags::groupFileTypes() const {
  return distinctList(tracks_, &TrackValues::extension);
}

std::u16string MultipleTags::groupPresentTags() const {
  if (tracks_.empty()) return std::u16string(kUnknown);
  DistinctValues distinct;
  std::array<std::size_t, kTagKindNames.size()> tracksWith{};
  for (const auto& track : tracks_) {
    std::array<bool, kTagKindNames.size()> has{};
    for (const auto piece : splitAtCommas(track.presentTags)) {
      distinct.offer(piece);
      for (std::size_t k = 0; k < kTagKindNames.size(); ++k)
        if (equalIgnoringAsciiCase(piece, kTagKindNames[k].name)) has[k] = true;
    }
    for (std::size_t k = 0; k < has.size(); ++k) tracksWith[k] += has[k] ? 1 : 0;
  }
  const auto onAllTracks = [&](std::u16string_view piece) {
    for (std::size_t k = 0; k < kTagKindNames.size(); ++k)
      if (equalIgnoringAsciiCase(piece, kTagKindNames[k].name))
        return tracksWith[k] == tracks_.size();
    return false;
  };
  std::u16string text;
  const auto& pieces = distinct.values();
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0 && equalIgnoringAsciiCase(pieces[i], kNone)) continue;
    if (i > 0) text += u", ";
    text += pieces[i];
    if (onAllTracks(pieces[i])) text += u"(all)";
  }
  return text;
}

bool MultipleTags::anyCover() const {
  return std::any_of(tracks_.begin(), tracks_.end(), [](const auto& t) { return t.hasCover; });
}
bool MultipleTags::anyLyrics() const {
  return std::any_of(tracks_.begin(), tracks_.end(), [](const auto& t) { return t.hasLyrics; });
}
bool MultipleTags::anyComment() const {
  return std::any_of(tracks_.begin(), tracks_.end(), [](const auto& t) { return t.hasComment; });
}

const TextLines* MultipleTags::firstComment() const {
  for (const auto& track : tracks_)
    if (track.hasComment) return track.comment;
  return nullptr;
}

int MultipleTags::writeTrackPicture(std::size_t index, std::u16string_view path) const {
  const TrackValues* values = track(index);
  if (values == nullptr) return -1;
  return values->cover.settled ? 1 : writePicture(values->picture, path);
}

int MultipleTags::writeGroupPicture(std::u16string_view path) const {
  return anyCover() ? writePicture(groupPicture(), path) : -1;
}

const std::vector<std::uint8_t>* MultipleTags::groupPicture() const {
  for (const auto& track : tracks_)
    if (track.hasCover) return track.picture;
  return nullptr;
}

}  // namespace tunora
