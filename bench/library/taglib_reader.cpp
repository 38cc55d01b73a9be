// TagLib reads the same values as Tunora: the basic tag, the audio
// properties, the comment and the bytes of the cover picture.
#include <attachedpictureframe.h>
#include <fileref.h>
#include <id3v2tag.h>
#include <mp4file.h>
#include <mp4tag.h>
#include <mpegfile.h>
#include <tag.h>

#include "library_readers.h"

namespace tunora::bench {
namespace {

std::uint64_t sumOf(const TagLib::String& text) {
  std::uint64_t sum = 0;
  for (const auto c : text) sum += static_cast<std::uint64_t>(c);
  return sum;
}

// The cover bytes, by the file's own tag type; other formats add theirs here.
std::uint64_t coverBytes(TagLib::File* file) {
  if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
    auto* tag = mpeg->ID3v2Tag(false);
    if (!tag) return 0;
    for (auto* frame : tag->frameList("APIC")) {
      auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
      if (picture) return picture->picture().size();
    }
  }
  if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
    auto* tag = mp4->tag();
    if (!tag || !tag->contains("covr")) return 0;
    const auto covers = tag->item("covr").toCoverArtList();
    if (!covers.isEmpty()) return covers.front().data().size();
  }
  return 0;
}

}  // namespace

ReadTotals readWithTagLib(const std::vector<std::string>& files) {
  ReadTotals totals;
  for (const auto& name : files) {
    TagLib::FileRef ref(name.c_str(), true, TagLib::AudioProperties::Fast);
    if (ref.isNull()) continue;
    ++totals.files;
    if (const auto* tag = ref.tag()) {
      if (!tag->title().isEmpty()) ++totals.titled;
      totals.checksum += sumOf(tag->title()) + sumOf(tag->artist()) + sumOf(tag->album()) +
                         sumOf(tag->genre()) + sumOf(tag->comment()) + tag->year() + tag->track();
    }
    if (const auto* properties = ref.audioProperties())
      totals.checksum += properties->bitrate() + properties->sampleRate() + properties->channels();
    if (const auto bytes = coverBytes(ref.file())) {
      ++totals.covered;
      totals.coverBytes += bytes;
    }
  }
  return totals;
}

}  // namespace tunora::bench
