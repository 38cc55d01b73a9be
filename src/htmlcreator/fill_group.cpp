// The summaries of all tracks in a group section.

#include <utility>

#include "htmlcreator/cover_files.h"
#include "htmlcreator/html_creator.h"
#include "htmlcreator/html_escape.h"
#include "htmlcreator/section_markers.h"

namespace tunora {

void HtmlCreator::fillGroup(TextLines& section, MultipleTags& tracks, PageRun& run) const {
  fillAlbumArtistSection(section, tracks.summary("albumartist"), tracks.summary("artist"));
  for (const TrackField& field : trackFields())
    if (field.group != GroupRule::None)
      replaceValueToken(section, field.token, tracks.summary(field));
  const std::u16string artist = tracks.summary("artist");
  const std::u16string album = tracks.summary("album");

  const TextLines* comment = tracks.firstComment();
  if (comment == nullptr)
    section.removeBlocks(kCommentBegin, kCommentEnd);
  else
    section.replaceAll(u"<$comment$>", joinEscapedWithBreaks(*comment));
  // The group has no lyrics of its own: the section stays for the track
  // sections inside it when any track has lyrics.
  if (!tracks.anyLyrics()) section.removeBlocks(kLyricsBegin, kLyricsEnd);

  if (section.findLine(kCoverToken) >= 0) {
    const std::u16string year = tracks.summary("year");
    CoverRequest request;
    request.tempPath = groupCoverPath(host_);
    request.hasPicture = tracks.anyCover();
    if (const PageTrack* first = tracks.track(0)) request.musicPath = first->values.fileName;
    request.artist = artist;
    request.album = album;
    request.year = year;
    request.picture = tracks.groupPicture();
    fillCover(section, tracks.groupCover(), request, run);
  }

  eraseSectionMarkers(section);
  // The file name stays that of the track filled last; before any track of
  // the page it is the first track's, whose folder the group cover came from.
  std::u16string fileName{kUnknown};
  if (run.lastFilled)
    fileName = run.lastFilled->fileName;
  else if (const PageTrack* first = tracks.track(0))
    fileName = first->values.fileName;
  run.lastFilled = CoverSearchStart{artist, album, std::move(fileName)};
}

}  // namespace tunora
