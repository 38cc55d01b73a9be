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

// Equal keys are checked byte for byte: a collision must not swap covers.
bool CoverCache::matches(const Entry& entry, std::span<const std::uint8_t> jpeg,
                         const Duotone* duotone) {
  return sameDuotone(entry.duotone, duotone) &&
         std::equal(jpeg.begin(), jpeg.end(), entry.source.begin(), entry.source.end());
}

const CoverCache::Entry* CoverCache::find(std::uint64_t key, std::span<const std::uint8_t> jpeg,
                                          const Duotone* duotone) const {
  const auto [first, last] = entries_.equal_range(key);
  for (auto entry = first; entry != last; ++entry)
    if (matches(entry->second, jpeg, duotone)) return &entry->second;
  return nullptr;
}

const PreparedCover* CoverCache::prepare(std::span<const std::uint8_t> jpeg,
                                         const Duotone* duotone) {
  const std::uint64_t key = contentKey(jpeg);
  const Entry* entry = find(key, jpeg, duotone);
  if (entry == nullptr && overflow_ && overflow_->key == key && matches(*overflow_, jpeg, duotone))
    entry = &*overflow_;
  if (entry != nullptr) return entry->cover ? &*entry->cover : nullptr;
  ++prepared_;
  std::optional<Duotone> kept;
  if (duotone != nullptr) kept = *duotone;
  Entry made{key, std::vector<std::uint8_t>(jpeg.begin(), jpeg.end()), kept,
             prepareCover(jpeg, duotone)};
  const std::size_t size = jpeg.size() + (made.cover ? made.cover->bytes.size() : 0);
  if (keptBytes_ + size > maxKeptBytes_) {
    overflow_ = std::move(made);
    return overflow_->cover ? &*overflow_->cover : nullptr;
  }
  keptBytes_ += size;
  const auto added = entries_.emplace(key, std::move(made));
  return added->second.cover ? &*added->second.cover : nullptr;
}

}  // namespace tunora
