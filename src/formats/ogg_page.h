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
  // The samples decoded up to the last packet that ends on the page;
  // kNoGranule when none ends on it.
  std::uint64_t granulePosition = 0;
  std::uint32_t serial = 0;
};

inline constexpr std::uint64_t kNoGranule = ~std::uint64_t{0};

// Nothing unless the bytes start with the capture pattern "OggS".
std::optional<OggPageHeader> parseOggPageHeader(Bytes header);

// A packet's bytes. Most header packets end on the page they start on: their
// bytes are then a view of the file's window, valid until the next read of
// the blocks, and not a copy of tens of kilobytes. A packet that goes on over
// further pages is joined.
class OggPacket {
 public:
  Bytes bytes() const { return onePage_ ? *onePage_ : Bytes(joined_); }

 private:
  friend std::optional<OggPacket> readFirstOggPacket(FileBlocks& blocks, std::int64_t pageOffset);
  std::optional<Bytes> onePage_;
  std::vector<std::uint8_t> joined_;
};

// The granule position of the last page of the stream `serial` on which a
// packet ends, found in one read of the file's last 64 KiB (a page is never
// longer); nothing when none of its pages is there.
std::optional<std::uint64_t> lastOggGranule(FileBlocks& blocks, std::uint32_t serial);

// The first packet that starts on the page at `pageOffset`, joined across the
// pages it continues on; nothing when no page starts there. A packet cut short
// by the end of the file, by a page that does not continue it, or by the
// largest tag block a reader takes in, ends there.
std::optional<OggPacket> readFirstOggPacket(FileBlocks& blocks, std::int64_t pageOffset);

}  // namespace tunora
