#pragma once
// The chunks of RIFF (WAV) and IFF (AIFF) files: a four-letter id, a 32-bit
// body size (little-endian in RIFF, big-endian in IFF), the body, and a pad
// byte after a body of odd size. The chunks of a file follow one another
// inside an outer chunk ("RIFF", "RF64", "FORM") whose size is not trusted:
// the walk goes on to the end of the file.

#include <cstdint>
#include <optional>
#include <string_view>

#include "io/file_blocks.h"
#include "text/byte_reader.h"

namespace tunora {

enum class ChunkSizeOrder { LittleEndian, BigEndian };

struct IffChunk {
  char id[4] = {};
  // Where the body starts in the file.
  std::int64_t body = 0;
  // The size the header gives; the file may hold fewer bytes.
  std::uint64_t size = 0;
  // The body bytes the file really holds: the size, cut at the end of the file.
  std::uint64_t available = 0;

  bool is(std::string_view name) const { return name == std::string_view(id, 4); }
};

class IffChunkWalk {
 public:
  IffChunkWalk(FileBlocks& blocks, std::int64_t firstChunk, ChunkSizeOrder order)
      : blocks_(blocks), next_(firstChunk), order_(order) {}

  // The next chunk whose header the file holds; nothing after the last one,
  // after a chunk that ends beyond the file, or after as many chunks as no
  // real file carries.
  std::optional<IffChunk> next();
  // Gives the chunk that next() returned last its true size: RF64 files keep
  // the sizes of large chunks in their ds64 chunk, and 0xFFFFFFFF in the
  // chunk's header.
  void resize(IffChunk& chunk, std::uint64_t size);

 private:
  FileBlocks& blocks_;
  // Measures what the file holds of the chunk and finds where the chunk after
  // it starts; -1 after the last one.
  void moveBehind(IffChunk& chunk);

  std::int64_t next_;
  ChunkSizeOrder order_;
  int count_ = 0;
};

// The body of a chunk that holds tags, whole; nothing when the file does not
// hold it or it is larger than any tag a reader takes in.
std::optional<Bytes> readTagChunk(FileBlocks& blocks, const IffChunk& chunk);

// An ID3v2 tag, under the id that taggers of WAV and AIFF files write in
// either letter case.
inline bool isID3Chunk(const IffChunk& chunk) {
  return chunk.is("ID3 ") || chunk.is("id3 ");
}

// A chunk's text (RIFF INFO items, AIFF NAME and the like): up to its first
// NUL, UTF-8 when it is valid UTF-8, otherwise Latin-1, as older tools wrote
// it; surrounding spaces are kept.
std::u16string chunkText(Bytes body);

}  // namespace tunora
