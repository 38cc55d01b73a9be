#include "tags/tag_texts.h"

#include "text/year_and_genre.h"

namespace tunora {
namespace {

void append(TextLines& lines, std::u16string_view text, bool terminate) {
  lines.appendText(text);
  if (terminate) lines.appendUnit(0);
}

}  // namespace

std::u16string joinValues(std::span<const std::u16string> values) {
  std::u16string joined;
  for (const auto& value : values) {
    if (value.empty()) continue;
    if (!joined.empty()) joined += u"; ";
    joined += value;
  }
  return joined;
}

std::u16string joinValues(std::vector<std::u16string>&& values) {
  if (values.size() == 1) return std::move(values.front());
  return joinValues(std::span<const std::u16string>(values));
}

void TagTexts::appendComment(std::u16string_view text, bool terminate) {
  append(comment_, text, terminate);
  hasComment_ = true;
}

void TagTexts::appendLyrics(std::u16string_view text, bool terminate) {
  append(lyrics_, text, terminate);
  hasLyrics_ = true;
}

void TagTexts::normalise() {
  reduceYear(year_);
  stripGenreNumber(genre_);
}

}  // namespace tunora
