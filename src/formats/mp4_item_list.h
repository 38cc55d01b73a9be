#pragma once
// The iTunes-style metadata list (the "ilst" atom): one atom per item, each
// holding a "data" atom whose payload follows 16 bytes of data header,
// version, flags and reserved word.

#include <cstdint>
#include <optional>
#include <vector>

#include "formats/tag_texts.h"
#include "text/byte_reader.h"

namespace tunora {

struct MP4ItemList {
  TagTexts texts;
  std::optional<std::vector<std::uint8_t>> cover;
};

// `ilst` is the whole atom, header included. Items are taken in file order;
// an item of size 0 or one that runs past the list ends the walk.
MP4ItemList parseItemList(Bytes ilst);

}  // namespace tunora
