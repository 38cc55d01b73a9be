#include "htmlcreator/multiple_tags.h"

#include <algorithm>

#include "htmlcreator/content_key.h"

namespace tunora {

void MultipleTags::add(std::unique_ptr<TrackInfo> track) {
  add(track->takeTrack());
}

void MultipleTags::add(Track track) {
  PageTrack entry;
  if (track.cover) entry.picture = keepPicture(std::move(*track.cover));
  track.cover.reset();
  entry.values = std::move(track);
  tracks_.push_back(std::move(entry));
}

const std::vector<std::uint8_t>* MultipleTags::keepPicture(std::vector<std::uint8_t> picture) {
  const std::uint64_t key = contentKey(picture);
  const auto [first, last] = pictures_.equal_range(key);
  for (auto kept = first; kept != last; ++kept)
    if (kept->second == picture) return &kept->second;
  return &pictures_.emplace(key, std::move(picture))->second;
}

const PageTrack* MultipleTags::track(std::size_t index) const {
  return index < tracks_.size() ? &tracks_[index] : nullptr;
}

CoverState* MultipleTags::trackCover(std::size_t index) {
  return index < tracks_.size() ? &tracks_[index].cover : nullptr;
}

std::u16string MultipleTags::summary(const TrackField& field) const {
  std::vector<const Track*> values;
  values.reserve(tracks_.size());
  for (const auto& track : tracks_) values.push_back(&track.values);
  return groupSummary(field, values);
}

std::u16string MultipleTags::summary(std::string_view key) const {
  for (const TrackField& field : trackFields())
    if (field.key == key) return summary(field);
  return std::u16string(kUnknown);
}

bool MultipleTags::anyCover() const {
  return std::any_of(tracks_.begin(), tracks_.end(),
                     [](const auto& t) { return t.values.hasCover; });
}
bool MultipleTags::anyLyrics() const {
  return std::any_of(tracks_.begin(), tracks_.end(),
                     [](const auto& t) { return t.values.hasLyrics; });
}
bool MultipleTags::anyComment() const {
  return std::any_of(tracks_.begin(), tracks_.end(),
                     [](const auto& t) { return t.values.hasComment; });
}

const TextLines* MultipleTags::firstComment() const {
  for (const auto& track : tracks_)
    if (track.values.hasComment) return track.values.comment ? &*track.values.comment : nullptr;
  return nullptr;
}

const std::vector<std::uint8_t>* MultipleTags::groupPicture() const {
  for (const auto& track : tracks_)
    if (track.values.hasCover) return track.picture;
  return nullptr;
}

}  // namespace tunora
