#pragma once
// The formats that end in an APEv2 tag (or, failing that, an ID3v1 tag):
// Musepack, WavPack and Monkey's Audio. The tags come from the end of the
// file; each format reads its stream values from the audio in front of them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "io/file_blocks.h"
#include "tags/ape_tag.h"
#include "tags/id3v1_tag.h"
#include "trackinfo/track_info.h"

namespace tunora {

// What the header at the start of the audio tells.
struct AudioHeaderValues {
  std::uint32_t sampleRate = 0;  // 0 when the header does not give it
  std::uint32_t channels = 0;
  std::optional<std::uint64_t> totalSamples;  // nothing when the encoder did not know
};

class APETaggedInfo : public TrackInfo {
 public:
  bool hasComment() const override;

 protected:
  // The whole reading for formats whose stream values come from one header
  // in the first `headerPeek` bytes of the audio: the tags at the end, then
  // the header behind any ID3v2 tag, given to `parseHeader`. `missing` is
  // the warning for a file with neither.
  ReadResult readHeaderAndTags(const std::u16string& path, std::size_t headerPeek,
                               std::string_view missing);
  // The header's values from the bytes at the start of the audio (as many as
  // there are, up to the peek); nothing when they hold no header.
  virtual std::optional<AudioHeaderValues> parseHeader(Bytes) const { return std::nullopt; }
  // Reads and takes the tags at the end; gives where they begin, so that a
  // bit rate counts the audio alone.
  std::int64_t readEndTags(FileBlocks& blocks);
  // Where the audio begins: behind an ID3v2 tag at the start, which is
  // skipped, not read.
  static std::int64_t startAfterID3v2(FileBlocks& blocks);
  // The playing time of `samples` at `sampleRate`, and the bit rate of
  // `audioBytes` over it in kilobits of 1000 bits; nothing for a rate of 0.
  void setLength(std::uint64_t samples, std::uint32_t sampleRate, std::uint64_t audioBytes);

 private:
  // Copies the answering tag's values into the queried texts.
  void takeValues();

  APEv2Tag apev2_;
  ID3v1Tag id3v1_;
};

}  // namespace tunora
