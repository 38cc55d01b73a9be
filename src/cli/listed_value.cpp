#include "cli/listed_value.h"

#include "text/conversions.h"

namespace tunora {
namespace {

ListedValue literal(std::string_view text, std::u16string& scratch) {
  scratch = widenLatin1(text);
  return {ListedValue::Kind::Literal, scratch};
}

ListedValue joinedLines(const TextLines* lines, std::u16string& scratch) {
  if (lines == nullptr) return {};
  scratch.clear();
  forEachListedLine(*lines, [&](std::u16string_view line, bool first) {
    if (!first) scratch += u'\n';
    scratch += line;
  });
  return {ListedValue::Kind::Text, scratch};
}

}  // namespace

ListedValue listedValue(const TrackField& field, const Track& track, std::u16string& scratch) {
  switch (field.format) {
    case FieldFormat::Text:
      return {ListedValue::Kind::Text, field.text(track, scratch)};
    case FieldFormat::Flag:
      return literal(field.flag(track) ? "true" : "false", scratch);
    case FieldFormat::Lines:
      return joinedLines(field.lines(track), scratch);
    case FieldFormat::Count:
      return literal(std::to_string(field.count(track)), scratch);
    case FieldFormat::Time:
      if (const auto milliseconds = field.figure(track))
        return literal(secondsText(*milliseconds), scratch);
      return {};
  }
  return {};
}

}  // namespace tunora
