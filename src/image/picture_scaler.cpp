#include "image/picture_scaler.h"

#include <algorithm>
#include <cmath>

namespace tunora {
namespace {

// Catmull-Rom (bicubic with a = -0.5): sharp, with little ringing.
constexpr double kSupport = 2.0;
double bicubic(double x) {
  constexpr double a = -0.5;
  x = std::fabs(x);
  if (x < 1.0) return ((a + 2.0) * x - (a + 3.0)) * x * x + 1.0;
  if (x < 2.0) return (((x - 5.0) * x + 8.0) * x - 4.0) * a;
  return 0.0;
}

std::uint8_t toByte(float value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0l, 255l));
}

}  // namespace

PictureSize fittedSize(PictureSize size, std::uint32_t maxSide) {
  const std::uint32_t longer = std::max(size.width, size.height);
  if (longer <= maxSide || longer == 0) return size;
  const auto shorten = [&](std::uint32_t side) {
    // In 64 bits: twice a side of 2^31 or more does not fit in 32.
    const std::uint64_t scaled =
        (std::uint64_t{side} * maxSide * 2 + longer) / (2 * std::uint64_t{longer});
    return static_cast<std::uint32_t>(std::max<std::uint64_t>(scaled, 1));
  };
  return {shorten(size.width), shorten(size.height)};
}

std::vector<PictureScaler::Taps> PictureScaler::tapsFor(std::uint32_t from, std::uint32_t to) {
  const double factor = std::max(1.0, static_cast<double>(from) / to);
  const double support = kSupport * factor;
  std::vector<Taps> taps(to);
  for (std::uint32_t out = 0; out < to; ++out) {
    const double centre = (out + 0.5) * from / to;
    const auto first = static_cast<std::int64_t>(std::max(0.0, std::floor(centre - support + 0.5)));
    const auto last =
        static_cast<std::int64_t>(std::min<double>(from, std::floor(centre + support + 0.5)));
    Taps& tap = taps[out];
    tap.first = static_cast<std::uint32_t>(first);
    double total = 0;
    for (std::int64_t in = first; in < last; ++in) {
      const double weight = bicubic((in + 0.5 - centre) / factor);
      tap.weights.push_back(static_cast<float>(weight));
      total += weight;
    }
    if (total != 0)
      for (float& weight : tap.weights) weight = static_cast<float>(weight / total);
  }
  return taps;
}

PictureScaler::PictureScaler(PictureSize from, PictureSize to, std::uint32_t channels)
    : from_(from),
      to_(to),
      channels_(channels),
      columns_(tapsFor(from.width, to.width)),
      rows_(tapsFor(from.height, to.height)),
      sums_(std::size_t{to.width} * to.height * channels),
      rowSums_(std::size_t{to.width} * channels) {}

void PictureScaler::addRow(std::span<const std::uint8_t> row) {
  if (nextRow_ >= from_.height || row.size() < std::size_t{from_.width} * channels_) return;
  const std::uint32_t y = nextRow_++;
  const bool alpha = channels_ == 4;
  std::fill(rowSums_.begin(), rowSums_.end(), 0.0f);
  for (std::uint32_t x = 0; x < to_.width; ++x) {
    float* out = &rowSums_[std::size_t{x} * channels_];
    const Taps& tap = columns_[x];
    const std::uint8_t* in = row.data() + std::size_t{tap.first} * channels_;
    for (const float weight : tap.weights) {
      if (alpha) {
        const float opacity = weight * in[3] / 255.0f;
        for (std::uint32_t c = 0; c < 3; ++c) out[c] += opacity * in[c];
        out[3] += weight * in[3];
      } else {
        for (std::uint32_t c = 0; c < channels_; ++c) out[c] += weight * in[c];
      }
      in += channels_;
    }
  }
  // Each output row takes this source row with its own weight; the rows'
  // windows move down with y, so the finished ones are passed for good.
  while (firstOpenRow_ < to_.height &&
         rows_[firstOpenRow_].first + rows_[firstOpenRow_].weights.size() <= y)
    ++firstOpenRow_;
  for (std::uint32_t outY = firstOpenRow_; outY < to_.height && rows_[outY].first <= y; ++outY) {
    const Taps& tap = rows_[outY];
    if (y - tap.first >= tap.weights.size()) continue;
    const float weight = tap.weights[y - tap.first];
    float* sums = &sums_[std::size_t{outY} * to_.width * channels_];
    for (std::size_t i = 0; i < rowSums_.size(); ++i) sums[i] += weight * rowSums_[i];
  }
}

DecodedPicture PictureScaler::finish() const {
  DecodedPicture picture{to_.width, to_.height, std::vector<std::uint8_t>(sums_.size())};
  picture.channels = channels_;
  for (std::size_t i = 0; i < sums_.size(); i += channels_) {
    if (channels_ != 4) {
      for (std::uint32_t c = 0; c < channels_; ++c) picture.pixels[i + c] = toByte(sums_[i + c]);
      continue;
    }
    // The filter's negative lobes may push a colour past its opacity.
    const std::uint8_t opacity = toByte(sums_[i + 3]);
    picture.pixels[i + 3] = opacity;
    if (opacity == 0) continue;
    for (std::uint32_t c = 0; c < 3; ++c)
      picture.pixels[i + c] =
          toByte(std::clamp(sums_[i + c], 0.0f, sums_[i + 3]) * 255.0f / sums_[i + 3]);
  }
  return picture;
}

DecodedPicture scalePicture(const DecodedPicture& picture, PictureSize to) {
  PictureScaler scaler({picture.width, picture.height}, to, picture.channels);
  const std::size_t rowBytes = std::size_t{picture.width} * picture.channels;
  for (std::uint32_t y = 0; y < picture.height; ++y)
    scaler.addRow(std::span(picture.pixels).subspan(y * rowBytes, rowBytes));
  return scaler.finish();
}

}  // namespace tunora
