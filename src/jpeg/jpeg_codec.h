#pragma once
// The JPEG codec behind one small interface: read a picture's parameters,
// decode it to packed blue-green-red pixels, encode such pixels at a quality.
// One implementation (libjpeg-turbo) serves every build.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tunora {

// Larger pictures are refused as if they were not JPEGs: a header of a few
// bytes may claim 65535 x 65535 pixels, and decoding would allocate gigabytes.
inline constexpr std::uint64_t kMaxJpegPixels = 64ull * 1024 * 1024;
// Cover files are read whole; anything larger is no cover.
inline constexpr std::uint64_t kMaxJpegFileBytes = 64ull * 1024 * 1024;

struct JpegParameters {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t channels = 0;
};

// Width x height pixels of three bytes (blue, green, red), rows top to bottom
// without padding. Other pictures (a PNG with its alpha) say how many bytes
// a pixel has.
struct DecodedPicture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;
  std::uint32_t channels = 3;
};

// The header's size and channel count; nothing for data that is no JPEG, a
// picture of zero size or one over kMaxJpegPixels.
std::optional<JpegParameters> readJpegParameters(std::span<const std::uint8_t> jpeg);

// The whole picture as blue-green-red. Grey pictures are widened; other
// channel counts (CMYK) are refused, as is corrupt or truncated data.
// With `eighths` below 8 the picture is decoded at that many eighths of its
// size (rounded up), which the codec does far faster than decoding it whole.
std::optional<DecodedPicture> decodeJpeg(std::span<const std::uint8_t> jpeg,
                                         std::uint32_t eighths = 8);

// Encodes a picture at quality 1..100 into `out`. Gives 0, or the codec's
// error code (kJpegBadInput for a buffer that does not match its size).
inline constexpr int kJpegBadInput = -1;
int encodeJpeg(const DecodedPicture& picture, int quality, std::vector<std::uint8_t>& out);

// A whole cover file, or nothing when it is missing, unreadable or larger
// than kMaxJpegFileBytes.
std::optional<std::vector<std::uint8_t>> readJpegFile(std::u16string_view path);

}  // namespace tunora
