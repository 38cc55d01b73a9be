#pragma once
// The plain texts that WAV and AIFF files keep in chunks of their own: the
// items of a RIFF LIST/INFO chunk, AIFF's NAME, AUTH and ANNO chunks.

#include "tags/tag_texts.h"
#include "text/byte_reader.h"

namespace tunora {

class ChunkTexts : public TagTexts {
 public:
  enum class Field { Title, Artist, Album, Year, Genre, Track, Comment };

  // The chunk's text (up to its first NUL, UTF-8 or else Latin-1) as the
  // field's value; an empty text leaves the field as it is. A later chunk of
  // the same field replaces an earlier one; comments are joined.
  void take(Field field, Bytes body);

  // The items of a LIST chunk of type INFO, given its body after the type:
  // INAM, IART, IPRD, ICRD, IGNR, ITRK (or IPRT, where ffmpeg puts the track)
  // and ICMT; the others are skipped.
  void takeRiffInfo(Bytes items);
};

}  // namespace tunora
