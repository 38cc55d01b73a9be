#include "trackinfo/track_info.h"

#include <algorithm>

#include "text/helpers.h"

namespace tunora {
namespace {

// Zero means "not known" for the sample rate and the channel count.
std::u16string numberText(std::uint32_t value) {
  return value == 0 ? std::u16string(kUnknown) : decimalText(value);
}

// A rate below one unit is known all the same: it shows "0", not "Unknown".
std::u16string bitrateText(std::uint64_t rate, std::uint64_t kilobits) {
  return rate == 0 ? std::u16string(kUnknown)
                   : decimalText(std::min(kilobits, TrackInfo::kMaxBitrateText));
}

}  // namespace

ReadResult TrackInfo::readFile(const std::u16string&) {
  return ReadResult::NotRecognised;
}

int TrackInfo::saveCover(const std::u16string&) {
  return 0;
}

void TrackInfo::setBitsPerSecond(std::uint64_t bitsPerSecond) {
  bitrate_ = bitrateText(bitsPerSecond, bitsPerSecond >> 10);
}

void TrackInfo::setKilobitsPerSecond(std::uint64_t kilobitsPerSecond) {
  bitrate_ = bitrateText(kilobitsPerSecond, kilobitsPerSecond);
}

void TrackInfo::setSampleRate(std::uint32_t hertz) {
  sampleRate_ = numberText(hertz);
}

void TrackInfo::setChannels(std::uint32_t count) {
  channels_ = numberText(count);
}

void TrackInfo::warnIfNothingFound(std::string_view missing) {
  const bool streamFound = bitrate_ != kUnknown || sampleRate_ != kUnknown || channels_ != kUnknown;
  if (!hasTag() && !streamFound) readWarning_ = missing;
}

void TrackInfo::clearStreamTexts() {
  bitrate_.clear();
  sampleRate_.clear();
  channels_.clear();
}

}  // namespace tunora
