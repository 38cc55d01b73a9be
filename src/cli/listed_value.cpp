#include "cli/listed_value.h"

#include "text/conversions.h"

namespace tunora {
namespace {

ListedValue literal(const std::string& text) {
  return {ListedValue::Kind::Literal, widenLatin1(text)};
}

ListedValue joinedLines(const TextLines* lines) {
  if (lines == nullptr) return {};
  ListedValue value{ListedValue::Kind::Text, {}};
  forEachListedLine(*lines, [&](std::u16string_view line, bool first) {
    if (!first) value.text += u'\n';
    value.text += line;
  });
  return value;
}

}  // namespace

ListedValue listedValue(const TrackField& field, const Track& track) {
  switch (field.format) {
    case FieldFormat::Text:
      return {ListedValue::Kind::Text, field.text(track)};
    case FieldFormat::Flag:
      return literal(field.flag(track) ? "true" : "false");
    case FieldFormat::Lines:
      return joinedLines(field.lines(track));
    case FieldFormat::Count:
      return literal(std::to_string(field.count(track)));
    case FieldFormat::Time:
      if (const auto milliseconds = field.figure(track)) return literal(secondsText(*milliseconds));
      return {};
  }
  return {};
}

}  // namespace tunora
