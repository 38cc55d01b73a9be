#pragma once
// A field's value as `tunora tags` lists it. Every form of the listing (plain,
// JSON, CSV, a line of --format) writes this one value and differs only in
// how: so a value can never read one way in JSON and another in CSV.

#include <string>
#include <string_view>

#include "trackinfo/track_fields.h"

namespace tunora {

struct ListedValue {
  enum class Kind {
    Text,     // a string: JSON quotes it
    Literal,  // written as it is in every form: "true", "false", a number
    None,     // no value: JSON's null, an empty CSV field
  };
  Kind kind = Kind::None;
  // Lines are joined by "\n"; a playing time is seconds with three decimals.
  // Held by the track, or by the caller's scratch string where it is made.
  std::u16string_view text;
};

ListedValue listedValue(const TrackField& field, const Track& track, std::u16string& scratch);

// The lines that a Lines value is joined from, each line's visible text in
// order; `take` puts "\n" before every line but the first. JSON writes them
// as they come, with no joined copy of a long lyrics text.
template <typename Take>
void forEachListedLine(const TextLines& lines, Take take) {
  for (std::size_t i = 0; i < lines.lineCount(); ++i) take(*lines.line(i), i == 0);
}

}  // namespace tunora
