#pragma once
// Monkey's Audio files: stream values from the "MAC " header, tags from the
// APEv2 (or ID3v1) tag at the end.

#include <cstdint>
#include <optional>
#include <string>

#include "formats/ape_tagged_info.h"
#include "text/byte_reader.h"

namespace tunora {

// Enough for the descriptor and header of every version.
inline constexpr std::size_t kMonkeysAudioHeaderPeek = 256;

// The stream values from the "MAC " signature on. Version 3.98 and later
// put a descriptor (whose size it states) in front of the header; older
// versions have one fixed header. Nothing without the signature or with a
// header cut short.
std::optional<AudioHeaderValues> parseMonkeysAudioHeader(Bytes bytes);

class MonkeysAudioInfo : public APETaggedInfo {
 public:
  ReadResult readFile(const std::u16string& path) override;

 private:
  std::optional<AudioHeaderValues> parseHeader(Bytes head) const override {
    return parseMonkeysAudioHeader(head);
  }
};

}  // namespace tunora
