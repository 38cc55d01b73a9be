#pragma once
// The one list of a track's fields: each field's JSON key, template token,
// value, format and the rule that sums it up over a group of tracks. The
// listing, the filling of templates, the template check and the group
// summaries all walk it, so a new field is one row.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_lines.h"
#include "trackinfo/track.h"

namespace tunora {

enum class FieldFormat {
  Text,   // a JSON string; HTML-escaped (or URL-encoded) in a page
  Flag,   // true or false
  Lines,  // lines joined by line breaks, or null
  Count,  // a JSON number
  Time,   // a playing time: seconds as a JSON number (null for none), m:ss in a page
};

enum class GroupRule {
  None,      // the group section leaves the token alone
  Common,    // the common value (letter case ignored), else `various`
  Range,     // lowest "-" highest of the numbers, " (+Unknown)" for tracks without
  Distinct,  // distinct values in order of first appearance, joined with ", "
  TagKinds,  // distinct tag kinds; a kind that every track has is marked "(all)"
  Total,     // the playing times added up, " (+Unknown)" for tracks without
};

struct TrackField {
  std::string_view key;       // the listing's key; empty for a template-only field
  std::u16string_view token;  // "<$name$>"; empty for a listing-only field
  FieldFormat format = FieldFormat::Text;
  GroupRule group = GroupRule::None;
  // Text: the value, held by the track or made in `scratch`.
  std::u16string_view (*text)(const Track&, std::u16string& scratch) = nullptr;
  bool (*flag)(const Track&) = nullptr;               // Flag
  const TextLines* (*lines)(const Track&) = nullptr;  // Lines: null for none
  std::uint64_t (*count)(const Track&) = nullptr;     // Count
  // Range and Total: the figure that is summed up, and Time's milliseconds;
  // 0 or nothing counts as unknown.
  std::optional<std::uint64_t> (*figure)(const Track&) = nullptr;
  std::u16string_view various;  // Common: the text when the values differ

  // A Text field's value as a string of its own.
  std::u16string textOf(const Track& track) const {
    std::u16string scratch;
    return std::u16string(text(track, scratch));
  }
};

std::span<const TrackField> trackFields();

// The summary of the field over the tracks; "Unknown" for no tracks.
std::u16string groupSummary(const TrackField& field, std::span<const Track* const> tracks);

// The track-number text without leading zeros and anything after its first
// run of digits ("03/12" gives "3").
std::u16string cleanTrackNumber(std::u16string_view trackNumber);

}  // namespace tunora
