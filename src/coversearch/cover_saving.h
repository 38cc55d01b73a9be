#pragma once
// A downloaded cover saved beside the music: the name it is suggested under,
// and the writing of its bytes, shared by the dialog and the tool.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tunora {

// The cover-name pattern with every "%a" replaced by the artist, then every
// "%b" by the album. Characters no file name can hold (\ / : * ? " < > |)
// become "_" in the inserted values, so "AC/DC" names no folder.
std::string makeCoverFileName(std::string_view pattern, std::string_view artist,
                              std::string_view album);

// Writes the cover's bytes as they were downloaded, nothing re-encoded, in
// place of whatever `target` held. A file marked read-only is left as it is
// (false): the fresh file that replaces a name would not be stopped by the
// mark everywhere.
bool saveCover(std::span<const std::uint8_t> cover, std::u16string_view target);

}  // namespace tunora
