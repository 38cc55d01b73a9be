#include "trackinfo/tag_kind.h"

#include "trackinfo/track_info.h"

namespace tunora {

std::u16string presentTagsText(std::span<const TagKind> present) {
  if (present.empty()) return std::u16string(kNone);
  std::u16string text;
  for (const TagKind kind : present) {
    if (!text.empty()) text += u',';
    text += tagKindName(kind);
  }
  return text;
}

}  // namespace tunora
