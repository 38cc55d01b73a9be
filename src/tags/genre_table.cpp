#include "tags/genre_table.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "tags/tag_texts.h"
#include "text/ascii_case.h"
#include "trackinfo/track_info.h"

namespace tunora {
namespace {

// Spellings as the players show them, "Psychadelic", "Rhytmic Soul" and
// "Trash Metal" included: pages print them as they stand.
constexpr std::array<std::u16string_view, kGenreCount> kGenreNames{
    u"Blues",
    u"Classic Rock",
    u"Country",
    u"Dance",
    u"Disco",
    u"Funk",
    u"Grunge",
    u"Hip-Hop",
    u"Jazz",
    u"Metal",
    u"New Age",
    u"Oldies",
    u"Other",
    u"Pop",
    u"R&B",
    u"Rap",
    u"Reggae",
    u"Rock",
    u"Techno",
    u"Industrial",
    u"Alternative",
    u"Ska",
    u"Death Metal",
    u"Pranks",
    u"Soundtrack",
    u"Euro-Techno",
    u"Ambient",
    u"Trip-Hop",
    u"Vocal",
    u"Jazz+Funk",
    u"Fusion",
    u"Trance",
    u"Classical",
    u"Instrumental",
    u"Acid",
    u"House",
    u"Game",
    u"Sound Clip",
    u"Gospel",
    u"Noise",
    u"AlternRock",
    u"Bass",
    u"Soul",
    u"Punk",
    u"Space",
    u"Meditative",
    u"Instrumental Pop",
    u"Instrumental Rock",
    u"Ethnic",
    u"Gothic",
    u"Darkwave",
    u"Techno-Industrial",
    u"Electronic",
    u"Pop-Folk",
    u"Eurodance",
    u"Dream",
    u"Southern Rock",
    u"Comedy",
    u"Cult",
    u"Gangsta",
    u"Top 40",
    u"Christian Rap",
    u"Pop/Funk",
    u"Jungle",
    u"Native American",
    u"Cabaret",
    u"New Wave",
    u"Psychadelic",
    u"Rave",
    u"Showtunes",
    u"Trailer",
    u"Lo-Fi",
    u"Tribal",
    u"Acid Punk",
    u"Acid Jazz",
    u"Polka",
    u"Retro",
    u"Musical",
    u"Rock & Roll",
    u"Hard Rock",
    u"Folk",
    u"Folk/Rock",
    u"National Folk",
    u"Swing",
    u"Fast-Fusion",
    u"Bebob",
    u"Latin",
    u"Revival",
    u"Celtic",
    u"Bluegrass",
    u"Avantgarde",
    u"Gothic Rock",
    u"Progressive Rock",
    u"Psychedelic Rock",
    u"Symphonic Rock",
    u"Slow Rock",
    u"Big Band",
    u"Chorus",
    u"Easy Listening",
    u"Acoustic",
    u"Humour",
    u"Speech",
    u"Chanson",
    u"Opera",
    u"Chamber Music",
    u"Sonata",
    u"Symphony",
    u"Booty Bass",
    u"Primus",
    u"Porn Groove",
    u"Satire",
    u"Slow Jam",
    u"Club",
    u"Tango",
    u"Samba",
    u"Folklore",
    u"Ballad",
    u"Power Ballad",
    u"Rhytmic Soul",
    u"Freestyle",
    u"Duet",
    u"Punk Rock",
    u"Drum Solo",
    u"Acapella",
    u"Euro-House",
    u"Dance Hall",
    u"Goa",
    u"Drum & Bass",
    u"Club-House",
    u"Hardcore",
    u"Terror",
    u"Indie",
    u"BritPop",
    u"Negerpunk",
    u"Polsk Punk",
    u"Beat",
    u"Christian Gangsta Rap",
    u"Heavy Metal",
    u"Black Metal",
    u"Crossover",
    u"Contemporary Christian",
    u"Christian Rock",
    u"Merengue",
    u"Salsa",
    u"Trash Metal",
    u"Anime",
    u"JPop",
    u"SynthPop",
};

}  // namespace

std::u16string_view genreName(std::uint32_t number) {
  return number < kGenreNames.size() ? kGenreNames[number] : kUnknown;
}

namespace {

bool isDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// The genre a reference names: a number of digits only, "RX" or "CR".
std::optional<std::u16string> referencedGenre(std::u16string_view reference) {
  const auto lower = toLowerAscii(reference);
  if (lower == u"rx") return u"Remix";
  if (lower == u"cr") return u"Cover";
  if (reference.empty() || !std::all_of(reference.begin(), reference.end(), isDigit))
    return std::nullopt;
  // Unsigned arithmetic keeps the low 8 bits through any overflow.
  std::uint32_t number = 0;
  for (const char16_t c : reference) number = number * 10 + (c - u'0');
  return std::u16string(genreName(number & 0xFF));
}

}  // namespace

std::u16string resolveGenre(std::u16string_view text) {
  std::vector<std::u16string> names;
  std::size_t position = 0;
  while (position < text.size() && text[position] == u'(') {
    const auto close = text.find(u')', position);
    if (close == text.npos) break;
    auto name = referencedGenre(text.substr(position + 1, close - position - 1));
    if (!name) break;
    names.push_back(std::move(*name));
    position = close + 1;
  }
  if (names.empty()) return referencedGenre(text).value_or(std::u16string(text));
  if (position < text.size()) return std::u16string(text.substr(position));
  return joinValues(names);
}

}  // namespace tunora
