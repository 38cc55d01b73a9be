#include "text/strict_utf8.h"

#include <cstdint>
#include <optional>

namespace tunora {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// The first byte's payload, how many continuation bytes follow, and the
// range the second byte must fall in (narrower after E0, ED, F0 and F4,
// which rules out overlong forms, surrogates and code points past U+10FFFF).
struct Lead {
  std::uint32_t payload;
  int continuations;
  std::uint8_t low, high;
};

std::optional<Lead> leadOf(std::uint8_t byte) {
  if (byte >= 0xC2 && byte <= 0xDF) return Lead{byte & 0x1Fu, 1, 0x80, 0xBF};
  if (byte == 0xE0) return Lead{0, 2, 0xA0, 0xBF};
  if (byte == 0xED) return Lead{0x0D, 2, 0x80, 0x9F};
  if (byte >= 0xE1 && byte <= 0xEF) return Lead{byte & 0x0Fu, 2, 0x80, 0xBF};
  if (byte == 0xF0) return Lead{0, 3, 0x90, 0xBF};
  if (byte >= 0xF1 && byte <= 0xF3) return Lead{byte & 0x07u, 3, 0x80, 0xBF};
  if (byte == 0xF4) return Lead{4, 3, 0x80, 0x8F};
  return std::nullopt;
}

void appendCodePoint(std::u16string& text, std::uint32_t code) {
  if (code < 0x10000) {
    text.push_back(static_cast<char16_t>(code));
    return;
  }
  code -= 0x10000;
  text.push_back(static_cast<char16_t>(0xD800 | code >> 10));
  text.push_back(static_cast<char16_t>(0xDC00 | (code & 0x3FF)));
}

}  // namespace

Utf8Text decodeUtf8Replacing(Bytes bytes) {
  Utf8Text result;
  result.text.reserve(bytes.size());
  std::size_t line = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::uint8_t byte = bytes[i++];
    if (byte < 0x80) {
      result.text.push_back(byte);
      if (byte == '\n') ++line;
      continue;
    }
    const auto lead = leadOf(byte);
    bool complete = lead.has_value();
    if (lead) {
      std::uint32_t code = lead->payload;
      std::uint8_t low = lead->low;
      std::uint8_t high = lead->high;
      for (int k = 0; k < lead->continuations; ++k) {
        if (i >= bytes.size() || bytes[i] < low || bytes[i] > high) {
          complete = false;
          break;
        }
        code = code << 6 | (bytes[i++] & 0x3Fu);
        low = 0x80;
        high = 0xBF;
      }
      if (complete) appendCodePoint(result.text, code);
    }
    if (!complete) {
      if (result.invalidSequences++ == 0) result.firstInvalidLine = line;
      result.text.push_back(kReplacement);
    }
  }
  return result;
}

}  // namespace tunora
