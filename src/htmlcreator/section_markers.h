#pragma once
// Markers and tokens shared by the track and group filling.

#include <array>
#include <string_view>

#include "text/ascii_case.h"
#include "text/text_lines.h"
#include "trackinfo/track.h"

namespace tunora {

inline constexpr std::u16string_view kLyricsBegin = u"<$lyricsbegin$>";
inline constexpr std::u16string_view kLyricsEnd = u"<$lyricsend$>";
inline constexpr std::u16string_view kCommentBegin = u"<$commentbegin$>";
inline constexpr std::u16string_view kCommentEnd = u"<$commentend$>";
inline constexpr std::u16string_view kCoverBegin = u"<$coverbegin$>";
inline constexpr std::u16string_view kCoverEnd = u"<$coverend$>";
inline constexpr std::u16string_view kAlbumArtistBegin = u"<$albumartistbegin$>";
inline constexpr std::u16string_view kAlbumArtistEnd = u"<$albumartistend$>";
inline constexpr std::u16string_view kCoverToken = u"<$cover$>";
inline constexpr std::u16string_view kCoverWidth = u"<$coverwidth$>";
inline constexpr std::u16string_view kCoverHeight = u"<$coverheight$>";

// The album artist's section says something only where the album artist is
// known and is not the artist (letter case ignored), as on a compilation.
inline void fillAlbumArtistSection(TextLines& section, std::u16string_view albumArtist,
                                   std::u16string_view artist) {
  if (albumArtist == kUnknown || equalIgnoringAsciiCase(albumArtist, artist))
    section.removeBlocks(kAlbumArtistBegin, kAlbumArtistEnd);
}

// The markers of the kept sections are erased once a section is filled.
inline void eraseSectionMarkers(TextLines& section) {
  for (const auto marker : {kLyricsBegin, kLyricsEnd, kCoverBegin, kCoverEnd, kCommentBegin,
                            kCommentEnd, kAlbumArtistBegin, kAlbumArtistEnd})
    section.replaceAll(marker, u"");
}

}  // namespace tunora
