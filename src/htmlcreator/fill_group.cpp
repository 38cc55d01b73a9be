// The summaries of all tracks in a group section.

#include <utility>

#include "htmlcreator/cover_files.h"
#include "htmlcreator/html_creator.h"
#include "htmlcreator/html_escape.h"
#include "htmlcreator/section_markers.h"

namespace tunora {

void HtmlCreator::fillGroup(TextLines& section, MultipleTags& tracks, PageRun& run) const {
  const std::u16string artist = tracks.groupArtist();
  const std::u16string album = tracks.groupAlbum();
  const std::u16string year = tracks.groupYear();
  const std::pair<std::u16string_view, std::u16string> values[] = {
      {u"<$genre$>", tracks.groupGenre()},
      {u"<$artist$>", artist},
      {u"<$album$>", album},
      {u"<$year$>", year},
      {u"<$bitrate$>", tracks.groupBitrate()},
      {u"<$samplerate$>", tracks.groupSampleRate()},
      {u"<$stereomode$>", tracks.groupChannels()},
      {u"<$presenttags$>", tracks.groupPresentTags()},
      {u"<$filetype$>", tracks.groupFileTypes()},
  };
  for (const auto& [token, value] : values) replaceValueToken(section, token, value);

  const TextLines* comment = tracks.firstComment();
  if (comment == nullptr)
    section.removeBlocks(kCommentBegin, kCommentEnd);
  else
    section.replaceAll(u"<$comment$>", joinEscapedWithBreaks(*comment));
  // The group has no lyrics of its own: the section stays for the track
  // sections inside it when any track has lyrics.
  if (!tracks.anyLyrics()) section.removeBlocks(kLyricsBegin, kLyricsEnd);

  if (section.findLine(kCoverToken) >= 0) {
    CoverRequest request;
    request.tempPath = groupCoverPath(host_);
    request.hasPicture = tracks.anyCover();
    if (const TrackValues* first = tracks.track(0)) request.musicPath = first->fileName;
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
  else if (const TrackValues* first = tracks.track(0))
    fileName = first->fileName;
  run.lastFilled = CoverSearchStart{artist, album, std::move(fileName)};
}

}  // namespace tunora
