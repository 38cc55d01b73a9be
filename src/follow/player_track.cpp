#include "follow/player_track.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "text/ascii_case.h"
#include "text/conversions.h"
#include "text/number_text.h"
#include "text/year_and_genre.h"

namespace tunora {
namespace {

constexpr std::string_view kFileScheme = "file://";
// A track without a name the page could use.
constexpr std::u16string_view kUnnamedTrack = u"mpris:track";

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (lowerAscii(c) >= 'a' && lowerAscii(c) <= 'f');
}

// "%XX" becomes its byte; a "%" without two hex digits stays as it is.
std::string percentDecode(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && isHexDigit(text[i + 1]) &&
        isHexDigit(text[i + 2])) {
      decoded += static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
      i += 2;
      continue;
    }
    decoded += text[i];
  }
  return decoded;
}

std::u16string wide(std::string_view text) {
  std::u16string converted;
  // The bus carries only valid UTF-8; whatever converted is kept regardless.
  convertUTF8ToUTF16(text, converted);
  return converted;
}

// Cut where no surrogate pair is split; nothing for an empty text.
std::optional<std::u16string> answer(std::u16string text) {
  if (text.empty()) return std::nullopt;
  if (text.size() > kPlayerAnswerLimit) {
    std::size_t end = kPlayerAnswerLimit;
    if (text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
    text.resize(end);
  }
  return text;
}

std::optional<std::u16string> answer(std::string_view text) {
  return answer(wide(text));
}

std::optional<std::u16string> joined(const std::vector<std::string>& values,
                                     std::u16string_view separator) {
  std::u16string text;
  for (const auto& value : values) {
    if (value.empty()) continue;
    if (!text.empty()) text += separator;
    text += wide(value);
  }
  return answer(std::move(text));
}

// A text that reads "unknown" in any letter case is no comment or lyrics.
std::optional<TextLines> linesOf(const std::optional<std::u16string>& text) {
  if (!text || toLowerAscii(*text) == u"unknown") return std::nullopt;
  std::optional<TextLines> lines{std::in_place};
  lines->appendText(*text);
  return lines;
}

bool hasFileScheme(std::string_view url) {
  return url.size() >= kFileScheme.size() &&
         equalIgnoringAsciiCase(url.substr(0, kFileScheme.size()), kFileScheme);
}

}  // namespace

bool PlayerTrack::empty() const {
  return trackId.empty() && url.empty() && title.empty();
}

std::size_t PlayerTrack::longestText() const {
  std::size_t longest = 0;
  for (const std::string* text : {&trackId, &title, &album, &lyrics, &created})
    longest = std::max(longest, text->size());
  for (const auto* list : {&artists, &genres, &comments, &albumArtists, &composers})
    for (const std::string& text : *list) longest = std::max(longest, text.size());
  return longest;
}

std::optional<std::u16string> localPathOf(std::string_view url) {
  if (!hasFileScheme(url)) return std::nullopt;
  std::string_view rest = url.substr(kFileScheme.size());
  // "file://localhost/path" names the same file as "file:///path".
  constexpr std::string_view kLocalhost = "localhost";
  if (rest.size() > kLocalhost.size() &&
      equalIgnoringAsciiCase(rest.substr(0, kLocalhost.size()), kLocalhost) &&
      rest[kLocalhost.size()] == '/')
    rest.remove_prefix(kLocalhost.size());
  const std::string path = percentDecode(rest);
  if (path.empty() || path.front() != '/' || path.find('\0') != std::string::npos)
    return std::nullopt;
  // Bytes that are not UTF-8 would be dropped on the way and name another
  // file, so the path must come back unchanged.
  std::u16string wide;
  if (!convertUTF8ToUTF16(path, wide) || convertUTF16ToUTF8(wide) != path) return std::nullopt;
  return wide;
}

std::u16string pageEntryOf(const PlayerTrack& track) {
  if (auto path = localPathOf(track.url)) return std::move(*path);
  std::u16string name;
  // A file URL that gives no path would be taken apart again by the page's
  // own reading of file names, so only other URLs stand as streams.
  if (track.url.find("://") != std::string::npos && !hasFileScheme(track.url))
    convertUTF8ToUTF16(track.url, name);
  if (name.empty()) convertUTF8ToUTF16(track.trackId, name);
  if (name.empty()) name = kUnnamedTrack;
  return name;
}

Track trackOf(const PlayerTrack& track, std::u16string fileName) {
  Track values;
  values.fileName = std::move(fileName);
  values.title = answer(track.title);
  values.artist = joined(track.artists, u", ");
  values.album = answer(track.album);
  if (auto year = answer(track.created); year && reduceYear(*year)) values.year = std::move(year);
  if (auto genre = joined(track.genres, u", ")) {
    stripGenreNumber(*genre);
    values.genre = std::move(genre);
  }
  // A number below 1 is no track number.
  if (track.trackNumber.value_or(0) > 0)
    values.trackNumber = decimalText(static_cast<std::uint64_t>(*track.trackNumber));
  values.albumArtist = joined(track.albumArtists, u", ");
  if (track.discNumber.value_or(0) > 0)
    values.discNumber = decimalText(static_cast<std::uint64_t>(*track.discNumber));
  values.composer = joined(track.composers, u", ");
  // Microseconds, to the nearest millisecond; a length below that is none.
  if (const auto length = track.length.value_or(0); length >= 500)
    values.stream.milliseconds = (static_cast<std::uint64_t>(length) + 500) / 1000;
  values.comment = linesOf(joined(track.comments, u"\n"));
  values.hasComment = values.comment.has_value();
  values.lyrics = linesOf(answer(track.lyrics));
  values.hasLyrics = values.lyrics.has_value();
  return values;
}

// A hash keeps a long text short and still tells tracks apart.
std::string fingerprintOf(const PlayerTrack& track) {
  std::string all;
  const auto add = [&all](std::string_view value) {
    all += value;
    all += '\x1f';
  };
  add(track.trackId);
  add(track.url);
  add(track.title);
  for (const auto& artist : track.artists) add(artist);
  add(track.album);
  add(track.created);
  add(track.trackNumber ? std::to_string(*track.trackNumber) : "");
  // Players often send the length or the album artist a moment later: the
  // page is then written again.
  for (const auto& artist : track.albumArtists) add(artist);
  add(track.discNumber ? std::to_string(*track.discNumber) : "");
  for (const auto& composer : track.composers) add(composer);
  add(track.length ? std::to_string(*track.length) : "");
  char text[2 * sizeof(std::size_t) + 1];
  std::snprintf(text, sizeof text, "%zx", std::hash<std::string>{}(all));
  return text;
}

}  // namespace tunora
