#include "formats/ogg_page.h"

#include <algorithm>
#include <cstring>

#include "formats/tag_block_limit.h"

namespace tunora {

namespace {

// A header of 27 bytes, 255 lacing values of 255 bytes each.
constexpr std::int64_t kMaxOggPageSize = kOggPageHeaderSize + 255 + 255 * 255;
// Encoders close a stream with a page of a few kilobytes at most.
constexpr std::int64_t kUsualOggTailSize = 8 * 1024;

// The body size the lacing values give.
std::uint64_t bodySize(Bytes lacing) {
  std::uint64_t size = 0;
  for (const std::uint8_t value : lacing) size += value;
  return size;
}

// The last whole page of the stream with a granule position. A capture
// pattern inside audio data must be followed by a page that fits in what is
// left. The candidates are found with memchr, which is much faster than a
// backward walk a byte at a time, and the last one that passes wins.
std::optional<std::uint64_t> lastGranuleIn(Bytes tail, std::uint32_t serialNumber) {
  std::optional<std::uint64_t> last;
  const std::uint8_t* const begin = tail.data();
  const std::uint8_t* const end = begin + tail.size();
  for (const std::uint8_t* at = begin;
       (at = static_cast<const std::uint8_t*>(
            std::memchr(at, 'O', static_cast<std::size_t>(end - at)))) != nullptr;
       ++at) {
    const Bytes rest = tail.subspan(static_cast<std::size_t>(at - begin));
    const auto header = parseOggPageHeader(rest);
    if (!header || header->serialNumber != serialNumber ||
        header->granulePosition == kNoGranulePosition)
      continue;
    const auto lacing = subspan(rest, kOggPageHeaderSize, header->segmentCount);
    if (lacing && kOggPageHeaderSize + header->segmentCount + bodySize(*lacing) <= rest.size())
      last = header->granulePosition;
  }
  return last;
}

}  // namespace

std::optional<OggPageHeader> parseOggPageHeader(Bytes header) {
  if (header.size() < kOggPageHeaderSize || !startsWith(header, "OggS")) return std::nullopt;
  ByteReader reader(header.subspan(6));
  const auto granule = reader.u64le();
  const auto serial = reader.u32le();
  return OggPageHeader{(header[5] & 1) != 0, header[26], *granule, *serial};
}

std::optional<std::int64_t> oggPageEnd(FileBlocks& blocks, std::int64_t pageOffset) {
  const auto headerBytes = blocks.read(pageOffset, kOggPageHeaderSize);
  const auto header = headerBytes ? parseOggPageHeader(*headerBytes) : std::nullopt;
  if (!header) return std::nullopt;
  const std::int64_t lacingStart = pageOffset + kOggPageHeaderSize;
  const auto lacing = blocks.read(lacingStart, header->segmentCount);
  if (!lacing) return std::nullopt;
  const std::int64_t end =
      lacingStart + header->segmentCount + static_cast<std::int64_t>(bodySize(*lacing));
  if (end > blocks.length()) return std::nullopt;
  return end;
}

std::optional<std::uint64_t> lastOggGranulePosition(FileBlocks& blocks,
                                                    std::uint32_t serialNumber) {
  // The last page is nearly always small: look at the last few kilobytes
  // first and read as far back as the largest page only when they hold none.
  // Both scans end at the end of the file, so the nearer one finds what the
  // wider one would.
  for (const std::int64_t reach : {kUsualOggTailSize, kMaxOggPageSize}) {
    const std::int64_t start = std::max<std::int64_t>(0, blocks.length() - reach);
    const auto tail = blocks.read(start, static_cast<std::uint64_t>(blocks.length() - start));
    if (!tail) return std::nullopt;
    if (const auto granule = lastGranuleIn(*tail, serialNumber)) return granule;
    if (start == 0) break;
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
    if (ends) packet->end_ = bodyStart + static_cast<std::int64_t>(pageBody);
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
