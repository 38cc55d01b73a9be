#pragma once
// Scaling a picture down with a separable bicubic (Catmull-Rom) filter that
// is widened by the reduction factor, so that every source pixel counts and
// fine patterns average out instead of turning into moire. Rows are taken
// one at a time as a decoder delivers them: only the result is held, never
// the whole source picture.

#include <cstdint>
#include <span>
#include <vector>

#include "jpeg/jpeg_codec.h"

namespace tunora {

struct PictureSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool operator==(const PictureSize&) const = default;
};

// The size at which the longer side is at most `maxSide`, keeping the
// proportions (the shorter side rounded, at least 1); smaller pictures keep
// their size.
PictureSize fittedSize(PictureSize size, std::uint32_t maxSide);

class PictureScaler {
 public:
  // `channels` 3 (any order) or 4, the last of them alpha: colours are then
  // weighted by it, so that transparent pixels lend no colour to the edge.
  PictureScaler(PictureSize from, PictureSize to, std::uint32_t channels);

  // The next source row, from.width x channels bytes; surplus rows are ignored.
  void addRow(std::span<const std::uint8_t> row);
  // The scaled picture once every row was added.
  DecodedPicture finish() const;

 private:
  // Which source pixels an output pixel is made of, with their weights.
  struct Taps {
    std::uint32_t first = 0;
    std::vector<float> weights;
  };
  static std::vector<Taps> tapsFor(std::uint32_t from, std::uint32_t to);

  PictureSize from_;
  PictureSize to_;
  std::uint32_t channels_;
  std::vector<Taps> columns_;
  std::vector<Taps> rows_;
  std::vector<float> sums_;     // the result, to.width x to.height x channels
  std::vector<float> rowSums_;  // one source row scaled across
  std::uint32_t nextRow_ = 0;
  std::uint32_t firstOpenRow_ = 0;  // the first output row still taking source rows
};

// A whole decoded picture scaled to `to`.
DecodedPicture scalePicture(const DecodedPicture& picture, PictureSize to);

}  // namespace tunora
