#include "htmlcreator/cover_export.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "io/file.h"
#include "jpeg/jpeg_codec.h"
#include "text/byte_reader.h"
#include "text/debug_log.h"
#include "text/number_text.h"

namespace tunora {
namespace {

constexpr int kRecolourQuality = 100;

// Red, green, blue of "#RRGGBB"; characters that are no hex digit count as 0.
std::array<int, 3> rgbOf(std::u16string_view colour) {
  const auto digit = [&](std::size_t i) {
    return i < colour.size() ? hexDigitValue(colour[i]) : 0;
  };
  return {digit(1) * 16 + digit(2), digit(3) * 16 + digit(4), digit(5) * 16 + digit(6)};
}

// Width and height from a PNG's IHDR chunk, which the format puts first.
std::optional<JpegParameters> pngParameters(std::span<const std::uint8_t> bytes) {
  constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 24 ||
      !std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin()) ||
      !std::equal(bytes.begin() + 12, bytes.begin() + 16, "IHDR"))
    return std::nullopt;
  ByteReader reader(bytes.subspan(16));
  const auto width = reader.u32be();
  const auto height = reader.u32be();
  if (!width || !height) return std::nullopt;
  return JpegParameters{*width, *height, 0};
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
  const auto jpeg = readJpegParameters(picture);
  const auto parameters = jpeg ? jpeg : pngParameters(picture);
  if (!parameters) {
    debugLog("Cover dropped: neither a JPEG nor a PNG picture\n");
    return std::nullopt;
  }
  PreparedCover cover{parameters->width, parameters->height, {}};
  // Browsers show PNG and CMYK pictures that this codec cannot decode: without
  // recolouring they go to the page as they are.
  const bool shownAsItIs = !jpeg || jpeg->channels == 4;
  if (shownAsItIs && duotone == nullptr) {
    cover.bytes.assign(picture.begin(), picture.end());
    return cover;
  }
  // Any other picture must decode, recoloured or not: a broken one is dropped.
  auto decoded = shownAsItIs ? std::nullopt : decodeJpeg(picture);
  if (!decoded) {
    debugLog("Cover dropped: the picture cannot be decoded\n");
    return std::nullopt;
  }
  if (duotone == nullptr) {
    cover.bytes.assign(picture.begin(), picture.end());
    return cover;
  }
  recolourPicture(decoded->pixels, *duotone);
  if (const int code = encodeJpeg(*decoded, kRecolourQuality, cover.bytes); code != 0) {
    debugLog("Errorcode %d\n", code);
    return std::nullopt;
  }
  return cover;
}

}  // namespace tunora
