#include "formats/iff_chunks.h"

#include <algorithm>
#include <string>

#include "formats/tag_block_limit.h"
#include "text/conversions.h"
#include "text/strict_utf8.h"

namespace tunora {
namespace {

constexpr std::int64_t kChunkHeaderSize = 8;
// Real files hold a handful of chunks; a file of empty chunk headers must not
// keep the walk going through megabytes of them.
constexpr int kMaxChunks = 4096;

}  // namespace

std::optional<IffChunk> IffChunkWalk::next() {
  if (count_ >= kMaxChunks || next_ < 0 || blocks_.length() - next_ < kChunkHeaderSize)
    return std::nullopt;
  const auto header = blocks_.read(next_, kChunkHeaderSize);
  if (!header) return std::nullopt;
  ByteReader reader(header->subspan(4));
  IffChunk chunk;
  std::copy_n(header->begin(), 4, chunk.id);
  chunk.size = (order_ == ChunkSizeOrder::LittleEndian ? reader.u32le() : reader.u32be()).value();
  chunk.body = next_ + kChunkHeaderSize;
  ++count_;
  moveBehind(chunk);
  return chunk;
}

void IffChunkWalk::resize(IffChunk& chunk, std::uint64_t size) {
  chunk.size = size;
  moveBehind(chunk);
}

void IffChunkWalk::moveBehind(IffChunk& chunk) {
  chunk.available = std::min<std::uint64_t>(chunk.size, blocks_.length() - chunk.body);
  // The pad byte after an odd size; a chunk that runs past the end of the
  // file is the last one (a cut-off file, a streamed size of 0xFFFFFFFF).
  next_ = chunk.available < chunk.size
              ? -1
              : chunk.body + static_cast<std::int64_t>(chunk.size + (chunk.size & 1));
}

std::optional<Bytes> readTagChunk(FileBlocks& blocks, const IffChunk& chunk) {
  if (chunk.available < chunk.size || chunk.size > kMaxTagBlockSize) return std::nullopt;
  return blocks.read(chunk.body, chunk.size);
}

std::u16string chunkText(Bytes body) {
  const auto end = std::find(body.begin(), body.end(), 0);
  const Bytes bytes = body.first(static_cast<std::size_t>(end - body.begin()));
  // UTF-8 only where every byte fits it; otherwise the Latin-1 of older
  // taggers, every byte a character, so that a lone "\xA9" stays a "(c)".
  Utf8Text utf8 = decodeUtf8Replacing(bytes);
  if (utf8.invalidSequences == 0) return std::move(utf8.text);
  return widenLatin1(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace tunora
