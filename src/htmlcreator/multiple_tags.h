#pragma once
// The tracks of one page: each track's values taken from its TrackInfo when
// it is added, the cover state settled while the page is filled, and the
// summaries that describe the whole group.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/text_lines.h"
#include "trackinfo/track_fields.h"
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

struct PageTrack {
  // Its picture bytes are kept apart: tracks with equal pictures share one.
  Track values;
  const std::vector<std::uint8_t>* picture = nullptr;
  CoverState cover;
};

class MultipleTags {
 public:
  // Takes a track that has been read; the track itself is not kept. A
  // picture equal to one already kept is not kept again.
  void add(std::unique_ptr<TrackInfo> track);
  void add(Track track);
  std::size_t count() const { return tracks_.size(); }
  // Null for an index not below the count.
  const PageTrack* track(std::size_t index) const;
  CoverState* trackCover(std::size_t index);
  CoverState& groupCover() { return groupCover_; }

  // The field summed up over all tracks by its group rule.
  std::u16string summary(const TrackField& field) const;
  // The same for the field with that listing key ("artist", "year", ...).
  std::u16string summary(std::string_view key) const;

  bool anyCover() const;
  bool anyLyrics() const;
  bool anyComment() const;
  // The comment of the first track that has one (null if that track gave none).
  const TextLines* firstComment() const;
  // The picture of the first track that has one; null when there is none.
  const std::vector<std::uint8_t>* groupPicture() const;

 private:
  const std::vector<std::uint8_t>* keepPicture(std::vector<std::uint8_t> picture);

  // Node-based, so that the tracks' pointers into it stay valid.
  std::unordered_multimap<std::uint64_t, std::vector<std::uint8_t>> pictures_;
  std::vector<PageTrack> tracks_;
  CoverState groupCover_;
};

}  // namespace tunora
