#pragma once
// The tracks of one page: each track's values copied out of its TrackInfo when
// it is added, the cover state settled while the page is filled, and the
// summaries that describe the whole group.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/text_lines.h"
#include "trackinfo/track_info.h"

namespace tunora {

// Cover name of a track or group whose cover could not be shown.
inline constexpr std::u16string_view kCoverNotFound = u"<<Error/Not Found>>";

// Decided once per page, so that a track in several sections is exported once.
struct CoverState {
  bool settled = false;
  std::u16string name;  // the temporary cover path, or kCoverNotFound
  std::u16string width;
  std::u16string height;
};

struct TrackValues {
  bool hasTag = false;
  std::u16string artist, album, title, trackNumber, year, genre;
  std::u16string bitrate, channels, sampleRate, presentTags;
  std::u16string fileName, shortFileName, extension;
  bool hasCover = false;
  bool hasLyrics = false;
  bool hasComment = false;
  // Kept by the MultipleTags; tracks with equal pictures share one.
  const std::vector<std::uint8_t>* picture = nullptr;
  const TextLines* lyrics = nullptr;
  const TextLines* comment = nullptr;
  CoverState cover;
};

class MultipleTags {
 public:
  // Takes a track that has been read and copies its values, the picture,
  // comment and lyrics included; the track itself is not kept. A picture equal
  // to one already kept is not copied again.
  void add(std::unique_ptr<TrackInfo> track);
  std::size_t count() const { return tracks_.size(); }
  // Null for an index not below the count.
  const TrackValues* track(std::size_t index) const;
  CoverState* trackCover(std::size_t index);
  CoverState& groupCover() { return groupCover_; }

  // The common value, or "Various Artists" / "Various Albums".
  std::u16string groupArtist() const;
  std::u16string groupAlbum() const;
  // Lowest "-" highest, with " (+Unknown)" when some track had no value.
  std::u16string groupYear() const;
  std::u16string groupBitrate() const;
  std::u16string groupSampleRate() const;
  std::u16string groupChannels() const;
  // Distinct values in order of first appearance, joined with ", ".
  std::u16string groupGenre() const;
  std::u16string groupFileTypes() const;
  // Distinct tag kinds; a known kind that every track has is marked "(all)".
  std::u16string groupPresentTags() const;

  bool anyCover() const;
  bool anyLyrics() const;
  bool anyComment() const;
  // The comment of the first track that has one (null if that track gave none).
  const TextLines* firstComment() const;

  // Write the picture bytes unchanged: 1 on success (or when the cover is
  // already settled), -1 otherwise. Pictures under 100 bytes are not written.
  int writeTrackPicture(std::size_t index, std::u16string_view path) const;
  // The picture of the first track that has one.
  int writeGroupPicture(std::u16string_view path) const;
  // The bytes of that picture; null when there is none.
  const std::vector<std::uint8_t>* groupPicture() const;

 private:
  struct Texts {
    TextLines lyrics;
    TextLines comment;
  };
  const std::vector<std::uint8_t>* keepPicture(const std::vector<std::uint8_t>& picture);

  // Node-based, so that the tracks' pointers into them stay valid.
  std::deque<Texts> texts_;
  std::unordered_multimap<std::uint64_t, std::vector<std::uint8_t>> pictures_;
  std::vector<TrackValues> tracks_;
  CoverState groupCover_;
};

}  // namespace tunora
