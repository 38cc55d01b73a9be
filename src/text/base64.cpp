#include "text/base64.h"

#include <algorithm>
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

namespace {

// "xx==" and "xxx=" end the text; padding anywhere else is an error.
int paddingOf(const unsigned char* lastGroup) {
  return lastGroup[3] == '=' ? (lastGroup[2] == '=' ? 2 : 1) : 0;
}

// The last group with its padding read as "A", the character of value 0.
std::uint32_t lastGroupOf(const unsigned char* in, int padding) {
  constexpr unsigned char kZero = 'A';
  const unsigned char last[4] = {in[0], in[1], padding == 2 ? kZero : in[2],
                                 padding >= 1 ? kZero : in[3]};
  return groupOf(last);
}

void writeGroup(std::uint32_t group, std::uint8_t* out) {
  out[0] = static_cast<std::uint8_t>(group >> 16);
  out[1] = static_cast<std::uint8_t>(group >> 8);
  out[2] = static_cast<std::uint8_t>(group);
}

// Whether every byte is a character of the alphabet (padding is not). A
// picture's text is tens of kilobytes: the test is by the alphabet's ranges,
// without a branch or a lookup, a loop that compilers turn into vector code.
bool allInAlphabet(const unsigned char* in, std::size_t count) {
  const auto below = [](unsigned char value, unsigned char limit) { return value < limit; };
  unsigned char outside = 0;
  for (std::size_t at = 0; at < count; ++at) {
    const unsigned char c = in[at];
    // Setting 0x20 turns the capitals into small letters and no other byte
    // into one; "/" stands right before the digits.
    const bool letter = below(static_cast<unsigned char>((c | 0x20) - 'a'), 26);
    const bool slashOrDigit = below(static_cast<unsigned char>(c - '/'), 11);
    outside |= static_cast<unsigned char>(!(letter | slashOrDigit | (c == '+')));
  }
  return outside == 0;
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
    writeGroup(group, out);
  }
  if (seen & kNotInAlphabet) return std::nullopt;
  std::size_t written = static_cast<std::size_t>(out - bytes.data());
  if (!text.empty()) {
    const int padding = paddingOf(in);
    const std::uint32_t group = lastGroupOf(in, padding);
    if (group & kNotInAlphabet) return std::nullopt;
    for (int i = 0; i < 3 - padding; ++i)
      bytes[written++] = static_cast<std::uint8_t>(group >> (16 - 8 * i));
  }
  bytes.resize(written);
  return bytes;
}

std::optional<std::size_t> base64DecodedSize(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  if (text.empty()) return 0;
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  const auto* last = in + text.size() - 4;
  const int padding = paddingOf(last);
  if (!allInAlphabet(in, text.size() - 4) || (lastGroupOf(last, padding) & kNotInAlphabet))
    return std::nullopt;
  return text.size() / 4 * 3 - static_cast<std::size_t>(padding);
}

std::vector<std::uint8_t> decodeBase64Front(std::string_view text, std::size_t count) {
  const std::size_t groups = std::min(text.size() / 4, (count + 2) / 3);
  std::vector<std::uint8_t> bytes(groups * 3);
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t decoded = bytes.size();
  for (std::size_t i = 0; i < groups; ++i, in += 4) {
    if (4 * (i + 1) < text.size()) {
      writeGroup(groupOf(in), bytes.data() + 3 * i);
    } else {
      const int padding = paddingOf(in);
      writeGroup(lastGroupOf(in, padding), bytes.data() + 3 * i);
      decoded -= static_cast<std::size_t>(padding);
    }
  }
  bytes.resize(std::min(decoded, count));
  return bytes;
}

}  // namespace tunora
