#pragma once
// PNG pictures through libpng: the size from the header, decoding straight
// into a smaller size, and encoding. Pixels are red, green, blue and, where
// the picture has transparency, alpha, 8 bits each.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "image/picture_scaler.h"
#include "jpeg/jpeg_codec.h"

namespace tunora {

// A PNG's header may claim up to 2^31 pixels a side; pictures with more
// pixels than this, or a longer side (a JPEG's limit; a row of them is held
// while decoding) are not decoded.
inline constexpr std::uint64_t kMaxPngPixels = 50'000'000;
inline constexpr std::uint32_t kMaxPngSide = 65535;
// An interlaced picture is held whole while it is decoded (4 bytes a pixel),
// so it has a lower limit.
inline constexpr std::uint64_t kMaxInterlacedPngPixels = 16'000'000;

// Width and height from the header chunk, which the format puts first;
// nothing for data that is no PNG or claims a side of 0.
std::optional<PictureSize> readPngSize(std::span<const std::uint8_t> png);

// Whether a picture of this size is decoded (or encoded) at all.
bool isDecodablePngSize(PictureSize size, bool interlaced = false);

// The picture decoded and scaled down to fit in maxSide x maxSide (see
// fittedSize): 3 channels, or 4 when it has an alpha channel or a
// transparent colour. Nothing for a corrupt or truncated picture or one over
// kMaxPngPixels.
std::optional<DecodedPicture> decodePng(std::span<const std::uint8_t> png, std::uint32_t maxSide);

// Encodes 3- or 4-channel pixels; false (and `out` empty) for a picture that
// does not match its size.
bool encodePng(const DecodedPicture& picture, std::vector<std::uint8_t>& out);

}  // namespace tunora
