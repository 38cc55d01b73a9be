// MP3 files as taggers and encoders leave them: an ID3v2.3 tag with the text
// frames, a comment, a front cover for some and padding; MPEG-1 Layer III
// frames at 128 kbit/s and 44100 Hz, the first one carrying a Xing header
// for variable-rate files; an ID3v1 tag at the end of some.
#include <algorithm>

#include "library_generator.h"

namespace tunora::bench {
namespace {

constexpr std::size_t kFrameSize = 417;  // 144 * 128000 / 44100
constexpr std::uint32_t kPadding = 1024;

void putBE32(ByteVector& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putFrame(ByteVector& out, std::string_view id, const ByteVector& body) {
  for (const char c : id) out.push_back(static_cast<std::uint8_t>(c));
  putBE32(out, static_cast<std::uint32_t>(body.size()));
  out.push_back(0);  // status flags
  out.push_back(0);  // format flags
  out.resize(out.size() + body.size());
  std::copy(body.begin(), body.end(), out.end() - static_cast<std::ptrdiff_t>(body.size()));
}

// The encoding byte (ISO-8859-1), a prefix such as a language, then the text.
ByteVector latin1Body(std::string_view text, std::string_view prefix = {}) {
  ByteVector body(1 + prefix.size() + text.size(), 0);
  std::copy(prefix.begin(), prefix.end(), body.begin() + 1);
  std::copy(text.begin(), text.end(),
            body.begin() + 1 + static_cast<std::ptrdiff_t>(prefix.size()));
  return body;
}

ByteVector id3v2Tag(const TrackSpec& spec, std::mt19937& random) {
  ByteVector frames;
  putFrame(frames, "TIT2", latin1Body(spec.title));
  putFrame(frames, "TPE1", latin1Body(spec.artist));
  putFrame(frames, "TALB", latin1Body(spec.album));
  putFrame(frames, "TYER", latin1Body(spec.year));
  putFrame(frames, "TRCK", latin1Body(spec.track));
  putFrame(frames, "TCON", latin1Body("(" + spec.genre + ")"));
  putFrame(frames, "COMM", latin1Body(spec.comment, std::string_view("eng", 4)));
  if (spec.withCover) {
    // MIME type, its NUL, picture type 3 (front cover), empty description.
    const auto picture = jpegLikePicture(random, kCoverSize);
    const std::string_view picturePrefix("image/jpeg\0\3\0", 13);
    putFrame(
        frames, "APIC",
        latin1Body(std::string_view(reinterpret_cast<const char*>(picture.data()), picture.size()),
                   picturePrefix));
  }
  const auto size = static_cast<std::uint32_t>(frames.size()) + kPadding;
  ByteVector tag{'I', 'D', '3', 3, 0, 0};
  for (int shift = 21; shift >= 0; shift -= 7)
    tag.push_back(static_cast<std::uint8_t>(size >> shift & 0x7F));
  tag.insert(tag.end(), frames.begin(), frames.end());
  tag.resize(tag.size() + kPadding, 0);
  return tag;
}

ByteVector id3v1Tag(const TrackSpec& spec) {
  ByteVector tag(128, 0);
  const auto put = [&](std::size_t offset, std::string_view text, std::size_t width) {
    std::copy_n(text.begin(), std::min(text.size(), width), tag.begin() + offset);
  };
  put(0, "TAG", 3);
  put(3, spec.title, 30);
  put(33, spec.artist, 30);
  put(63, spec.album, 30);
  put(93, spec.year, 4);
  tag[126] = 1;
  tag[127] = 17;
  return tag;
}

}  // namespace

ByteVector generateMP3(const TrackSpec& spec, std::mt19937& random) {
  ByteVector file = id3v2Tag(spec, random);
  const std::size_t frames = std::max<std::size_t>(
      2, (spec.size - std::min<std::uint64_t>(spec.size, file.size())) / kFrameSize);
  ByteVector audio = randomBytes(random, frames * kFrameSize);
  for (std::size_t frame = 0; frame < frames; ++frame) {
    auto* header = audio.data() + frame * kFrameSize;
    header[0] = 0xFF;
    header[1] = 0xFB;
    header[2] = 0x90;
    header[3] = 0x64;
  }
  if (spec.variableRate) {
    // A Xing header in the first frame: flags for frame and byte counts.
    std::fill_n(audio.begin() + 4, 32, 0);
    ByteVector xing{'X', 'i', 'n', 'g', 0, 0, 0, 3};
    putBE32(xing, static_cast<std::uint32_t>(frames));
    putBE32(xing, static_cast<std::uint32_t>(audio.size()));
    std::copy(xing.begin(), xing.end(), audio.begin() + 36);
  }
  file.insert(file.end(), audio.begin(), audio.end());
  if (spec.withTrailingTag) {
    const auto tag = id3v1Tag(spec);
    file.insert(file.end(), tag.begin(), tag.end());
  }
  return file;
}

}  // namespace tunora::bench
