#pragma once
// Musepack files: tags from an APEv2 tag (or, failing that, an ID3v1 tag) at
// the end, stream values from the header behind any ID3v2 tag at the start.

#include <string>

#include "formats/ape_tagged_info.h"
#include "io/file_blocks.h"

namespace tunora {

class MPCInfo : public APETaggedInfo {
 public:
  // Tags are looked for in any file, with or without a Musepack header.
  ReadResult readFile(const std::u16string& path) override;

 private:
  // The stream values of the audio before `tagsStart`, the tags at the end.
  void readStream(FileBlocks& blocks, std::int64_t tagsStart);
  // A version 8 stream: its packets from `offset` on.
  void readPackets(FileBlocks& blocks, std::int64_t offset, std::int64_t streamEnd);
};

}  // namespace tunora
