#include "htmlcreator/cover_export.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "image/exif_orientation.h"
#include "image/orient_picture.h"
#include "image/picture_scaler.h"
#include "image/png_codec.h"
#include "io/file.h"
#include "jpeg/jpeg_codec.h"
#include "text/debug_log.h"
#include "text/number_text.h"

namespace tunora {
namespace {

constexpr int kRecolourQuality = 100;
// Scaled or turned covers: no visible loss, a third of the bytes of 100.
constexpr int kScaledQuality = 90;

// Red, green, blue of "#RRGGBB"; characters that are no hex digit count as 0.
std::array<int, 3> rgbOf(std::u16string_view colour) {
  const auto digit = [&](std::size_t i) {
    return i < colour.size() ? hexDigitValue(colour[i]) : 0;
  };
  return {digit(1) * 16 + digit(2), digit(3) * 16 + digit(4), digit(5) * 16 + digit(6)};
}

// The fewest eighths of its size at which the codec decodes a JPEG no
// smaller than `target`, which the filter then brings to the exact size.
std::uint32_t eighthsFor(PictureSize stored, PictureSize target) {
  std::uint32_t eighths = 1;
  const auto reaches = [&](std::uint32_t side, std::uint32_t wanted) {
    return (std::uint64_t{side} * eighths + 7) / 8 >= wanted;
  };
  while (eighths < 8 &&
         !(reaches(stored.width, target.width) && reaches(stored.height, target.height)))
    ++eighths;
  return eighths;
}

std::optional<PreparedCover> encodedCover(DecodedPicture& picture, const Duotone* duotone) {
  PreparedCover cover{picture.width, picture.height, {}};
  if (duotone != nullptr) recolourPicture(picture.pixels, *duotone);
  if (const int code =
          encodeJpeg(picture, duotone != nullptr ? kRecolourQuality : kScaledQuality, cover.bytes);
      code != 0) {
    debugLog("Errorcode %d\n", code);
    return std::nullopt;
  }
  return cover;
}

std::optional<PreparedCover> prepareJpeg(std::span<const std::uint8_t> picture,
                                         const JpegParameters& parameters, const Duotone* duotone) {
  const PictureSize stored{parameters.width, parameters.height};
  // Browsers show CMYK pictures that this codec cannot decode: without
  // recolouring they go to the page as they are, at any size.
  if (parameters.channels == 4) {
    if (duotone != nullptr) return std::nullopt;
    return PreparedCover{stored.width, stored.height, {picture.begin(), picture.end()}};
  }
  const Orientation orientation = jpegOrientation(picture);
  const PictureSize target = fittedSize(stored, kMaxCoverSide);
  const bool asItIs = target == stored && orientation == Orientation::Upright && duotone == nullptr;
  // Any other picture must decode, changed or not: a broken one is dropped.
  auto decoded = decodeJpeg(picture, eighthsFor(stored, target));
  if (!decoded) {
    debugLog("Cover dropped: the picture cannot be decoded\n");
    return std::nullopt;
  }
  if (asItIs) return PreparedCover{stored.width, stored.height, {picture.begin(), picture.end()}};
  if (PictureSize{decoded->width, decoded->height} != target)
    *decoded = scalePicture(*decoded, target);
  if (orientation != Orientation::Upright) *decoded = orientPicture(*decoded, orientation);
  return encodedCover(*decoded, duotone);
}

std::optional<PreparedCover> preparePng(std::span<const std::uint8_t> picture, PictureSize stored,
                                        const Duotone* duotone) {
  // Recolouring would have to keep the transparency: PNG covers are not.
  if (duotone != nullptr) return std::nullopt;
  if (fittedSize(stored, kMaxCoverSide) == stored)
    return PreparedCover{stored.width, stored.height, {picture.begin(), picture.end()}};
  const auto decoded = decodePng(picture, kMaxCoverSide);
  PreparedCover cover;
  if (!decoded || !encodePng(*decoded, cover.bytes)) {
    debugLog("Cover dropped: the picture cannot be decoded\n");
    return std::nullopt;
  }
  cover.width = decoded->width;
  cover.height = decoded->height;
  return cover;
}

}  // namespace

void recolourPicture(std::vector<std::uint8_t>& pixels, const Duotone& duotone) {
  if (pixels.size() % 3 != 0) return;
  const auto [darkRed, darkGreen, darkBlue] = rgbOf(duotone.dark);
  const auto [lightRed, lightGreen, lightBlue] = rgbOf(duotone.light);
  // Each channel's share of the grey, by value: the same products, added in
  // the same order, as computed pixel by pixel.
  std::array<std::array<double, 256>, 3> shares{};
  for (int value = 0; value < 256; ++value) {
    shares[0][value] = static_cast<double>(0.11f) * value;
    shares[1][value] = static_cast<double>(0.59f) * value;
    shares[2][value] = static_cast<double>(0.3f) * value;
  }
  int lowest = 255;
  int highest = 0;
  for (std::size_t i = 0; i < pixels.size(); i += 3) {
    const double sum = shares[2][pixels[i + 2]] + shares[1][pixels[i + 1]] + shares[0][pixels[i]];
    const auto grey = static_cast<std::uint8_t>(std::clamp(sum, 0.0, 255.0));
    pixels[i] = pixels[i + 1] = pixels[i + 2] = grey;
    lowest = std::min<int>(lowest, grey);
    highest = std::max<int>(highest, grey);
  }
  // Blue, green, red: the byte order of the pixels.
  const std::array<int, 3> dark{darkBlue, darkGreen, darkRed};
  const std::array<int, 3> light{lightBlue, lightGreen, lightRed};
  // Multiplied before dividing, in integers where it can be: the brightest
  // pixel then takes exactly the light colour, with any floating-point unit.
  // A grey value always gives the same colour, so each is computed once.
  const int range = highest - lowest;
  std::array<std::array<std::uint8_t, 3>, 256> colours{};
  for (int grey = lowest; grey <= highest; ++grey) {
    for (std::size_t c = 0; c < 3; ++c) {
      const int value =
          range == 0
              ? dark[c]
              : static_cast<int>(std::trunc(
                    static_cast<double>((grey - lowest) * (light[c] - dark[c])) / range + dark[c]));
      colours[grey][c] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }
  }
  for (std::size_t i = 0; i < pixels.size(); i += 3) {
    const auto& colour = colours[pixels[i]];
    pixels[i] = colour[0];
    pixels[i + 1] = colour[1];
    pixels[i + 2] = colour[2];
  }
}

std::optional<PreparedCover> prepareCover(std::span<const std::uint8_t> picture,
                                          const Duotone* duotone) {
  if (picture.size() > kMaxJpegFileBytes) return std::nullopt;
  if (const auto jpeg = readJpegParameters(picture)) return prepareJpeg(picture, *jpeg, duotone);
  if (const auto png = readPngSize(picture)) return preparePng(picture, *png, duotone);
  debugLog("Cover dropped: neither a JPEG nor a PNG picture\n");
  return std::nullopt;
}

}  // namespace tunora
