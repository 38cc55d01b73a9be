#include "formats/ogg_info.h"

#include <optional>
#include <string_view>
#include <utility>

#include "formats/ogg_page.h"
#include "formats/playing_time.h"
#include "formats/vorbis_comment.h"
#include "formats/vorbis_headers.h"
#include "io/file.h"
#include "text/byte_reader.h"
#include "text/debug_log.h"
#include "trackinfo/tag_kind.h"

namespace tunora {
namespace {

// Enough for the identification and comment headers of any real file; other
// packets leave the position where it is, so a pass can repeat a page.
constexpr int kMaxPasses = 21;
// Packet type and "vorbis".
constexpr std::int64_t kPacketPrefixSize = 7;
constexpr std::int64_t kIdentificationSize = 23;

}  // namespace

ReadResult OGGInfo::readFile(const std::u16string& path) {
  track_.fileName = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) {
    debugLog("File couldn't be opened");
    return ReadResult::NotOpened;
  }
  FileBlocks blocks(*file, file->size());

  std::optional<VorbisIdentification> identification;
  std::uint32_t serial = 0;
  std::int64_t position = 0;
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    const auto pageBytes = blocks.read(position, kOggPageHeaderSize);
    const auto page = pageBytes ? parseOggPageHeader(*pageBytes) : std::nullopt;
    if (!page) break;
    // The header packets each start a page, right after its lacing values.
    const std::int64_t packet = position + kOggPageHeaderSize + page->segmentCount;
    const auto prefix = blocks.read(packet, kPacketPrefixSize);
    if (!prefix || !startsWith(Bytes(*prefix).subspan(1), "vorbis")) break;
    const std::uint8_t packetType = (*prefix)[0];
    if (packetType == 1) {
      const auto fields = blocks.read(packet + kPacketPrefixSize, kIdentificationSize);
      const auto parsed = fields ? parseVorbisIdentification(*fields) : std::nullopt;
      if (!parsed) break;
      identification = parsed;
      serial = page->serialNumber;
      // The next page is expected right behind the identification packet.
      position = packet + kPacketPrefixSize + kIdentificationSize;
    } else if (packetType == 3) {
      // Joined across pages: a long comment header (a picture in it, say)
      // goes on over page headers that must not be read as entries.
      const auto whole = readFirstOggPacket(blocks, position);
      if (whole && whole->bytes().size() >= kPacketPrefixSize) {
        VorbisComment comment(whole->bytes().subspan(kPacketPrefixSize), coverBytes());
        if (comment.picture()) takePicture(*comment.picture());
        takeTagTexts(std::move(comment));
      }
      break;
    }
  }

  if (!identification) return notRecognised("no Vorbis identification header found");
  // The text shows kilobits of 1000 bits.
  setKilobitsPerSecond(identification->nominalBitrate / 1000);
  setSampleRate(identification->sampleRate);
  setChannels(identification->channels);
  // The last granule position counts the samples of the whole stream.
  if (const auto granule = lastOggGranulePosition(blocks, serial))
    setMilliseconds(millisecondsOf(*granule, identification->sampleRate));
  track_.hasTag = true;
  track_.tagKinds = tagKindName(TagKind::OggComments);
  return file->close() ? ReadResult::Read : ReadResult::Incomplete;
}

}  // namespace tunora
