#pragma once
// Musepack files: tags from an APEv2 tag (or, failing that, an ID3v1 tag) at
// the end, stream values from the header behind any ID3v2 tag at the start.

#include <string>

#include "io/file_blocks.h"
#include "tags/ape_tag.h"
#include "tags/id3v1_tag.h"
#include "trackinfo/track_info.h"

namespace tunora {

class MPCInfo : public TrackInfo {
 public:
  // Tags are looked for in any file, with or without a Musepack header.
  ReadResult readFile(const std::u16string& path) override;

  bool hasComment() const override;
  bool hasLyrics() const override;
  const TextLines* getComment() const override;
  const TextLines* getLyrics() const override;

 private:
  // The stream values of the audio before `tagsStart`, the tags at the end.
  void readStream(FileBlocks& blocks, std::int64_t tagsStart);
  // A version 8 stream: its packets from `offset` on.
  void readPackets(FileBlocks& blocks, std::int64_t offset, std::int64_t streamEnd);
  // Copies the answering tag's values into the queried texts.
  void takeValues();

  APEv2Tag apev2_;
  ID3v1Tag id3v1_;
};

}  // namespace tunora
