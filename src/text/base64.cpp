#include "text/base64.h"

#include <array>

namespace tunora {
namespace {

// A bit above the 24 that a group of four characters makes: set by every byte
// outside the alphabet.
constexpr std::uint32_t kNotInAlphabet = 1u << 24;

// The value of each character at one of the four places of a group, already
// shifted there, so that a group is four lookups joined by OR.
template <int Place>
constexpr std::array<std::uint32_t, 256> kPlaceValues = [] {
  std::array<std::uint32_t, 256> values{};
  values.fill(kNotInAlphabet);
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < kAlphabet.size(); ++i)
    values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint32_t>(i)
                                                       << (6 * (3 - Place));
  return values;
}();

std::uint32_t groupOf(const unsigned char* in) {
  return kPlaceValues<0>[in[0]] | kPlaceValues<1>[in[1]] | kPlaceValues<2>[in[2]] |
         kPlaceValues<3>[in[3]];
}

}  // namespace

std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes(text.size() / 4 * 3);
  std::uint8_t* out = bytes.data();
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  // Every group but the last is four characters of the alphabet; a stray
  // character is noticed after the loop, which then runs without a branch.
  const std::size_t lastGroup = text.empty() ? 0 : text.size() - 4;
  std::uint32_t seen = 0;
  for (const auto* end = in + lastGroup; in != end; in += 4, out += 3) {
    const std::uint32_t group = groupOf(in);
    seen |= group;
    out[0] = static_cast<std::uint8_t>(group >> 16);
    out[1] = static_cast<std::uint8_t>(group >> 8);
    out[2] = static_cast<std::uint8_t>(group);
  }
  if (seen & kNotInAlphabet) return std::nullopt;
  std::size_t written = static_cast<std::size_t>(out - bytes.data());
  if (!text.empty()) {
    // "xx==" and "xxx=" end the text; padding anywhere else is an error.
    const int padding = in[3] == '=' ? (in[2] == '=' ? 2 : 1) : 0;
    // Padding counts as "A", the character of value 0.
    constexpr unsigned char kZero = 'A';
    const unsigned char last[4] = {in[0], in[1], padding == 2 ? kZero : in[2],
                                   padding >= 1 ? kZero : in[3]};
    const std::uint32_t group = groupOf(last);
    if (group & kNotInAlphabet) return std::nullopt;
    for (int i = 0; i < 3 - padding; ++i)
      bytes[written++] = static_cast<std::uint8_t>(group >> (16 - 8 * i));
  }
  bytes.resize(written);
  return bytes;
}

}  // namespace tunora
