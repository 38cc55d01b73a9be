#pragma once
// The interface of every class that describes one audio file. The base is also
// used on its own, unread, for a file about which nothing is known: then every
// query gives its default.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
  virtual bool hasComment() const { return false; }
  virtual bool hasCover() const { return false; }
  virtual bool hasLyrics() const { return false; }
  virtual bool hasTag() const { return false; }
  // Texts belong to the object; year and genre may be normalised on each call.
  virtual const std::u16string& getTitle() { return unknown_; }
  virtual const std::u16string& getYear() { return unknown_; }
  virtual const std::u16string& getAlbum() { return unknown_; }
  virtual const std::u16string& getArtist() { return unknown_; }
  virtual const std::u16string& getTrackNumber() { return unknown_; }
  virtual const std::u16string& getGenre() { return unknown_; }
  // Null when there is none.
  virtual const TextLines* getComment() const { return nullptr; }
  virtual const TextLines* getLyrics() const { return nullptr; }
  // Null as well when only the picture's size was asked for.
  virtual const std::vector<std::uint8_t>* getCoverData() const { return nullptr; }
  // The picture's size in bytes, whether or not they were kept; 0 for none.
  virtual std::size_t getCoverSize() const { return 0; }
  std::u16string getSampleRate() const;
  std::u16string getStereoMode() const;
  std::u16string getBitrate() const;
  virtual const std::u16string& getPresentTags() { return none_; }
  virtual const std::u16string& getFileName() const { return unknown_; }
  // Every value at once, as pages and listings take them.
  Track toTrack();

  // The rates as the track's figures give them (0 is "Unknown").
  void setBitsPerSecond(std::uint64_t bitsPerSecond) {
    stream_.kilobits = kilobitsFromBitsPerSecond(bitsPerSecond);
    stream_.known = true;
  }
  void setKilobitsPerSecond(std::uint64_t kilobitsPerSecond) {
    stream_.kilobits = kilobitsFromKilobits(kilobitsPerSecond);
    stream_.known = true;
  }
  static constexpr std::uint64_t kMaxBitrateText = kMaxBitrateFigure;
  void setSampleRate(std::uint32_t hertz) {
    stream_.sampleRate = knownCount(hertz);
    stream_.known = true;
  }
  void setChannels(std::uint32_t count) {
    stream_.channels = knownCount(count);
    stream_.known = true;
  }

 protected:
  // For classes whose stream figures show empty until read (host information).
  void clearStreamTexts() { stream_.known = false; }
  CoverBytes coverBytes() const { return coverBytes_; }

 private:
  const std::u16string unknown_{kUnknown};
  const std::u16string none_{kNone};
  StreamFigures stream_;
  CoverBytes coverBytes_ = CoverBytes::Kept;
};

}  // namespace tunora
