#pragma once
// MP4 atoms (ISO/IEC 14496-12 boxes): a 32-bit big-endian size that covers
// the header, a four-character type, and a 64-bit size after the type when
// the 32-bit size is 1. The searches walk a file without reading it whole.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "io/file_blocks.h"
#include "text/byte_reader.h"

namespace tunora {

struct MP4Atom {
  std::int64_t offset = 0;
  // As stored, header included; 0 means "to the end of the file".
  std::uint64_t size = 0;
  std::uint32_t headerSize = 8;
  std::array<std::uint8_t, 4> type{};

  std::int64_t contentStart() const { return offset + headerSize; }
  // Each type byte is one character (0xA9 is "©"); letter case is ignored.
  bool is(std::string_view fourCharacters) const;
};

// The header at the start of `bytes`, for an atom that lies at `offset`.
// Nothing when the bytes end early or the size is smaller than the header
// (which no well-formed atom has and which would stall a walk).
std::optional<MP4Atom> parseAtomHeader(Bytes bytes, std::int64_t offset);

class AtomFile {
 public:
  explicit AtomFile(FileBlocks& blocks) : blocks_(blocks) {}

  std::int64_t length() const { return blocks_.length(); }

  // Sibling search: from `start`, the first atom of that type, stepping over
  // other atoms by their sizes. It does not stop at the end of a parent and
  // goes on over the atoms that follow it; an atom of size 0 ends it.
  std::optional<MP4Atom> find(std::int64_t start, std::string_view type);

  // The file holds the whole atom.
  bool holds(const MP4Atom& atom) const;

  // The atom, header included, or nothing when the file is shorter than the
  // whole atom. Only its first `prefix` bytes are read: the headers the
  // reader takes values from are small, whatever their size field says.
  std::optional<std::vector<std::uint8_t>> read(const MP4Atom& atom,
                                                std::uint64_t prefix = UINT64_MAX);

 private:
  FileBlocks& blocks_;
  // Atom headers examined so far, bounded so that the searches that run past
  // their parent cannot turn quadratic on a file made of tiny atoms.
  std::uint32_t steps_ = 0;
};

}  // namespace tunora
