#pragma once
// The covers of one page by their content. The tracks of an album mostly
// carry the same picture: it is decoded, recoloured and encoded once, and
// every track's temporary file gets the bytes made the first time.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "htmlcreator/cover_export.h"

namespace tunora {

class CoverCache {
 public:
  // Past this many bytes kept, covers are made for each request again: a
  // page of thousands of different pictures must not hold them all.
  static constexpr std::size_t kMaxKeptBytes = 16 * 1024 * 1024;
  explicit CoverCache(std::size_t maxKeptBytes = kMaxKeptBytes) : maxKeptBytes_(maxKeptBytes) {}

  // The cover made from these picture bytes with that duotone (none: the bytes
  // as they are), made on the first request; null when they are no usable
  // picture. The pointer stays valid until the next call.
  const PreparedCover* prepare(std::span<const std::uint8_t> jpeg, const Duotone* duotone);

  // How many covers were really made, for tests.
  std::size_t preparedCount() const { return prepared_; }

 private:
  struct Entry {
    std::uint64_t key = 0;
    std::vector<std::uint8_t> source;
    std::optional<Duotone> duotone;
    std::optional<PreparedCover> cover;
  };
  static bool matches(const Entry& entry, std::span<const std::uint8_t> jpeg,
                      const Duotone* duotone);
  const Entry* find(std::uint64_t key, std::span<const std::uint8_t> jpeg,
                    const Duotone* duotone) const;

  std::unordered_multimap<std::uint64_t, Entry> entries_;
  std::size_t maxKeptBytes_;
  std::size_t keptBytes_ = 0;
  // The latest cover that did not fit, kept until the next one: the tracks of
  // an album come one after another, and a photo of several megabytes each
  // must be decoded once per album, not once per track.
  std::optional<Entry> overflow_;
  std::size_t prepared_ = 0;
};

}  // namespace tunora
