#include "formats/flac_info.h"

#include <algorithm>
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

void FLACInfo::setAudioBitRate(const FLACStreamInfo& info, std::int64_t audioBytes) {
  const std::uint64_t seconds = info.sampleRate == 0 ? 0 : info.totalSamples / info.sampleRate;
  if (seconds == 0 || audioBytes <= 0) return;
  // Only the audio counts: a large picture must not raise the rate. Division
  // first, as the figures have always been computed; 64-bit so that files
  // above 4 GiB keep their size.
  const std::uint64_t bitsPerSecond = static_cast<std::uint64_t>(audioBytes) / seconds * 8;
  // Under 1 kbit/s there is no real audio left (a cut-off file): unknown.
  if (bitsPerSecond < 1000) return;
  // Scaled so that the kibibit text shows kilobits of 1000 bits.
  setBitsPerSecond(bitsPerSecond * 1024 / 1000);
}

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
  std::optional<FLACStreamInfo> streamInfo;
  // The walk goes on to the last metadata block: the audio begins after it.
  std::int64_t offset = 4;
  for (int block = 0; block < kMaxBlocks && offset + kBlockHeaderSize < length; ++block) {
    const auto bytes = blocks.read(offset, kBlockHeaderSize);
    const auto header = bytes ? parseFLACBlockHeader(*bytes) : std::nullopt;
    if (!header) break;
    const std::int64_t body = offset + kBlockHeaderSize;
    if (header->is(FLACBlockType::StreamInfo) && !streamInfo) {
      const auto streamBytes = blocks.read(body, kStreamInfoSize);
      streamInfo = streamBytes ? parseFLACStreamInfo(*streamBytes) : std::nullopt;
      if (streamInfo) {
        setChannels(streamInfo->channels);
        setSampleRate(streamInfo->sampleRate);
      }
    }
    if (header->is(FLACBlockType::Picture) && coverType_ != kFrontCoverPicture) {
      const auto bytes = blocks.read(body, header->length);
      if (auto picture = bytes ? parseFLACPicture(*bytes) : std::nullopt;
          picture && (!hasCover() || picture->type == kFrontCoverPicture)) {
        coverType_ = picture->type;
        takeCover(std::move(picture->data));
      }
    }
    if (header->is(FLACBlockType::VorbisComment) && !commentStart) {
      commentStart = body;
      commentLength = header->length;
    }
    offset = body + header->length;
    if (header->isLast) break;
  }
  if (streamInfo) setAudioBitRate(*streamInfo, length - std::min(offset, length));

  if (commentStart) {
    const VorbisComment comment = readVorbisComment(blocks, *commentStart, commentLength);
    takeTagTexts(comment);
    // Some taggers put the picture into the comments, as Ogg files carry it.
    if (!hasCover() && comment.picture()) takeCover(Bytes(comment.picture()->data));
    if (comment.entryCountRead()) {
      tagFound_ = true;
      presentTags_ = tagKindName(TagKind::FLACComments);
    }
  }
  return ReadResult::Read;
}

}  // namespace tunora
