#include "formats/mp4_atom.h"

#include <algorithm>

#include "text/ascii_case.h"

namespace tunora {
namespace {

// Far more than the atoms a real file has on the paths the reader takes.
constexpr std::uint32_t kMaxAtomSteps = 100000;

}  // namespace

bool MP4Atom::is(std::string_view fourCharacters) const {
  return std::equal(type.begin(), type.end(), fourCharacters.begin(), fourCharacters.end(),
                    [](std::uint8_t stored, char wanted) {
                      return lowerAscii(stored) == lowerAscii(static_cast<std::uint8_t>(wanted));
                    });
}

std::optional<MP4Atom> parseAtomHeader(Bytes bytes, std::int64_t offset) {
  ByteReader reader(bytes);
  const auto size = reader.u32be();
  const auto type = reader.bytes(4);
  if (!size || !type) return std::nullopt;
  MP4Atom atom;
  atom.offset = offset;
  atom.size = *size;
  std::copy(type->begin(), type->end(), atom.type.begin());
  if (*size == 1) {
    const auto largeSize = reader.u64be();
    if (!largeSize) return std::nullopt;
    atom.size = *largeSize;
    atom.headerSize = 16;
  }
  if (atom.size != 0 && atom.size < atom.headerSize) return std::nullopt;
  return atom;
}

std::optional<MP4Atom> AtomFile::find(std::int64_t start, std::string_view type) {
  std::int64_t offset = start;
  const std::int64_t length = blocks_.length();
  while (offset >= 0 && offset < length && steps_ < kMaxAtomSteps) {
    ++steps_;
    // 16 bytes cover the large size; an atom near the end may have only 8.
    const auto available = static_cast<std::uint64_t>(length - offset);
    const auto header = blocks_.read(offset, available < 16 ? available : 16);
    if (!header) return std::nullopt;
    const auto atom = parseAtomHeader(*header, offset);
    if (!atom) return std::nullopt;
    if (atom->is(type)) return atom;
    if (atom->size == 0 || atom->size > available) return std::nullopt;
    offset += static_cast<std::int64_t>(atom->size);
  }
  return std::nullopt;
}

bool AtomFile::holds(const MP4Atom& atom) const {
  const std::int64_t length = blocks_.length();
  return atom.offset >= 0 && atom.offset <= length &&
         atom.size <= static_cast<std::uint64_t>(length - atom.offset);
}

std::optional<std::vector<std::uint8_t>> AtomFile::read(const MP4Atom& atom, std::uint64_t prefix) {
  if (!holds(atom)) return std::nullopt;
  return copyOf(blocks_.read(atom.offset, std::min(atom.size, prefix)));
}

}  // namespace tunora
