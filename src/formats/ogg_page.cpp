#include "formats/ogg_page.h"

#include "formats/tag_block_limit.h"

namespace tunora {

std::optional<OggPageHeader> parseOggPageHeader(Bytes header) {
  if (header.size() < kOggPageHeaderSize || !startsWith(header, "OggS")) return std::nullopt;
  return OggPageHeader{(header[5] & 1) != 0, header[26]};
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
