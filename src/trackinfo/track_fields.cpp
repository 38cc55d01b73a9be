#include "trackinfo/track_fields.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "text/ascii_case.h"
#include "text/number_text.h"
#include "trackinfo/tag_kind.h"

namespace tunora {
namespace {

constexpr std::size_t kTrackNumberUnitsExamined = 20;
// A range starts below this; a larger figure can only be the highest.
constexpr std::uint64_t kRangeStart = 1000000;

// The leading decimal digits; nothing without any. Saturates instead of wrapping.
std::optional<std::uint64_t> leadingNumber(const std::optional<std::u16string>& text) {
  if (!text) return std::nullopt;
  std::uint64_t value = 0;
  for (const char16_t c : *text) {
    if (c < u'0' || c > u'9') break;
    value = std::min<std::uint64_t>(value * 10 + (c - u'0'), 0xFFFFFFFFull);
  }
  return value;
}

std::optional<std::uint64_t> streamFigure(const Track& track, std::optional<std::uint64_t> figure) {
  return track.stream.known ? figure : std::nullopt;
}

const TextLines* linesOf(const std::optional<TextLines>& lines) {
  return lines ? &*lines : nullptr;
}

using TextOf = std::u16string_view (*)(const Track&, std::u16string&);

// A text the track holds, "Unknown" for none: handed out as it is.
template <std::optional<std::u16string> Track::*Text>
std::u16string_view held(const Track& track, std::u16string&) {
  const auto& text = track.*Text;
  return text ? std::u16string_view(*text) : kUnknown;
}

// A text made from the track's values.
template <std::u16string (*Make)(const Track&)>
std::u16string_view made(const Track& track, std::u16string& scratch) {
  scratch = Make(track);
  return scratch;
}

constexpr TrackField text(std::string_view key, std::u16string_view token, TextOf value,
                          GroupRule group = GroupRule::None) {
  TrackField field;
  field.key = key;
  field.token = token;
  field.group = group;
  field.text = value;
  return field;
}

constexpr TrackField figure(std::string_view key, std::u16string_view token, TextOf value,
                            std::optional<std::uint64_t> (*number)(const Track&)) {
  TrackField field = text(key, token, value, GroupRule::Range);
  field.figure = number;
  return field;
}

constexpr TrackField common(std::string_view key, std::u16string_view token, TextOf value,
                            std::u16string_view various) {
  TrackField field = text(key, token, value, GroupRule::Common);
  field.various = various;
  return field;
}

std::u16string shownDuration(const Track& track) {
  if (!track.stream.known) return {};
  const auto& milliseconds = track.stream.milliseconds;
  return milliseconds ? durationText(*milliseconds) : std::u16string(kUnknown);
}

std::optional<std::uint64_t> duration(const Track& track) {
  return streamFigure(track, track.stream.milliseconds);
}

constexpr TrackField time(std::string_view key, std::u16string_view token, GroupRule group) {
  TrackField field = text(key, token, made<shownDuration>, group);
  field.format = key.empty() ? FieldFormat::Text : FieldFormat::Time;
  field.figure = duration;
  return field;
}

constexpr TrackField flag(std::string_view key, bool (*value)(const Track&)) {
  TrackField field;
  field.key = key;
  field.format = FieldFormat::Flag;
  field.flag = value;
  return field;
}

constexpr TrackField lines(std::string_view key, std::u16string_view token,
                           const TextLines* (*value)(const Track&)) {
  TrackField field;
  field.key = key;
  field.token = token;
  field.format = FieldFormat::Lines;
  field.lines = value;
  return field;
}

constexpr TrackField count(std::string_view key, std::uint64_t (*value)(const Track&)) {
  TrackField field;
  field.key = key;
  field.format = FieldFormat::Count;
  field.count = value;
  return field;
}

// In the listing's order.
const std::array kFields = {
    text("filename", u"<$filename$>",
         [](const Track& t, std::u16string&) { return std::u16string_view(t.fileName); }),
    text("shortfilename", u"<$shortfilename$>", made<shortFileNameOf>),
    // Template-only: a listing keeps the name as it was given.
    text({}, u"<$fileurl$>", made<fileUrlOf>),
    text("filetype", u"<$filetype$>", made<fileTypeOf>, GroupRule::Distinct),
    common("artist", u"<$artist$>", held<&Track::artist>, u"Various Artists"),
    common("albumartist", u"<$albumartist$>", held<&Track::albumArtist>, u"Various Artists"),
    common("album", u"<$album$>", held<&Track::album>, u"Various Albums"),
    text("songname", u"<$songname$>", held<&Track::title>),
    common("composer", u"<$composer$>", held<&Track::composer>, u"Various Composers"),
    figure("year", u"<$year$>", held<&Track::year>,
           [](const Track& t) { return leadingNumber(t.year); }),
    text("genre", u"<$genre$>", held<&Track::genre>, GroupRule::Distinct),
    text("tracknr", u"<$tracknr$>", held<&Track::trackNumber>),
    text({}, u"<$tracknrclean$>",
         made<+[](const Track& t) { return cleanTrackNumber(shownText(t.trackNumber)); }>),
    figure("discnumber", u"<$discnumber$>", held<&Track::discNumber>,
           [](const Track& t) { return leadingNumber(t.discNumber); }),
    time("duration", u"<$duration$>", GroupRule::None),
    time({}, u"<$totaltime$>", GroupRule::Total),
    figure(
        "bitrate", u"<$bitrate$>",
        made<+[](const Track& t) { return shownFigure(kilobitFigure(t.stream), t.stream.known); }>,
        [](const Track& t) { return streamFigure(t, kilobitFigure(t.stream)); }),
    figure("samplerate", u"<$samplerate$>",
           made<+[](const Track& t) { return shownFigure(t.stream.sampleRate, t.stream.known); }>,
           [](const Track& t) { return streamFigure(t, t.stream.sampleRate); }),
    figure("stereomode", u"<$stereomode$>",
           made<+[](const Track& t) { return shownFigure(t.stream.channels, t.stream.known); }>,
           [](const Track& t) { return streamFigure(t, t.stream.channels); }),
    text(
        "presenttags", u"<$presenttags$>",
        [](const Track& t, std::u16string&) { return std::u16string_view(t.tagKinds); },
        GroupRule::TagKinds),
    flag("hastag", [](const Track& t) { return t.hasTag; }),
    flag("hascomment", [](const Track& t) { return t.hasComment; }),
    flag("haslyrics", [](const Track& t) { return t.hasLyrics; }),
    flag("hascover", [](const Track& t) { return t.hasCover; }),
    lines("comment", u"<$comment$>", [](const Track& t) { return linesOf(t.comment); }),
    lines("lyrics", u"<$lyrics$>", [](const Track& t) { return linesOf(t.lyrics); }),
    count("coverbytes", [](const Track& t) { return std::uint64_t{t.coverSize}; }),
};

// Collects values that were not seen before (letter case ignored), in the
// form first seen; a hash of the lower-cased form keeps it linear.
class DistinctValues {
 public:
  void offer(std::u16string_view value) {
    if (seen_.insert(toLowerAscii(value)).second) values_.emplace_back(value);
  }
  const std::vector<std::u16string>& values() const { return values_; }

