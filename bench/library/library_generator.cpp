#include "library_generator.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <map>

namespace tunora::bench {
namespace {

// Adding a format is adding its generator here.
const std::map<std::string, FormatGenerator, std::less<>>& generators() {
  static const std::map<std::string, FormatGenerator, std::less<>> table{
      {"mp3", &generateMP3},
      {"m4a", &generateM4A},
      {"ogg", &generateOgg},
      {"flac", &generateFLAC},
  };
  return table;
}

constexpr std::uint64_t kSmallest = 100 * 1024;
constexpr std::uint64_t kLargest = 1536 * 1024;

constexpr std::array<std::string_view, 8> kWords{"Blue", "Night",  "River", "Golden",
                                                 "Echo", "Summer", "Stone", "Light"};

std::string words(std::mt19937& random, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i) text += ' ';
    text += kWords[random() % kWords.size()];
  }
  return text;
}

TrackSpec randomSpec(std::mt19937& random, std::size_t index) {
  TrackSpec spec;
  spec.title = words(random, 3);
  spec.artist = words(random, 2);
  spec.album = words(random, 2);
  spec.year = std::to_string(1960 + random() % 60);
  spec.track = std::to_string(1 + index % 14) + "/14";
  spec.genre = std::to_string(random() % 148);
  spec.comment = "Generated track " + std::to_string(index);
  spec.size = kSmallest + random() % (kLargest - kSmallest);
  spec.withCover = index % 3 == 0;
  spec.variableRate = random() % 2 == 0;
  spec.withTrailingTag = random() % 2 == 0;
  return spec;
}

}  // namespace

ByteVector randomBytes(std::mt19937& random, std::size_t size) {
  ByteVector bytes(size);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
  return bytes;
}

ByteVector jpegLikePicture(std::mt19937& random, std::size_t size) {
  ByteVector picture = randomBytes(random, size);
  const std::array<std::uint8_t, 4> start{0xFF, 0xD8, 0xFF, 0xE0};
  std::copy(start.begin(), start.end(), picture.begin());
  picture[size - 2] = 0xFF;
  picture[size - 1] = 0xD9;
  return picture;
}

bool parseMix(std::string_view text, std::vector<FormatShare>& shares, std::string& error) {
  shares.clear();
  while (!text.empty()) {
    const auto comma = text.find(',');
    const auto item = text.substr(0, comma);
    text = comma == text.npos ? std::string_view() : text.substr(comma + 1);
    const auto equals = item.find('=');
    FormatShare share{std::string(item.substr(0, equals)), 1};
    if (equals != item.npos) {
      try {
        share.weight = std::stod(std::string(item.substr(equals + 1)));
      } catch (const std::exception&) {
        share.weight = -1;
      }
    }
    if (!generators().contains(share.extension)) {
      error = "unknown format '" + share.extension + "' (known: " + knownFormats() + ")";
      return false;
    }
    if (!(share.weight > 0)) {
      error = "bad weight for '" + share.extension + "'";
      return false;
    }
    shares.push_back(share);
  }
  if (shares.empty()) error = "empty mix";
  return !shares.empty();
}

std::string knownFormats() {
  std::string list;
  for (const auto& [name, generator] : generators()) list += (list.empty() ? "" : ", ") + name;
  return list;
}

bool generateLibrary(const std::filesystem::path& folder, std::size_t count,
                     const std::vector<FormatShare>& mix, std::uint32_t seed) {
  std::filesystem::create_directories(folder);
  std::mt19937 random(seed);
  std::vector<double> weights;
  for (const auto& share : mix) weights.push_back(share.weight);
  std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
  for (std::size_t i = 0; i < count; ++i) {
    const auto& share = mix[pick(random)];
    const TrackSpec spec = randomSpec(random, i);
    const ByteVector bytes = generators().find(share.extension)->second(spec, random);
    char name[32];
    std::snprintf(name, sizeof name, "%05zu.", i);
    std::ofstream out(folder / (name + share.extension), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  return true;
}

}  // namespace tunora::bench
