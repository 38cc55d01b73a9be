#pragma once
// WavPack files: stream values from the first block's header and metadata,
// tags from the APEv2 (or ID3v1) tag at the end.

#include <cstdint>
#include <optional>
#include <string>

#include "formats/ape_tagged_info.h"
#include "text/byte_reader.h"

namespace tunora {

// The bytes read for the first block: its 32-byte header and the metadata
// that precedes the audio in practice.
inline constexpr std::size_t kWavPackBlockPeek = 1024;

// The first block, from its "wvpk" header on (as much of it as there is);
// nothing without a header.
// The rate is 0 when neither the header nor a metadata sub-block gives it.
std::optional<AudioHeaderValues> parseWavPackBlock(Bytes block);

class WavPackInfo : public APETaggedInfo {
 public:
  ReadResult readFile(const std::u16string& path) override;

 private:
  std::optional<AudioHeaderValues> parseHeader(Bytes head) const override {
    return parseWavPackBlock(head);
  }
};

}  // namespace tunora
