// TagLib reading the values `tunora tags` prints, for the whole-program
// benchmark: the basic tag, the audio properties, the comment, the lyrics and
// the size of the cover picture, printed as one line per file.
#include <attachedpictureframe.h>
#include <fileref.h>
#include <flacfile.h>
#include <id3v2tag.h>
#include <mp4file.h>
#include <mp4tag.h>
#include <mpegfile.h>
#include <tag.h>
#include <tpropertymap.h>

#include <cstdio>

namespace {

unsigned coverBytes(TagLib::File* file) {
  if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
    auto* tag = mpeg->ID3v2Tag(false);
    if (!tag) return 0;
    for (auto* frame : tag->frameList("APIC"))
      if (auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame))
        return picture->picture().size();
  }
  if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
    auto* tag = mp4->tag();
    if (!tag || !tag->contains("covr")) return 0;
    const auto covers = tag->item("covr").toCoverArtList();
    if (!covers.isEmpty()) return covers.front().data().size();
  }
  if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
    const auto pictures = flac->pictureList();
    if (!pictures.isEmpty()) return pictures.front()->data().size();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    TagLib::FileRef ref(argv[i], true, TagLib::AudioProperties::Average);
    if (ref.isNull()) {
      std::printf("%s: unreadable\n", argv[i]);
      continue;
    }
    const TagLib::Tag* tag = ref.tag();
    const auto* properties = ref.audioProperties();
    const auto lyrics = ref.file()->properties()["LYRICS"].toString();
    std::printf("%s\t%s\t%s\t%s\t%u\t%s\t%u\t%s\t%s\t%d\t%d\t%d\t%u\n", argv[i],
                tag->artist().toCString(true), tag->album().toCString(true),
                tag->title().toCString(true), tag->year(), tag->genre().toCString(true),
                tag->track(), tag->comment().toCString(true), lyrics.toCString(true),
                properties ? properties->bitrate() : 0, properties ? properties->sampleRate() : 0,
                properties ? properties->channels() : 0, coverBytes(ref.file()));
  }
  return 0;
}
