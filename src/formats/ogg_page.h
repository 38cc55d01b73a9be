#pragma once
// Ogg pages (RFC 3533): a 27-byte header that ends with the segment count,
// then one lacing value per segment. A packet is the run of segments up to
// the first lacing value below 255; a page that ends on 255 leaves the packet
// to continue on the next page.

#include <cstdint>
#include <optional>
#include <vector>

#include "io/file_blocks.h"
#include "text/byte_reader.h"

namespace tunora {

inline constexpr std::int64_t kOggPageHeaderSize = 27;

struct OggPageHeader {
  // The page starts with the rest of a packet from the page before.
  bool continuesPacket = false;
  std::uint8_t segmentCount = 0;
  // The codec's position at the end of the page (for Vorbis and Opus, the
  // samples decoded so far); all ones on a page where no packet ends.
  std::uint64_t granulePosition = 0;
  std::uint32_t serialNumber = 0;
};

inline constexpr std::uint64_t kNoGranulePosition = ~std::uint64_t{0};

// Nothing unless the bytes start with the capture pattern "OggS".
std::optional<OggPageHeader> parseOggPageHeader(Bytes header);

// Where the page at `pageOffset` ends: behind its header, lacing values and
// body; nothing when no page starts there or the file ends inside it.
std::optional<std::int64_t> oggPageEnd(FileBlocks& blocks, std::int64_t pageOffset);

// The granule position of the stream's last page that has one, found in one
// read of the file's last 64 KiB (the largest page there is); nothing when
// no whole page of the stream lies there.
std::optional<std::uint64_t> lastOggGranulePosition(FileBlocks& blocks, std::uint32_t serialNumber);

// A packet's bytes. Most header packets end on the page they start on: their
// bytes are then a view of the file's window, valid until the next read of
// the blocks, and not a copy of tens of kilobytes. A packet that goes on over
// further pages is joined.
class OggPacket {
 public:
  Bytes bytes() const { return onePage_ ? *onePage_ : Bytes(joined_); }
  // Where the page on which the packet ends ends in the file; nothing for a
  // packet cut short.
  std::optional<std::int64_t> end() const { return end_; }

 private:
  friend std::optional<OggPacket> readFirstOggPacket(FileBlocks& blocks, std::int64_t pageOffset);
  std::optional<Bytes> onePage_;
  std::vector<std::uint8_t> joined_;
  std::optional<std::int64_t> end_;
};

// The first packet that starts on the page at `pageOffset`, joined across the
// pages it continues on; nothing when no page starts there. A packet cut short
// by the end of the file, by a page that does not continue it, or by the
// largest tag block a reader takes in, ends there.
std::optional<OggPacket> readFirstOggPacket(FileBlocks& blocks, std::int64_t pageOffset);

}  // namespace tunora
