#include "formats/asf_attributes.h"

#include <algorithm>

namespace tunora {
namespace {

enum AttributeType : std::uint16_t {
  Text = 0,
  ByteArray = 1,
  Bool = 2,
  DWord = 3,
  QWord = 4,
  Word = 5
};
constexpr std::uint8_t kFrontCover = 3;
constexpr std::size_t kMaxValuesPerField = 1000;

// UTF-16LE up to the first NUL; a stray odd byte at the end is dropped.
std::u16string textOf(Bytes bytes) {
  std::u16string text;
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    const auto unit = static_cast<char16_t>(bytes[at] | bytes[at + 1] << 8);
    if (unit == 0) break;
    text += unit;
  }
  return text;
}

// The text of a value as the pages show it: numbers in decimal.
std::optional<std::u16string> valueText(std::uint16_t type, Bytes value) {
  ByteReader reader{value};
  std::optional<std::uint64_t> number;
  switch (type) {
    case Text:
      return textOf(value);
    case DWord:
      number = reader.u32le();
      break;
    case QWord:
      number = reader.u64le();
      break;
    case Word:
      number = reader.u16le();
      break;
    default:
      return std::nullopt;
  }
  if (!number) return std::nullopt;
  std::u16string text;
  for (const char c : std::to_string(*number)) text += static_cast<char16_t>(c);
  return text;
}

// A NUL-ended UTF-16LE text inside a picture value, consumed with its NUL.
bool skipText(ByteReader& reader) {
  while (const auto unit = reader.u16le())
    if (*unit == 0) return true;
  return false;
}

}  // namespace

void ASFAttributes::readContentDescription(Bytes body) {
  ByteReader reader{body};
  std::array<std::uint16_t, 5> lengths{};
  for (auto& length : lengths) {
    const auto field = reader.u16le();
    if (!field) return;
    length = *field;
  }
  // Title, author, copyright, description, rating.
  constexpr std::array<std::u16string_view, 5> kNames{u"Title", u"Author", u"", u"Description",
                                                      u""};
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    const auto text = reader.bytes(lengths[i]);
    if (!text) return;
    if (!kNames[i].empty()) takeAttribute(kNames[i], Text, *text);
  }
}

void ASFAttributes::readExtendedContent(Bytes body) {
  ByteReader reader{body};
  const auto count = reader.u16le();
  for (std::uint32_t index = 0; count && index < *count; ++index) {
    const auto nameLength = reader.u16le();
    const auto name = nameLength ? reader.bytes(*nameLength) : std::nullopt;
    const auto type = reader.u16le();
    const auto valueLength = reader.u16le();
    const auto value = valueLength ? reader.bytes(*valueLength) : std::nullopt;
    if (!name || !type || !value) return;
    takeAttribute(textOf(*name), *type, *value);
  }
}

void ASFAttributes::readMetadata(Bytes body) {
  ByteReader reader{body};
  const auto count = reader.u16le();
  for (std::uint32_t index = 0; count && index < *count; ++index) {
    if (!reader.skip(4)) return;  // language list index, stream number
    const auto nameLength = reader.u16le();
    const auto type = reader.u16le();
    const auto valueLength = reader.u32le();
    if (!nameLength || !type || !valueLength) return;
    const auto name = reader.bytes(*nameLength);
    const auto value = name ? reader.bytes(*valueLength) : std::nullopt;
    if (!value) return;
    takeAttribute(textOf(*name), *type, *value);
  }
}

void ASFAttributes::takeAttribute(std::u16string_view name, std::uint16_t type, Bytes value) {
  if (name == u"WM/Picture") {
    if (type == ByteArray) takePicture(value);
    return;
  }
  for (std::size_t field = 0; field < kFields.size(); ++field) {
    if (kFields[field].name != name) continue;
    if (auto text = valueText(type, value)) addValue(field, std::move(*text));
    return;
  }
}

void ASFAttributes::addValue(std::size_t field, std::u16string value) {
  present_ = true;
  // Taggers repeat a value of the description objects in the Metadata
  // Library: the same value twice is one value. Each new value is compared
  // with those kept, so a header of many thousands stops at a number no
  // real file reaches.
  auto& values = values_[field];
  if (!value.empty() && values.size() < kMaxValuesPerField &&
      std::find(values.begin(), values.end(), value) == values.end())
    values.push_back(std::move(value));
}

// Picture type, data size, MIME type and description texts, then the data.
void ASFAttributes::takePicture(Bytes value) {
  ByteReader reader{value};
  const auto type = reader.u8();
  const auto size = reader.u32le();
  if (!type || !size || !skipText(reader) || !skipText(reader)) return;
  const auto data = reader.bytes(*size);
  if (!data || data->empty()) return;
  present_ = true;
  const bool front = *type == kFrontCover;
  if (picture_ && (frontCover_ || !front)) return;
  picture_ = *data;
  frontCover_ = front;
}

void ASFAttributes::finish() {
  for (std::size_t field = 0; field < kFields.size(); ++field) {
    const auto& values = values_[field];
    if (values.empty()) continue;
    const std::u16string joined = joinValues(values);
    if (kFields[field].member != nullptr) {
      this->*kFields[field].member = joined;
    } else if (kFields[field].name == u"Description") {
      appendComment(joined, false);
    } else {
      appendLyrics(joined, false);
    }
  }
  normalise();
}

}  // namespace tunora
