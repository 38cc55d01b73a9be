#pragma once
// From a downloaded cover to what the user sees and keeps: the suggested file
// name, a bitmap file for the picture control, and the byte-for-byte copy
// beside the music.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jpeg/jpeg_codec.h"

namespace tunora {

// The cover-name pattern with every "%a" replaced by the artist, then every
// "%b" by the album. Characters no file name can hold (\ / : * ? " < > |)
// become "_" in the inserted values, so "AC/DC" names no folder.
std::string makeCoverFileName(std::string_view pattern, std::string_view artist,
                              std::string_view album);

// The picture as a 24-bit bottom-up Windows bitmap file.
std::vector<std::uint8_t> bitmapFileBytes(const DecodedPicture& picture);

// Decodes the JPEG file and writes it as a bitmap into a new temporary file;
// its name, or nothing when the picture cannot be decoded or written.
std::optional<std::string> makeDisplayFile(std::string_view jpegFile);

// Copies the whole file under a fresh name beside the target and moves it
// there once complete. False on any failure; the target is then as it was.
bool copyFileVerified(std::string_view source, std::string_view target);

}  // namespace tunora
