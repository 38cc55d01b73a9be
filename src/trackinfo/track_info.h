#pragma once
// The interface of every class that describes one audio file. The base is also
// used on its own, unread, for a file about which nothing is known: then every
// query gives its default.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io/file_blocks.h"
#include "text/byte_reader.h"
#include "text/text_lines.h"
#include "trackinfo/track.h"

namespace tunora {

// What a readFile found. Whatever the result, every query answers: a value
// that was not read keeps its default. The page does not act on it; it tells
// tests, benchmarks and developers what happened.
enum class ReadResult {
  // Opened and read as the class's kind of file; a file without tags is read
  // all the same.
  Read,
  // The file could not be opened: every value keeps its default.
  NotOpened,
  // Opened, but what marks the class's kind of file is missing (the FLAC
  // marker, an MP4 audio track, a Vorbis identification header; the base
  // reads nothing at all). The class says what, if anything, it still takes.
  NotRecognised,
  // Reading stopped part-way (memory ran out, a block could not be read,
  // closing failed): what was read before stays.
  Incomplete,
};

// What a reader keeps of an embedded picture. A listing that shows only
// whether there is one and how large it is asks for SizeOnly: the picture is
// then neither copied nor, where the format allows, read at all.
enum class CoverBytes { Kept, SizeOnly };

// The values a reader found live in one Track; readers fill it in readFile
// and override only the queries whose rules differ.
class TrackInfo {
 public:
  TrackInfo() = default;
  virtual ~TrackInfo() = default;
  TrackInfo(const TrackInfo&) = delete;
  TrackInfo& operator=(const TrackInfo&) = delete;

  // Reads tags and stream properties, once per object.
  virtual ReadResult readFile(const std::u16string& path);
  // Set before readFile; pictures are kept unless told otherwise.
  void setCoverBytes(CoverBytes wanted) { coverBytes_ = wanted; }
  virtual bool hasComment() const { return track_.hasComment; }
  virtual bool hasCover() const { return track_.hasCover; }
  virtual bool hasLyrics() const { return track_.hasLyrics; }
  bool hasTag() const { return track_.hasTag; }
  // Texts belong to the object; year and genre may be normalised on each call.
  const std::u16string& getTitle() { return shown(track_.title); }
  virtual const std::u16string& getYear() { return shown(track_.year); }
  const std::u16string& getAlbum() { return shown(track_.album); }
  const std::u16string& getArtist() { return shown(track_.artist); }
  const std::u16string& getTrackNumber() { return shown(track_.trackNumber); }
  virtual const std::u16string& getGenre() { return shown(track_.genre); }
  // Null when there is none.
  virtual const TextLines* getComment() const { return linesOf(track_.comment); }
  virtual const TextLines* getLyrics() const { return linesOf(track_.lyrics); }
  // Null as well when only the picture's size was asked for.
  virtual const std::vector<std::uint8_t>* getCoverData() const {
    return track_.cover ? &*track_.cover : nullptr;
  }
  // The picture's size in bytes, whether or not they were kept; 0 for none.
  virtual std::size_t getCoverSize() const { return track_.coverSize; }
  std::u16string getSampleRate() const;
  std::u16string getStereoMode() const;
  std::u16string getBitrate() const;
  const std::u16string& getPresentTags() const { return track_.tagKinds; }
  const std::u16string& getFileName() const { return track_.fileName; }
  // Every value at once, as pages and listings take them.
  Track toTrack() { return makeTrack(false); }
  // The same, with the texts and picture the reader holds moved out rather
  // than copied: the last call on a reader.
  Track takeTrack() { return makeTrack(true); }
  // Why a file of the class's type showed nothing, neither a tag nor a
  // stream value ("no MPEG audio frame found"), so that it is not taken for
  // a healthy untagged file; empty otherwise.
  const std::string& getReadWarning() const { return readWarning_; }

  // The rate in bit/s, shown in kilobits of the given unit; 0 is "Unknown".
  void setBitsPerSecond(std::uint64_t bits, KilobitUnit shownIn = KilobitUnit::Binary);
  // A rate measured in kilobits of 1000 bits, shown as it is.
  void setKilobitsPerSecond(std::uint64_t kilobits);
  static constexpr std::uint64_t kMaxBitrateText = kMaxBitrateFigure;
  void setSampleRate(std::uint32_t hertz) { stream().sampleRate = knownCount(hertz); }
  void setChannels(std::uint32_t count) { stream().channels = knownCount(count); }
  // The playing time; 0 is "Unknown".
  void setMilliseconds(std::uint64_t milliseconds) {
    stream().milliseconds = milliseconds == 0 ? std::nullopt : std::optional(milliseconds);
  }

 protected:
  // For classes whose stream figures show empty until read (host information).
  void clearStreamTexts() { track_.stream.known = false; }
  CoverBytes coverBytes() const { return coverBytes_; }
  const std::u16string& shown(const std::optional<std::u16string>& text) const {
    return text ? *text : unknown_;
  }

  // Takes the texts of the tag that answers the queries. The genre comes
  // apart, as ID3v1 stores a number where the other tags store a name.
  template <typename Tag>
  void takeTagValues(Tag&& tag, std::u16string_view genre) {
    // A tag given as an rvalue gives its texts up: each accessor moves one.
    track_.title = knownText(std::forward<Tag>(tag).title());
    track_.artist = knownText(std::forward<Tag>(tag).artist());
    track_.album = knownText(std::forward<Tag>(tag).album());
    track_.year = knownText(std::forward<Tag>(tag).year());
    track_.trackNumber = knownText(std::forward<Tag>(tag).track());
    track_.genre = knownText(genre);
    // Only some tags carry these.
    if constexpr (requires { tag.albumArtist(); }) {
      track_.albumArtist = knownText(std::forward<Tag>(tag).albumArtist());
      track_.discNumber = knownText(std::forward<Tag>(tag).disc());
      track_.composer = knownText(std::forward<Tag>(tag).composer());
    }
  }
  // The comment or lyrics a reader found; nothing for none.
  void takeComment(std::optional<TextLines> lines);
  void takeLyrics(std::optional<TextLines> lines);

  // The picture the reader chose, kept or only measured as the caller asked;
  // an empty one is none.
  void takeCover(Bytes picture);
  // The picture of `size` bytes at `offset` in the file, read only when it
  // is kept: a listing that wants the size alone never reads the picture.
  // False when the file does not hold the bytes.
  bool takeCover(FileBlocks& blocks, std::int64_t offset, std::uint64_t size);
  // A picture the reader measured and did not decode: only when its size
  // alone was asked for.
  void takeCoverSize(std::size_t size);

  Track track_;
  // Called at the end of readFile: keeps `missing` as the warning when no tag
  // and no stream value was found.
  void warnIfNothingFound(std::string_view missing);
  // For a readFile that stops because the file is not of the class's kind.
  ReadResult notRecognised(std::string_view missing);

 private:
  // The figures, known from now on.
  StreamFigures& stream() {
    track_.stream.known = true;
    return track_.stream;
  }
  Track makeTrack(bool moveOwn);
  static const TextLines* linesOf(const std::optional<TextLines>& lines) {
    return lines ? &*lines : nullptr;
  }

  const std::u16string unknown_{kUnknown};
  CoverBytes coverBytes_ = CoverBytes::Kept;
  std::string readWarning_;
};

}  // namespace tunora