 private:
  std::unordered_set<std::u16string> seen_;
  std::vector<std::u16string> values_;
};

std::vector<std::u16string_view> splitAtCommas(std::u16string_view text) {
  std::vector<std::u16string_view> pieces;
  while (true) {
    const auto comma = text.find(u',');
    pieces.push_back(text.substr(0, comma));
    if (comma == text.npos) return pieces;
    text.remove_prefix(comma + 1);
  }
}

std::u16string commonValue(const TrackField& field, std::span<const Track* const> tracks) {
  const std::u16string first = field.textOf(*tracks.front());
  std::u16string scratch;
  for (const Track* track : tracks)
    if (!equalIgnoringAsciiCase(field.text(*track, scratch), first))
      return std::u16string(field.various);
  return first;
}

std::u16string range(const TrackField& field, std::span<const Track* const> tracks) {
  std::uint64_t lowest = kRangeStart;
  std::uint64_t highest = 0;
  bool lowestFound = false;
  bool highestFound = false;
  bool missing = false;
  for (const Track* track : tracks) {
    const std::uint64_t value = field.figure(*track).value_or(0);
    if (value == 0) {
      missing = true;
      continue;
    }
    if (value > highest) {
      highest = value;
      highestFound = true;
    }
    if (value < lowest) {
      lowest = value;
      lowestFound = true;
    }
  }
  std::u16string text;
  if (lowestFound) {
    text = decimalText(lowest);
    if (highestFound && highest != lowest) {
      text += u'-';
      text += decimalText(highest);
    }
  } else if (highestFound) {
    text = decimalText(highest);
  } else {
    return std::u16string(kUnknown);
  }
  if (missing) text += u" (+Unknown)";
  return text;
}

std::u16string joined(const std::vector<std::u16string>& values) {
  std::u16string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += u", ";
    text += values[i];
  }
  return text;
}

std::u16string distinctList(const TrackField& field, std::span<const Track* const> tracks) {
  DistinctValues distinct;
  std::u16string scratch;
  for (const Track* track : tracks) distinct.offer(field.text(*track, scratch));
  return joined(distinct.values());
}

std::u16string tagKinds(const TrackField& field, std::span<const Track* const> tracks) {
  DistinctValues distinct;
  std::array<std::size_t, kTagKindNames.size()> tracksWith{};
  for (const Track* track : tracks) {
    std::array<bool, kTagKindNames.size()> has{};
    const std::u16string kinds = field.textOf(*track);
    for (const auto piece : splitAtCommas(kinds)) {
      distinct.offer(piece);
      for (std::size_t k = 0; k < kTagKindNames.size(); ++k)
        if (equalIgnoringAsciiCase(piece, kTagKindNames[k].name)) has[k] = true;
    }
    for (std::size_t k = 0; k < has.size(); ++k) tracksWith[k] += has[k] ? 1 : 0;
  }
  const auto onAllTracks = [&](std::u16string_view piece) {
    for (std::size_t k = 0; k < kTagKindNames.size(); ++k)
      if (equalIgnoringAsciiCase(piece, kTagKindNames[k].name))
        return tracksWith[k] == tracks.size();
    return false;
  };
  std::u16string text;
  const auto& pieces = distinct.values();
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0 && equalIgnoringAsciiCase(pieces[i], kNone)) continue;
    if (i > 0) text += u", ";
    text += pieces[i];
    if (onAllTracks(pieces[i])) text += u"(all)";
  }
  return text;
}

