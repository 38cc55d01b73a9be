#pragma once
// The interface of every class that describes one audio file. The base is also
// used on its own, unread, for a file about which nothing is known: then every
// query gives its default.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_lines.h"

namespace tunora {

inline constexpr std::u16string_view kUnknown = u"Unknown";
inline constexpr std::u16string_view kNone = u"None";

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
  const std::u16string& getSampleRate() const { return sampleRate_; }
  const std::u16string& getStereoMode() const { return channels_; }
  const std::u16string& getBitrate() const { return bitrate_; }
  virtual const std::u16string& getPresentTags() { return none_; }
  virtual const std::u16string& getFileName() const { return unknown_; }
  // Writes the embedded picture: 1 written, -1 failed, 0 when there is none.
  virtual int saveCover(const std::u16string& targetPath);
  // Why a file of the class's type showed nothing, neither a tag nor a
  // stream value ("no MPEG audio frame found"), so that it is not taken for
  // a healthy untagged file; empty otherwise.
  const std::string& getReadWarning() const { return readWarning_; }

  // The bit-rate text is a whole number of kilobits per second, "Unknown" for
  // 0. From bits per second it is the kibibit figure (value >> 10, so 1023
  // shows "0"), the unit the pages call "KibpS"; a figure already in kbit/s
  // is shown as it is. Both stop at kMaxBitrateText: a hostile size or
  // duration gives absurd rates, and the text has never gone beyond what 32
  // bits of bit/s give.
  void setBitsPerSecond(std::uint64_t bitsPerSecond);
  void setKilobitsPerSecond(std::uint64_t kilobitsPerSecond);
  static constexpr std::uint64_t kMaxBitrateText = 0xFFFFFFFF >> 10;
  // 0 for either is "Unknown".
  void setSampleRate(std::uint32_t hertz);
  void setChannels(std::uint32_t count);

 protected:
  // For classes whose stream texts start empty until read (host information).
  void clearStreamTexts();
  CoverBytes coverBytes() const { return coverBytes_; }
  // Called at the end of readFile: keeps `missing` as the warning when no tag
  // and no stream value was found.
  void warnIfNothingFound(std::string_view missing);

 private:
  const std::u16string unknown_{kUnknown};
  const std::u16string none_{kNone};
  std::u16string bitrate_{kUnknown};
  std::u16string sampleRate_{kUnknown};
  std::u16string channels_{kUnknown};
  CoverBytes coverBytes_ = CoverBytes::Kept;
  std::string readWarning_;
};

}  // namespace tunora
