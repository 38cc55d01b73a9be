#include "trackinfo/track_info.h"

#include "text/helpers.h"

namespace tunora {
namespace {

// Zero means "not known" for the sample rate and the channel count.
std::u16string numberText(std::uint32_t value) {
  return value == 0 ? std::u16string(kUnknown) : decimalText(value);
}

}  // namespace

int TrackInfo::readFile(const std::u16string&) {
  return 0;
}

int TrackInfo::saveCover(const std::u16string&) {
  return 0;
}

void TrackInfo::setBitrate(std::uint32_t bitsPerSecond, std::uint32_t, std::uint32_t) {
  bitrate_ = bitsPerSecond == 0 ? std::u16string(kUnknown) : decimalText(bitsPerSecond >> 10);
}

void TrackInfo::setSampleRate(std::uint32_t hertz) {
  sampleRate_ = numberText(hertz);
}

void TrackInfo::setChannels(std::uint32_t count, std::uint32_t) {
  channels_ = numberText(count);
}

void TrackInfo::clearStreamTexts() {
  bitrate_.clear();
  sampleRate_.clear();
  channels_.clear();
}

}  // namespace tunora
