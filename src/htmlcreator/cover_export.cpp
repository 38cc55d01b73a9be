#include "htmlcreator/cover_export.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "io/file.h"
#include "jpeg/jpeg_codec.h"
#include "text/debug_log.h"
#include "text/helpers.h"

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
  const auto be32 = [&](std::size_t at) {
    return uint32FromBytes(bytes[at + 3], bytes[at + 2], bytes[at + 1], bytes[at]);
  };
  return JpegParameters{be32(16), be32(20), 0};
}

bool replaceFile(std::u16string_view destination, std::span<const std::uint8_t> bytes) {
  if (File::open(destination, File::Mode::Read)) {
    resetFileAttributes(destination);
    deleteFile(destination);
  }
  return writeWholeFile(destination, bytes);
}

}  // namespace

void recolourPicture(std::vector<std::uint8_t>& pixels, const Duotone& duotone) {
  if (pixels.size() % 3 != 0) return;
  const auto [darkRed, darkGreen, darkBlue] = rgbOf(duotone.dark);
  const auto [lightRed, lightGreen, lightBlue] = rgbOf(duotone.light);
  int lowest = 255;
  int highest = 0;
  for (std::size_t i = 0; i < pixels.size(); i += 3) {
    const double sum = static_cast<double>(0.3f) * pixels[i + 2] +
                       static_cast<double>(0.59f) * pixels[i + 1] +
                       static_cast<double>(0.11f) * pixels[i];
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
  const int range = highest - lowest;
  for (std::size_t i = 0; i < pixels.size(); i += 3) {
    const int grey = pixels[i];
    for (std::size_t c = 0; c < 3; ++c) {
      const int value =
          range == 0
              ? dark[c]
              : static_cast<int>(std::trunc(
                    static_cast<double>((grey - lowest) * (light[c] - dark[c])) / range + dark[c]));
      pixels[i + c] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }
  }
}

bool exportCover(std::u16string_view source, std::u16string_view destination,
                 const Duotone* duotone, std::uint32_t& width, std::uint32_t& height) {
  width = 0;
  height = 0;
  const auto bytes = readJpegFile(source);
  if (!bytes) return false;
  const auto parameters = readJpegParameters(*bytes);
  const auto png = parameters ? std::nullopt : pngParameters(*bytes);
  if (!parameters && !png) {
    debugLog("Cover dropped: neither a JPEG nor a PNG picture\n");
    return false;
  }
  width = parameters ? parameters->width : png->width;
  height = parameters ? parameters->height : png->height;
  // Browsers show PNG and CMYK pictures that this codec cannot decode: without
  // recolouring they go to the page as they are.
  const bool shownAsItIs = png || parameters->channels == 4;
  if (shownAsItIs && duotone == nullptr)
    return source == destination || replaceFile(destination, *bytes);
  // Any other picture must decode, recoloured or not: a broken one is dropped.
  auto picture = shownAsItIs ? std::nullopt : decodeJpeg(*bytes);
  if (!picture) {
    debugLog("Cover dropped: the picture cannot be decoded\n");
    return false;
  }
  if (duotone == nullptr) return source == destination || replaceFile(destination, *bytes);
  recolourPicture(picture->pixels, *duotone);
  std::vector<std::uint8_t> encoded;
  if (const int code = encodeJpeg(*picture, kRecolourQuality, encoded); code != 0) {
    debugLog("Errorcode %d\n", code);
    return false;
  }
  return replaceFile(destination, encoded);
}

}  // namespace tunora
