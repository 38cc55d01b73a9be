#pragma once
// Markers and tokens shared by the track and group filling.

#include <array>
#include <string_view>

#include "text/text_lines.h"

namespace tunora {

inline constexpr std::u16string_view kLyricsBegin = u"<$lyricsbegin$>";
inline constexpr std::u16string_view kLyricsEnd = u"<$lyricsend$>";
inline constexpr std::u16string_view kCommentBegin = u"<$commentbegin$>";
inline constexpr std::u16string_view kCommentEnd = u"<$commentend$>";
inline constexpr std::u16string_view kCoverBegin = u"<$coverbegin$>";
inline constexpr std::u16string_view kCoverEnd = u"<$coverend$>";
inline constexpr std::u16string_view kCoverToken = u"<$cover$>";
inline constexpr std::u16string_view kCoverWidth = u"<$coverwidth$>";
inline constexpr std::u16string_view kCoverHeight = u"<$coverheight$>";

// The markers of the kept sections are erased once a section is filled.
inline void eraseSectionMarkers(TextLines& section) {
  for (const auto marker :
       {kLyricsBegin, kLyricsEnd, kCoverBegin, kCoverEnd, kCommentBegin, kCommentEnd})
    section.replaceAll(marker, u"");
}

}  // namespace tunora
