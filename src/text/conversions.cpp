#include "text/conversions.h"

namespace tunora {

std::u16string convertCharToWChar(std::string_view text) {
  text = untilNul(text);
  std::u16string result;
  result.reserve(text.size());
  for (const char c : text) result.push_back(static_cast<unsigned char>(c));
  return result;
}

std::string convertWCharToChar(std::u16string_view text) {
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

  std::u16string result;
  result.reserve(bytes.size() / 2);
  for (std::size_t i = hasBom ? 2 : 0; i + 1 < bytes.size(); i += 2) {
    const char16_t unit = littleEndian ? static_cast<char16_t>(bytes[i + 1] << 8 | bytes[i])
                                       : static_cast<char16_t>(bytes[i] << 8 | bytes[i + 1]);
    if (unit == 0) break;
    result.push_back(unit);
  }
  out = std::move(result);
  return true;
}

bool convertUTF8ToUTF16(std::string_view utf8, std::u16string& out) {
  utf8 = untilNul(utf8);
  out.clear();
  out.reserve(utf8.size());
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
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i++]);
    std::uint32_t value;
    int extra;
    if (lead < 0x80) {
      out.push_back(lead);
      continue;
    } else if (lead < 0xC2 || lead > 0xF4) {
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
    for (int k = 0; k < extra; ++k) {
      if (!continuation(value)) return false;
    }
    if (value >= 0x10000) {
      value -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 | ((value >> 10) & 0x3FF)));
      out.push_back(static_cast<char16_t>(0xDC00 | (value & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(value));
    }
  }
  return true;
}

std::string convertUTF16ToUTF8(std::u16string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      result.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      result.push_back(static_cast<char>(0xC0 | cp >> 6));
      result.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      result.push_back(static_cast<char>(0xE0 | cp >> 12));
      result.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      result.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      result.push_back(static_cast<char>(0xF0 | cp >> 18));
      result.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
      result.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      result.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return result;
}

}  // namespace tunora
