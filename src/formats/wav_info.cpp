#include "formats/wav_info.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "formats/chunk_texts.h"
#include "formats/iff_chunks.h"
#include "formats/wave_format.h"
#include "io/file.h"
#include "io/file_blocks.h"
#include "tags/id3v2_tag.h"
#include "trackinfo/tag_kind.h"

namespace tunora {
namespace {

constexpr std::int64_t kRiffHeaderSize = 12;
// What an RF64 file writes where a size does not fit in 32 bits.
constexpr std::uint32_t kSizeInDs64 = 0xFFFFFFFF;

}  // namespace

ReadResult WAVInfo::readFile(const std::u16string& path) {
  track_.fileName = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) return ReadResult::NotOpened;
  FileBlocks blocks(*file, file->size());
  const auto head = blocks.read(0, kRiffHeaderSize);
  if (!head || !(startsWith(*head, "RIFF") || startsWith(*head, "RF64")) ||
      !startsWith(head->subspan(8), "WAVE"))
    return notRecognised("no RIFF WAVE header found");

  std::optional<WaveFormat> format;
  std::optional<std::uint64_t> ds64DataSize;
  std::optional<std::uint64_t> dataSize;
  std::optional<std::uint32_t> factFrames;
  ChunkTexts info;
  ID3v2Tag id3v2;
  IffChunkWalk walk(blocks, kRiffHeaderSize, ChunkSizeOrder::LittleEndian);
  while (auto chunk = walk.next()) {
    if (chunk->is("ds64")) {
      // The RIFF size, then the data size, both 64-bit.
      const auto body = blocks.read(chunk->body, 16);
      if (body) ds64DataSize = ByteReader(body->subspan(8)).u64le();
    } else if (chunk->is("fmt ") && !format) {
      const auto body = blocks.read(chunk->body, std::min<std::uint64_t>(chunk->available, 26));
      if (body) format = parseWaveFormat(*body);
    } else if (chunk->is("fact") && !factFrames) {
      const auto body = blocks.read(chunk->body, 4);
      if (body && chunk->size >= 4) factFrames = ByteReader(*body).u32le();
    } else if (chunk->is("data") && !dataSize) {
      if (chunk->size == kSizeInDs64 && ds64DataSize) walk.resize(*chunk, *ds64DataSize);
      // A cut-off file plays what it holds.
      dataSize = chunk->available;
    } else if (chunk->is("LIST")) {
      const auto body = readTagChunk(blocks, *chunk);
      if (body && startsWith(*body, "INFO")) info.takeRiffInfo(body->subspan(4));
    } else if (isID3Chunk(*chunk) && !id3v2.isPresent()) {
      if (const auto body = readTagChunk(blocks, *chunk)) id3v2.parseEmbedded(*body, coverBytes());
    }
  }

  if (format) {
    setSampleRate(format->sampleRate);
    setChannels(format->channels);
    setBitsPerSecond(format->bitsPerSecond(), KilobitUnit::Decimal);
    if (dataSize) setMilliseconds(format->milliseconds(*dataSize, factFrames));
  }
  takeChunkTags(std::move(info), TagKind::RiffInfo, std::move(id3v2));
  warnIfNothingFound("no fmt chunk found");
  return file->close() ? ReadResult::Read : ReadResult::Incomplete;
}

}  // namespace tunora