std::u16string total(const TrackField& field, std::span<const Track* const> tracks) {
  std::uint64_t sum = 0;
  bool found = false;
  bool missing = false;
  for (const Track* track : tracks) {
    const std::uint64_t value = field.figure(*track).value_or(0);
    missing = missing || value == 0;
    found = found || value != 0;
    sum += value;
  }
  if (!found) return std::u16string(kUnknown);
  return durationText(sum) + (missing ? u" (+Unknown)" : u"");
}

}  // namespace

std::span<const TrackField> trackFields() {
  return kFields;
}

std::u16string groupSummary(const TrackField& field, std::span<const Track* const> tracks) {
  if (tracks.empty()) return std::u16string(kUnknown);
  switch (field.group) {
    case GroupRule::Common:
      return commonValue(field, tracks);
    case GroupRule::Range:
      return range(field, tracks);
    case GroupRule::Distinct:
      return distinctList(field, tracks);
    case GroupRule::TagKinds:
      return tagKinds(field, tracks);
    case GroupRule::Total:
      return total(field, tracks);
    case GroupRule::None:
      break;
  }
  return std::u16string(kUnknown);
}

std::u16string cleanTrackNumber(std::u16string_view trackNumber) {
  if (trackNumber.empty() || trackNumber == u"0" || trackNumber == u"00" || trackNumber == u"000")
    return std::u16string(kUnknown);
  std::u16string digits;
  bool started = false;
  for (const char16_t c : trackNumber.substr(0, kTrackNumberUnitsExamined)) {
    if (!started && c >= u'1' && c <= u'9') started = true;
    if (!started) continue;
    if (c < u'0' || c > u'9') break;
    digits += c;
  }
  return digits.empty() ? std::u16string(trackNumber) : digits;
}

}  // namespace tunora
