#pragma once
// What MP3Info and AACInfo share: the tags of MPEG audio files (ID3v1 at the
// end, ID3v2 at the start, APEv2 at the end, and for MP3 a Lyrics3 block),
// read in one pass over the file, and the queries that choose among them.
// The classes differ in the stream header they read and in the order in
// which the tags answer.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "io/file.h"
#include "tags/ape_tag.h"
#include "tags/id3v1_tag.h"
#include "tags/id3v2_tag.h"
#include "tags/lyrics3_tag.h"
#include "trackinfo/tag_kind.h"
#include "trackinfo/track_info.h"

namespace tunora {

class MpegTagsInfo : public TrackInfo {
 public:
  // Tags are looked for in any file, with or without a stream header.
  ReadResult readFile(const std::u16string& path) final;

  bool hasComment() const override;
  bool hasCover() const override;
  const std::vector<std::uint8_t>* getCoverData() const override;
  std::size_t getCoverSize() const override;

 protected:
  // Reads the stream properties from the audio that starts at `streamStart`
  // (after the ID3v2 tag), and any tag of the format's own.
  virtual void readStream(FileBlocks& blocks, std::int64_t streamStart) = 0;
  // The warning of a file with neither tag nor stream: what was not found.
  virtual std::string_view missingStream() const = 0;
  // Which present tag answers the text queries, and which tag's lyrics win.
  virtual std::span<const TagKind> fieldPrecedence() const = 0;
  virtual std::span<const TagKind> lyricsPrecedence() const = 0;

  // A stream whose headers count no frames lasts as long as its audio bytes
  // take at its mean rate. The audio runs from `audioStart` to the tags at
  // the end, which are known only once all of them have been read.
  struct MeanRate {
    std::int64_t audioStart = 0;
    double bitsPerSecond = 0;
  };
  std::optional<MeanRate> meanRate_;
  // Bytes at the end held by the format's own tag (MP3's Lyrics3 block).
  std::uint64_t ownTrailingBytes_ = 0;

  ID3v1Tag id3v1_;
  ID3v2Tag id3v2_;
  Lyrics3Tag lyrics3_;
  APEv2Tag apev2_;

 private:
  bool isPresent(TagKind kind) const;
  const TagPicture* cover() const;
  // The comment and lyrics of the tags that answer, handed to the track,
  // which passes them on without a copy.
  void takeCommentAndLyrics();
  // Copies the values of the tags into the queried texts.
  void takeValues();
  // The playing time from the mean rate, when the stream gave one.
  void estimateMilliseconds(std::int64_t length, std::uint64_t apev2Bytes);
};

}  // namespace tunora
