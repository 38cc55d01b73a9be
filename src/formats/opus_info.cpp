#include "formats/opus_info.h"

#include <algorithm>
#include <utility>

#include "formats/ogg_page.h"
#include "formats/playing_time.h"
#include "formats/vorbis_comment.h"
#include "io/file.h"
#include "io/file_blocks.h"
#include "trackinfo/tag_kind.h"

namespace tunora {
namespace {

constexpr std::string_view kHeadSignature = "OpusHead";
constexpr std::string_view kTagsSignature = "OpusTags";

}  // namespace

std::optional<OpusHead> parseOpusHead(Bytes packet) {
  if (!startsWith(packet, kHeadSignature)) return std::nullopt;
  ByteReader reader(packet.subspan(kHeadSignature.size()));
  const auto version = reader.u8();
  const auto channels = reader.u8();
  const auto preSkip = reader.u16le();
  // The input rate, the output gain and the channel mapping family follow;
  // none of them changes what is shown.
  if (!preSkip || (*version >> 4) != 0 || *channels == 0) return std::nullopt;
  return OpusHead{*channels, *preSkip};
}

void OpusInfo::readTiming(FileBlocks& blocks, const OpusHead& head, std::int64_t audioStart) {
  const auto firstPage = blocks.read(0, kOggPageHeaderSize);
  const auto header = firstPage ? parseOggPageHeader(*firstPage) : std::nullopt;
  const auto granule = header ? lastOggGranulePosition(blocks, header->serialNumber) : std::nullopt;
  if (!granule || *granule <= head.preSkip) return;
  const std::uint64_t samples = *granule - head.preSkip;
  setMilliseconds(millisecondsOf(samples, kSampleRate));
  if (audioStart >= blocks.length()) return;
  const double audioBits = static_cast<double>(blocks.length() - audioStart) * 8;
  // Capped where the figure shown saturates anyway, so the conversion holds.
  const double bitsPerSecond = std::min(audioBits * kSampleRate / static_cast<double>(samples),
                                        static_cast<double>(kMaxBitrateText) * 1000);
  setBitsPerSecond(static_cast<std::uint64_t>(bitsPerSecond), KilobitUnit::Decimal);
}

ReadResult OpusInfo::readFile(const std::u16string& path) {
  track_.fileName = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) return ReadResult::NotOpened;
  FileBlocks blocks(*file, file->size());
  const auto headPacket = readFirstOggPacket(blocks, 0);
  const auto head = headPacket ? parseOpusHead(headPacket->bytes()) : std::nullopt;
  if (!head) return notRecognised("no OpusHead packet found");
  setSampleRate(kSampleRate);
  setChannels(head->channels);

  // The identification header has the first page to itself; the comment
  // header starts on the second and may go on over several.
  std::int64_t audioStart = headPacket->end().value_or(blocks.length());
  const auto tagsPacket = readFirstOggPacket(blocks, audioStart);
  if (tagsPacket && startsWith(tagsPacket->bytes(), kTagsSignature)) {
    audioStart = tagsPacket->end().value_or(blocks.length());
    VorbisComment comment(tagsPacket->bytes().subspan(kTagsSignature.size()), coverBytes());
    if (comment.picture()) takePicture(*comment.picture());
    if (comment.entryCountRead()) {
      track_.hasTag = true;
      track_.tagKinds = tagKindName(TagKind::OpusComments);
    }
    takeTagTexts(std::move(comment));
  }
  readTiming(blocks, *head, audioStart);
  return file->close() ? ReadResult::Read : ReadResult::Incomplete;
}

}  // namespace tunora
