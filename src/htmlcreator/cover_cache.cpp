#include "htmlcreator/cover_cache.h"

#include <algorithm>

#include "htmlcreator/content_key.h"

namespace tunora {
namespace {

bool sameDuotone(const std::optional<Duotone>& kept, const Duotone* wanted) {
  if (!kept || wanted == nullptr) return !kept && wanted == nullptr;
  return kept->dark == wanted->dark && kept->light == wanted->light;
}

}  // namespace

const CoverCache::Entry* CoverCache::find(std::uint64_t key, std::span<const std::uint8_t> jpeg,
                                          const Duotone* duotone) const {
  // Equal keys are checked byte for byte: a collision must not swap covers.
  const auto [first, last] = entries_.equal_range(key);
  for (auto entry = first; entry != last; ++entry)
    if (sameDuotone(entry->second.duotone, duotone) &&
        std::equal(jpeg.begin(), jpeg.end(), entry->second.source.begin(),
                   entry->second.source.end()))
      return &entry->second;
  return nullptr;
}

const PreparedCover* CoverCache::prepare(std::span<const std::uint8_t> jpeg,
                                         const Duotone* duotone) {
  const std::uint64_t key = contentKey(jpeg);
  if (const Entry* entry = find(key, jpeg, duotone)) return entry->cover ? &*entry->cover : nullptr;
  ++prepared_;
  auto cover = prepareCover(jpeg, duotone);
  const std::size_t size = jpeg.size() + (cover ? cover->bytes.size() : 0);
  if (keptBytes_ + size > kMaxKeptBytes) {
    uncached_ = std::move(cover);
    return uncached_ ? &*uncached_ : nullptr;
  }
  keptBytes_ += size;
  std::optional<Duotone> kept;
  if (duotone != nullptr) kept = *duotone;
  const auto entry = entries_.emplace(
      key, Entry{std::vector<std::uint8_t>(jpeg.begin(), jpeg.end()), kept, std::move(cover)});
  return entry->second.cover ? &*entry->second.cover : nullptr;
}

}  // namespace tunora
