#include "text/base64.h"

#include <array>

namespace tunora {
namespace {

// The value of each character of the alphabet; -1 for every other byte.
constexpr std::array<std::int8_t, 256> kSextets = [] {
  std::array<std::int8_t, 256> sextets{};
  sextets.fill(-1);
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < kAlphabet.size(); ++i)
    sextets[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
  return sextets;
}();

int sextetOf(char c) {
  return kSextets[static_cast<unsigned char>(c)];
}

}  // namespace

std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes(text.size() / 4 * 3);
  std::uint8_t* out = bytes.data();
  // Every group but the last is four characters of the alphabet.
  const std::size_t lastGroup = text.empty() ? 0 : text.size() - 4;
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  for (const auto* end = in + lastGroup; in != end; in += 4) {
    const int a = kSextets[in[0]];
    const int b = kSextets[in[1]];
    const int c = kSextets[in[2]];
    const int d = kSextets[in[3]];
    if ((a | b | c | d) < 0) return std::nullopt;
    const auto group = static_cast<std::uint32_t>(a << 18 | b << 12 | c << 6 | d);
    *out++ = static_cast<std::uint8_t>(group >> 16);
    *out++ = static_cast<std::uint8_t>(group >> 8);
    *out++ = static_cast<std::uint8_t>(group);
  }
  std::size_t written = static_cast<std::size_t>(out - bytes.data());
  if (!text.empty()) {
    // "xx==" and "xxx=" end the text; padding anywhere else is an error.
    const int padding = text[lastGroup + 3] == '=' ? (text[lastGroup + 2] == '=' ? 2 : 1) : 0;
    std::uint32_t group = 0;
    for (int i = 0; i < 4; ++i) {
      const int sextet = i < 4 - padding ? sextetOf(text[lastGroup + i]) : 0;
      if (sextet < 0) return std::nullopt;
      group = group << 6 | static_cast<std::uint32_t>(sextet);
    }
    for (int i = 0; i < 3 - padding; ++i)
      bytes[written++] = static_cast<std::uint8_t>(group >> (16 - 8 * i));
  }
  bytes.resize(written);
  return bytes;
}

}  // namespace tunora
