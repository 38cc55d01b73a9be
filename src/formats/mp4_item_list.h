#pragma once
// The iTunes-style metadata list (the "ilst" atom): one atom per item, each
// holding a "data" atom whose payload follows 16 bytes of data header,
// version, flags and reserved word.

#include <cstdint>
#include <optional>
#include <vector>

#include "formats/mp4_atom.h"
#include "tags/tag_texts.h"
#include "text/byte_reader.h"

namespace tunora {

class MP4ItemList : public TagTexts {
 public:
  // `ilst` is the whole atom, header included. Items are taken in file
  // order; an item of size 0 or one that runs past the list ends the walk.
  explicit MP4ItemList(Bytes ilst);

  // The bytes of the last "covr" item, for the track to take over.
  std::optional<std::vector<std::uint8_t>>& cover() { return cover_; }

 private:
  void takeItem(const MP4Atom& item, Bytes payload);

  std::optional<std::vector<std::uint8_t>> cover_;
};

}  // namespace tunora
