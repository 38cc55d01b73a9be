#pragma once
// The iTunes-style metadata list (the "ilst" atom): one atom per item, each
// holding a "data" atom whose payload follows 16 bytes of data header,
// version, flags and reserved word.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "formats/mp4_atom.h"
#include "tags/tag_texts.h"
#include "text/byte_reader.h"

namespace tunora {

class MP4ItemList : public TagTexts {
 public:
  // `count` bytes at `offset` from the start of the list; nothing when they
  // cannot be had. A view need only last until the next call.
  using ReadBytes = std::function<std::optional<Bytes>(std::uint64_t offset, std::uint64_t count)>;

  // The list of `size` bytes, header included, read piece by piece: item
  // headers, and the payloads of the items that give texts. Items are taken
  // in file order; an item of size 0 or one that runs past the list ends the
  // walk, and so does a read that fails.
  MP4ItemList(std::uint64_t size, const ReadBytes& read);
  // The whole atom in memory.
  explicit MP4ItemList(Bytes ilst);

  // Where a payload lies, counted from the start of the list.
  struct Span {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
  };
  // The payload of the last "covr" item that has one: everything after the
  // first data header, a second data atom included. The walk leaves it
  // unread, so that the reader can take it or only its size.
  const std::optional<Span>& cover() const { return cover_; }

 private:
  // The items the list takes; any other is stepped over unread.
  enum class ItemKind {
    Title,
    Artist,
    Album,
    Year,
    Genre,
    Comment,
    Lyrics,
    Cover,
    GenreNumber,
    Track,
    AlbumArtist,
    Disc,
    Composer
  };
  static std::optional<ItemKind> kindOf(const MP4Atom& item);
  // The payloads of the item's data atoms, at least one.
  void takeItem(ItemKind kind, const std::vector<Bytes>& payloads);

  std::optional<Span> cover_;
};

}  // namespace tunora
