// One track's values in a copy of a track section.

#include <optional>
#include <utility>

#include "htmlcreator/cover_files.h"
#include "htmlcreator/html_creator.h"
#include "htmlcreator/html_escape.h"
#include "htmlcreator/section_markers.h"

namespace tunora {
namespace {

void fillLines(TextLines& section, std::u16string_view begin, std::u16string_view end,
               std::u16string_view token, bool found, const std::optional<TextLines>& lines) {
  if (!found || !lines)
    section.removeBlocks(begin, end);
  else
    section.replaceAll(token, joinEscapedWithBreaks(*lines));
}

}  // namespace

void HtmlCreator::fillTrack(TextLines& section, MultipleTags& tracks, std::size_t index,
                            PageRun& run) const {
  const PageTrack* entry = tracks.track(index);
  if (entry == nullptr) return;
  const Track& track = entry->values;
  fillAlbumArtistSection(section, shownText(track.albumArtist), shownText(track.artist));
  std::u16string scratch;
  for (const TrackField& field : trackFields())
    if (field.text != nullptr && !field.token.empty())
      replaceValueToken(section, field.token, field.text(track, scratch));

  fillLines(section, kLyricsBegin, kLyricsEnd, u"<$lyrics$>", track.hasLyrics, track.lyrics);
  fillLines(section, kCommentBegin, kCommentEnd, u"<$comment$>", track.hasComment, track.comment);

  const std::u16string artist = shownText(track.artist);
  const std::u16string album = shownText(track.album);
  if (section.findLine(kCoverToken) >= 0) {
    const std::u16string year = shownText(track.year);
    CoverRequest request;
    request.tempPath = trackCoverPath(host_, index);
    request.hasPicture = track.hasCover;
    request.musicPath = track.fileName;
    request.artist = artist;
    request.album = album;
    request.year = year;
    request.picture = entry->picture;
    fillCover(section, *tracks.trackCover(index), request, run);
  }

  run.lastFilled = CoverSearchStart{artist, album, track.fileName};
  eraseSectionMarkers(section);
}

}  // namespace tunora
