#include "formats/flac_info.h"

#include <optional>
#include <utility>

#include "formats/flac_metadata.h"
#include "formats/vorbis_comment.h"
#include "io/file.h"
#include "io/file_blocks.h"
#include "text/byte_reader.h"
#include "trackinfo/tag_kind.h"

namespace tunora {
namespace {

constexpr std::int64_t kBlockHeaderSize = 4;
constexpr std::int64_t kStreamInfoSize = 34;
// Real files have a handful of metadata blocks; a file of empty block
// headers must not keep the walk going through megabytes of them.
constexpr int kMaxBlocks = 4096;

}  // namespace

ReadResult FLACInfo::readFile(const std::u16string& path) {
  fileName_ = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) return ReadResult::NotOpened;
  const std::int64_t length = file->size();
  if (length <= 4) return ReadResult::NotRecognised;
  FileBlocks blocks(*file, length);
  const auto marker = blocks.read(0, 4);
  if (!marker || !startsWith(*marker, "fLaC")) return ReadResult::NotRecognised;

  std::optional<std::int64_t> commentStart;
  std::uint32_t commentLength = 0;
  std::int64_t offset = 4;
  for (int block = 0; block < kMaxBlocks && offset + kBlockHeaderSize < length; ++block) {
    const auto bytes = blocks.read(offset, kBlockHeaderSize);
    const auto header = bytes ? parseFLACBlockHeader(*bytes) : std::nullopt;
    if (!header) break;
    const std::int64_t body = offset + kBlockHeaderSize;
    if (header->is(FLACBlockType::StreamInfo)) {
      const auto streamBytes = blocks.read(body, kStreamInfoSize);
      if (const auto info = streamBytes ? parseFLACStreamInfo(*streamBytes) : std::nullopt) {
        const std::uint32_t seconds =
            info->sampleRate == 0 ? 0 : info->totalSamples / info->sampleRate;
        if (seconds != 0) {
          // Division first, as the figures have always been computed; 64-bit
          // so that files above 4 GiB keep their size.
          const std::uint64_t bitsPerSecond = static_cast<std::uint64_t>(length) / seconds * 8;
          // Scaled so that the kibibit text shows kilobits of 1000 bits; a
          // rate under 1 kbit/s shows "0".
          setBitsPerSecond(bitsPerSecond * 1024 / 1000);
        }
        setChannels(info->channels);
        setSampleRate(info->sampleRate);
      }
    }
    if (header->is(FLACBlockType::VorbisComment)) {
      commentStart = body;
      commentLength = header->length;
      break;
    }
    if (header->isLast) break;
    offset = body + header->length;
  }

  if (commentStart) {
    const VorbisComment comment = readVorbisComment(blocks, *commentStart, commentLength);
    takeTagTexts(comment);
    if (comment.entryCountRead()) {
      tagFound_ = true;
      presentTags_ = tagKindName(TagKind::FLACComments);
    }
  }
  return ReadResult::Read;
}

}  // namespace tunora
