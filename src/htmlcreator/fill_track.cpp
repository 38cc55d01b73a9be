// One track's values in a copy of a track section.

#include <utility>

#include "htmlcreator/cover_files.h"
#include "htmlcreator/html_creator.h"
#include "htmlcreator/html_escape.h"
#include "htmlcreator/section_markers.h"

namespace tunora {
namespace {

constexpr std::size_t kTrackNumberUnitsExamined = 20;

void fillLines(TextLines& section, std::u16string_view begin, std::u16string_view end,
               std::u16string_view token, bool found, const TextLines* lines) {
  if (!found || lines == nullptr)
    section.removeBlocks(begin, end);
  else
    section.replaceAll(token, joinEscapedWithBreaks(*lines));
}

}  // namespace

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

void HtmlCreator::fillTrack(TextLines& section, MultipleTags& tracks, std::size_t index,
                            PageRun& run) const {
  const TrackValues* track = tracks.track(index);
  if (track == nullptr) return;
  const std::pair<std::u16string_view, std::u16string_view> values[] = {
      {u"<$genre$>", track->genre},
      {u"<$artist$>", track->artist},
      {u"<$album$>", track->album},
      {u"<$songname$>", track->title},
      {u"<$year$>", track->year},
      {u"<$bitrate$>", track->bitrate},
      {u"<$samplerate$>", track->sampleRate},
      {u"<$stereomode$>", track->channels},
      {u"<$presenttags$>", track->presentTags},
      {u"<$tracknr$>", track->trackNumber},
  };
  for (const auto& [token, value] : values) replaceValueToken(section, token, value);
  replaceValueToken(section, u"<$tracknrclean$>", cleanTrackNumber(track->trackNumber));

  fillLines(section, kLyricsBegin, kLyricsEnd, u"<$lyrics$>", track->hasLyrics, track->lyrics);
  fillLines(section, kCommentBegin, kCommentEnd, u"<$comment$>", track->hasComment, track->comment);

  if (section.findLine(kCoverToken) >= 0) {
    CoverRequest request;
    request.tempPath = trackCoverPath(host_, index);
    request.hasPicture = track->hasCover;
    request.musicPath = track->fileName;
    request.artist = track->artist;
    request.album = track->album;
    request.year = track->year;
    request.picture = track->picture;
    fillCover(section, *tracks.trackCover(index), request, run);
  }

  replaceValueToken(section, u"<$filetype$>", track->extension);
  replaceValueToken(section, u"<$filename$>", track->fileName);
  replaceValueToken(section, u"<$shortfilename$>", track->shortFileName);

  run.lastFilled = CoverSearchStart{track->artist, track->album, track->fileName};
  eraseSectionMarkers(section);
}

}  // namespace tunora
