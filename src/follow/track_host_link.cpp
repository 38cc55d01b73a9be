#include "follow/track_host_link.h"

#include "text/conversions.h"
#include "text/helpers.h"

namespace tunora {
namespace {

std::u16string wide(std::string_view text) {
  std::u16string converted;
  // The bus carries only valid UTF-8; whatever converted is kept regardless.
  convertUTF8ToUTF16(text, converted);
  return converted;
}

std::u16string joined(const std::vector<std::string>& values, std::u16string_view separator) {
  std::u16string text;
  for (const auto& value : values) {
    if (value.empty()) continue;
    if (!text.empty()) text += separator;
    text += wide(value);
  }
  return text;
}

// Cut where no surrogate pair is split.
std::u16string limited(std::u16string text) {
  if (text.size() <= kPlayerAnswerLimit) return text;
  std::size_t end = kPlayerAnswerLimit;
  if (text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
  text.resize(end);
  return text;
}

}  // namespace

TrackHostLink::TrackHostLink(PlayerTrack track, const HostLink& base)
    : track_(std::move(track)), entry_(pageEntryOf(track_)), base_(base) {}

std::optional<std::u16string> TrackHostLink::fileInfo(std::u16string_view file,
                                                      std::string_view key) const {
  auto answer = fullAnswer(file, key);
  if (answer) answer = limited(std::move(*answer));
  return answer;
}

std::optional<std::u16string> TrackHostLink::fullAnswer(std::u16string_view file,
                                                        std::string_view key) const {
  if (!equalIgnoringAsciiCase(file, entry_)) return std::nullopt;
  if (key == "Title") return wide(track_.title);
  if (key == "Artist") return joined(track_.artists, u", ");
  if (key == "Album") return wide(track_.album);
  if (key == "Year") return wide(track_.created);
  if (key == "Genre") return joined(track_.genres, u", ");
  if (key == "Track") {
    // A number below 1 is no track number.
    const auto number = track_.trackNumber.value_or(0);
    return number > 0 ? decimalText(static_cast<std::uint64_t>(number)) : std::u16string();
  }
  if (key == "Comment") return joined(track_.comments, u"\n");
  if (key == "Lyrics") return wide(track_.lyrics);
  return std::nullopt;
}

}  // namespace tunora
