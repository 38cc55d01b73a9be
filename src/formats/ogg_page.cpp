#include "formats/ogg_page.h"

#include <algorithm>

#include "formats/tag_block_limit.h"

namespace tunora {

std::optional<OggPageHeader> parseOggPageHeader(Bytes header) {
  if (header.size() < kOggPageHeaderSize || !startsWith(header, "OggS")) return std::nullopt;
  ByteReader reader(header.subspan(6));
  const std::uint64_t granule = *reader.u64le();
  const std::uint32_t serial = *reader.u32le();
  return OggPageHeader{(header[5] & 1) != 0, header[26], granule, serial};
}

std::optional<std::uint64_t> lastOggGranule(FileBlocks& blocks, std::uint32_t serial) {
  constexpr std::int64_t kTailRead = 64 * 1024;
  const std::int64_t start = std::max<std::int64_t>(0, blocks.length() - kTailRead);
  const auto tail = blocks.read(start, static_cast<std::uint64_t>(blocks.length() - start));
  if (!tail) return std::nullopt;
  // From the back: the capture pattern may also occur inside a packet, so a
  // candidate counts only with version 0 and the stream's serial number.
  for (std::size_t at = tail->size(); at-- > 0;) {
    if ((*tail)[at] != 'O') continue;
    const auto page = parseOggPageHeader(tail->subspan(at));
    if (page && (*tail)[at + 4] == 0 && page->serial == serial &&
        page->granulePosition != kNoGranule)
      return page->granulePosition;
  }
  return std::nullopt;
}

std::optional<OggPacket> readFirstOggPacket(FileBlocks& blocks, std::int64_t pageOffset) {
  std::optional<OggPacket> packet;
  std::int64_t offset = pageOffset;
  // Every page moves the offset on by at least its header, so the walk ends.
  for (;;) {
    const auto headerBytes = blocks.read(offset, kOggPageHeaderSize);
    const auto header = headerBytes ? parseOggPageHeader(*headerBytes) : std::nullopt;
    if (!header || (packet && !header->continuesPacket)) return packet;
    if (!packet) packet.emplace();
    const std::int64_t lacingStart = offset + kOggPageHeaderSize;
    const auto lacing = blocks.read(lacingStart, header->segmentCount);
    if (!lacing) return packet;

    std::uint64_t taken = 0;
    std::uint64_t pageBody = 0;
    bool ends = false;
    for (const std::uint8_t value : *lacing) {
      pageBody += value;
      if (!ends) taken += value;
      if (value < 255) ends = true;
    }
    const std::int64_t bodyStart = lacingStart + header->segmentCount;
    std::vector<std::uint8_t>& joined = packet->joined_;
    if (joined.size() + taken > kMaxTagBlockSize) return packet;
    const auto body = blocks.read(bodyStart, taken);
    if (!body) return packet;
    if (ends && joined.empty()) {
      packet->onePage_ = body;
      return packet;
    }
    joined.insert(joined.end(), body->begin(), body->end());
    if (ends) return packet;
    offset = bodyStart + static_cast<std::int64_t>(pageBody);
  }
}

}  // namespace tunora
