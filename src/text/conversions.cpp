#include "text/conversions.h"

#include <bit>
#include <cstring>

#include "text/utf8_encoding.h"

namespace tunora {

std::u16string widenLatin1(std::string_view text) {
  text = untilNul(text);
  std::u16string result;
  result.reserve(text.size());
  for (const char c : text) result.push_back(static_cast<unsigned char>(c));
  return result;
}

std::string narrowToLatin1(std::u16string_view text) {
  text = untilNul(text);
  std::string result;
  result.reserve(text.size());
  for (const char16_t unit : text) result.push_back(static_cast<char>(unit & 0xFF));
  return result;
}

bool convertUTF16ToWChar(std::span<const std::uint8_t> bytes, std::u16string& out,
                         Utf16Encoding expected) {
  if (bytes.size() % 2 != 0) return false;
  bool hasBom = false;
  bool littleEndian = false;
  if (bytes.size() >= 2) {
    if (startsWithLittleEndianMark(bytes)) {
      hasBom = true;
      littleEndian = true;
    } else if (bytes[0] == 0xFE && bytes[1] == 0xFF) {
      hasBom = true;
    }
  }
  if (expected == Utf16Encoding::Utf16WithBom && !hasBom) return false;
  if ((expected == Utf16Encoding::Utf16LE || expected == Utf16Encoding::Utf16BE) && hasBom)
    return false;
  if (expected == Utf16Encoding::Utf16LE) littleEndian = true;

  const std::span<const std::uint8_t> units = bytes.subspan(hasBom ? 2 : 0);
  out.resize(units.size() / 2);
  if (littleEndian == (std::endian::native == std::endian::little)) {
    // The machine's own order, as most tags are written: copied as they are.
    if (!out.empty()) std::memcpy(out.data(), units.data(), out.size() * 2);
  } else {
    const int high = littleEndian ? 1 : 0;
    for (std::size_t i = 0; i < out.size(); ++i)
      out[i] = static_cast<char16_t>(units[2 * i + high] << 8 | units[2 * i + 1 - high]);
  }
  out.resize(untilNul(std::u16string_view(out)).size());
  return true;
}

bool convertUTF8ToUTF16(std::string_view utf8, std::u16string& out) {
  utf8 = untilNul(utf8);
  // Never more units than bytes: written in place, then cut to length.
  out.resize(utf8.size());
  char16_t* const begin = out.data();
  char16_t* at = begin;
  std::size_t i = 0;
  // Takes the next continuation byte; the end of the text counts as a bad one.
  auto continuation = [&](std::uint32_t& value) {
    if (i >= utf8.size()) return false;
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if ((byte & 0x80) == 0) return false;
    value = value << 6 | (byte & 0x3F);
    ++i;
    return true;
  };
  bool complete = true;
  while (i < utf8.size()) {
    const std::size_t ascii = widenAsciiRun(utf8, i, at);
    at += ascii;
    i += ascii;
    if (i == utf8.size()) break;
    const auto lead = static_cast<unsigned char>(utf8[i++]);
    std::uint32_t value;
    int extra;
    if (lead < 0xC2 || lead > 0xF4) {
      continue;  // stray continuation byte or a lead that can never start a sequence
    } else if (lead < 0xE0) {
      value = lead & 0x1F;
      extra = 1;
    } else if (lead < 0xF0) {
      value = lead & 0x0F;
      extra = 2;
    } else {
      value = lead & 0x07;
      extra = 3;
    }
    for (int k = 0; k < extra && complete; ++k) complete = continuation(value);
    if (!complete) break;
    if (value >= 0x10000) {
      value -= 0x10000;
      *at++ = static_cast<char16_t>(0xD800 | ((value >> 10) & 0x3FF));
      *at++ = static_cast<char16_t>(0xDC00 | (value & 0x3FF));
    } else {
      *at++ = static_cast<char16_t>(value);
    }
  }
  out.resize(static_cast<std::size_t>(at - begin));
  return complete;
}

std::string convertUTF16ToUTF8(std::u16string_view text) {
  std::string result(text.size() * kMaxUTF8BytesPerUnit, '\0');
  char* const begin = result.data();
  char* at = begin;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (isHighSurrogate(code) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      code = combineSurrogates(code, text[i + 1]);
      ++i;
    } else if (isHighSurrogate(code) || isLowSurrogate(code)) {
      code = 0xFFFD;
    }
    at = encodeUTF8(code, at);
  }
  result.resize(static_cast<std::size_t>(at - begin));
  return result;
}

}  // namespace tunora
