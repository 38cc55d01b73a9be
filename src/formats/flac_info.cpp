#include "formats/flac_info.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "formats/flac_metadata.h"
#include "formats/playing_time.h"
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
// Where the PICTURE block body at `body` keeps the picture; nothing when the
// block runs past the file or holds no picture.
std::optional<FLACPictureLayout> locatePicture(FileBlocks& blocks, std::int64_t body,
                                               std::uint32_t size) {
  if (body > blocks.length() || size > static_cast<std::uint64_t>(blocks.length() - body))
    return std::nullopt;
  const std::uint64_t front = std::min<std::uint64_t>(size, kFLACPictureFieldsFront);
  const auto fields = blocks.read(body, front);
  const auto layout = fields ? locateFLACPicture(*fields, size) : std::nullopt;
  if (layout || front == size) return layout;
  // Fields longer than the first bytes: the whole body decides.
  const auto whole = blocks.read(body, size);
  return whole ? locateFLACPicture(*whole, size) : std::nullopt;
}

constexpr std::string_view kNoMarker = "no FLAC stream marker found";

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
  setBitsPerSecond(bitsPerSecond, KilobitUnit::Decimal);
}

ReadResult FLACInfo::readFile(const std::u16string& path) {
  track_.fileName = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) return ReadResult::NotOpened;
  const std::int64_t length = file->size();
  if (length <= 4) return notRecognised(kNoMarker);
  FileBlocks blocks(*file, length);
  const auto marker = blocks.read(0, 4);
  if (!marker || !startsWith(*marker, "fLaC")) return notRecognised(kNoMarker);

  std::optional<VorbisComment> comment;
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
        setMilliseconds(millisecondsOf(streamInfo->allSamples, streamInfo->sampleRate));
      }
    }
    if (header->is(FLACBlockType::Picture) && coverType_ != kFrontCoverPicture) {
      const auto picture = locatePicture(blocks, body, header->length);
      if (picture && (!hasCover() || picture->type == kFrontCoverPicture) &&
          takeCover(blocks, body + static_cast<std::int64_t>(picture->dataOffset),
                    picture->dataSize))
        coverType_ = picture->type;
    }
    // Read where it stands: after a picture that was stepped over unread,
    // the bytes before it are no longer at hand.
    if (header->is(FLACBlockType::VorbisComment) && !comment)
      comment = readVorbisComment(blocks, body, header->length, coverBytes());
    offset = body + header->length;
    if (header->isLast) break;
  }
  if (streamInfo) setAudioBitRate(*streamInfo, length - std::min(offset, length));

  if (comment) {
    // Some taggers put the picture into the comments, as Ogg files carry it.
    if (!hasCover() && comment->picture()) takePicture(*comment->picture());
    if (comment->entryCountRead()) {
      track_.hasTag = true;
      track_.tagKinds = tagKindName(TagKind::FLACComments);
    }
    takeTagTexts(std::move(*comment));
  }
  return ReadResult::Read;
}

}  // namespace tunora
