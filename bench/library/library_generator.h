#pragma once
// Generates a music library of realistic files: sizes between 100 KB and
// 1.5 MB, a third of them with a 30 KB cover. Which formats it holds is a mix
// of weights ("mp3=3,flac=1"); a format is one generator function in the
// table of library_generator.cpp.

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tunora::bench {

using ByteVector = std::vector<std::uint8_t>;

// The embedded cover of the files that have one.
inline constexpr std::size_t kCoverSize = 30 * 1024;

// What every generated file carries, whatever its format.
struct TrackSpec {
  std::string title, artist, album, year, track, genre, comment;
  std::uint64_t size = 0;  // the whole file, tags included (roughly)
  bool withCover = false;
  bool variableRate = false;
  bool withTrailingTag = false;  // e.g. ID3v1 at the end of an MP3
};

// Bytes standing in for a JPEG picture: the markers of one, random inside.
ByteVector jpegLikePicture(std::mt19937& random, std::size_t size);
ByteVector randomBytes(std::mt19937& random, std::size_t size);

using FormatGenerator = ByteVector (*)(const TrackSpec& spec, std::mt19937& random);

struct FormatShare {
  std::string extension;  // without dot, e.g. "mp3"
  double weight = 1;
};

// "mp3=3,flac=1" -> shares; an unknown format or a bad weight is an error.
bool parseMix(std::string_view text, std::vector<FormatShare>& shares, std::string& error);

// Writes `count` files into `folder` (created), named by number and extension.
bool generateLibrary(const std::filesystem::path& folder, std::size_t count,
                     const std::vector<FormatShare>& mix, std::uint32_t seed);

// Formats the generator knows, as "mp3, ...".
std::string knownFormats();

// One generator per format.
ByteVector generateMP3(const TrackSpec& spec, std::mt19937& random);
ByteVector generateM4A(const TrackSpec& spec, std::mt19937& random);
ByteVector generateOgg(const TrackSpec& spec, std::mt19937& random);
ByteVector generateFLAC(const TrackSpec& spec, std::mt19937& random);

}  // namespace tunora::bench
