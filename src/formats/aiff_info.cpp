#include "formats/aiff_info.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/chunk_texts.h"
#include "formats/iff_chunks.h"
#include "formats/playing_time.h"
#include "io/file.h"
#include "io/file_blocks.h"
#include "tags/id3v2_tag.h"
#include "trackinfo/tag_kind.h"

namespace tunora {
namespace {

constexpr std::int64_t kFormHeaderSize = 12;
// Channels, frames, bits per sample and the rate; AIFC adds the compression
// type behind them.
constexpr std::uint64_t kCommonSize = 18;
constexpr std::uint64_t kCompressionSize = 4;
constexpr std::uint16_t kExtendedBias = 16383;

struct Common {
  std::uint16_t channels = 0;
  std::uint32_t frames = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint32_t sampleRate = 0;
  // Samples stored as they are: every AIFF file, and AIFC files of these
  // compression types.
  bool uncompressed = true;
};

// AIFC types that store plain integer or floating-point samples.
constexpr std::array<std::string_view, 8> kUncompressedTypes{"NONE", "none", "sowt", "twos",
                                                             "raw ", "in24", "in32", "fl32"};

std::optional<Common> parseCommon(Bytes body, bool isAifc) {
  ByteReader reader(body);
  const auto channels = reader.u16be();
  const auto frames = reader.u32be();
  const auto bits = reader.u16be();
  const auto rate = reader.bytes(10);
  if (!rate) return std::nullopt;
  Common common{*channels, *frames, *bits, extendedToHertz(*rate).value_or(0), true};
  if (isAifc) {
    const auto type = reader.bytes(kCompressionSize);
    const std::string_view name =
        type ? std::string_view(reinterpret_cast<const char*>(type->data()), 4) : "NONE";
    common.uncompressed = false;
    for (const auto known : kUncompressedTypes)
      if (name == known) common.uncompressed = true;
  }
  return common;
}

constexpr struct {
  std::string_view id;
  ChunkTexts::Field field;
} kTextChunks[] = {
    {"NAME", ChunkTexts::Field::Title},
    {"AUTH", ChunkTexts::Field::Artist},
    {"ANNO", ChunkTexts::Field::Comment},
};

}  // namespace

std::optional<std::uint32_t> extendedToHertz(Bytes tenBytes) {
  ByteReader reader(tenBytes);
  const auto signAndExponent = reader.u16be();
  const auto mantissa = reader.u64be();
  if (!mantissa || (*signAndExponent & 0x8000) != 0) return std::nullopt;
  const int exponent = (*signAndExponent & 0x7FFF) - kExtendedBias;
  // The mantissa's top bit stands for 2^exponent: at most 31 for 32 bits.
  if (exponent < 0 || exponent > 31) return std::nullopt;
  return static_cast<std::uint32_t>(*mantissa >> (63 - exponent));
}

ReadResult AIFFInfo::readFile(const std::u16string& path) {
  track_.fileName = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) return ReadResult::NotOpened;
  FileBlocks blocks(*file, file->size());
  const auto head = blocks.read(0, kFormHeaderSize);
  const bool isAifc = head && startsWith(head->subspan(8), "AIFC");
  if (!head || !startsWith(*head, "FORM") || !(isAifc || startsWith(head->subspan(8), "AIFF")))
    return notRecognised("no FORM AIFF header found");

  std::optional<Common> common;
  std::optional<std::uint64_t> soundBytes;
  ChunkTexts texts;
  ID3v2Tag id3v2;
  IffChunkWalk walk(blocks, kFormHeaderSize, ChunkSizeOrder::BigEndian);
  while (const auto chunk = walk.next()) {
    if (chunk->is("COMM") && !common) {
      const auto size = std::min(chunk->available, kCommonSize + (isAifc ? kCompressionSize : 0));
      const auto body = blocks.read(chunk->body, size);
      if (body) common = parseCommon(*body, isAifc);
    } else if (chunk->is("SSND") && !soundBytes) {
      // An offset and a block size come before the samples.
      soundBytes = chunk->available > 8 ? chunk->available - 8 : 0;
    } else if (isID3Chunk(*chunk) && !id3v2.isPresent()) {
      if (const auto body = readTagChunk(blocks, *chunk)) id3v2.parseEmbedded(*body, coverBytes());
    } else {
      for (const auto& text : kTextChunks) {
        if (!chunk->is(text.id)) continue;
        if (const auto body = readTagChunk(blocks, *chunk)) texts.take(text.field, *body);
      }
    }
  }

  if (common) {
    setSampleRate(common->sampleRate);
    setChannels(common->channels);
    const std::uint64_t milliseconds = millisecondsOf(common->frames, common->sampleRate);
    setMilliseconds(milliseconds);
    if (common->uncompressed) {
      setBitsPerSecond(std::uint64_t{common->sampleRate} * common->channels * common->bitsPerSample,
                       KilobitUnit::Decimal);
    } else if (soundBytes && milliseconds != 0) {
      setBitsPerSecond(*soundBytes * 8 * 1000 / milliseconds, KilobitUnit::Decimal);
    }
  }
  takeChunkTags(std::move(texts), TagKind::AiffText, std::move(id3v2));
  warnIfNothingFound("no COMM chunk found");
  return file->close() ? ReadResult::Read : ReadResult::Incomplete;
}

}  // namespace tunora
