#include "container_bytes.h"

namespace tunora::bench {

ByteVector vorbisCommentBlock(const TrackSpec& spec, const ByteVector* base64Picture) {
  std::vector<std::string> entries{"TITLE=" + spec.title,       "ARTIST=" + spec.artist,
                                   "ALBUM=" + spec.album,       "DATE=" + spec.year,
                                   "TRACKNUMBER=" + spec.track, "GENRE=Rock",
                                   "COMMENT=" + spec.comment,   "ENCODER=tunora bench"};
  ByteVector block;
  const std::string_view vendor = "Xiph.Org libVorbis I 20200704 (Reducing Environment)";
  putLittleEndian(block, vendor.size(), 4);
  appendText(block, vendor);
  putLittleEndian(block, entries.size() + (base64Picture ? 1 : 0), 4);
  for (const auto& entry : entries) {
    putLittleEndian(block, entry.size(), 4);
    appendText(block, entry);
  }
  if (base64Picture) {
    const std::string_view key = "METADATA_BLOCK_PICTURE=";
    putLittleEndian(block, key.size() + base64Picture->size(), 4);
    appendText(block, key);
    append(block, *base64Picture);
  }
  return block;
}

}  // namespace tunora::bench
