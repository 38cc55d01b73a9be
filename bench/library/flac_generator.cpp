// FLAC files as encoders and taggers leave them: STREAMINFO, a seek table,
// the Vorbis comments, a front-cover PICTURE for some, padding, then frames.
#include <algorithm>

#include "container_bytes.h"
#include "library_generator.h"

namespace tunora::bench {
namespace {

constexpr std::uint32_t kSampleRate = 44100;
// About 700 kbit/s, a typical rate for CD audio in FLAC.
constexpr std::uint64_t kBytesPerSecond = 88 * 1024;

void putBlock(ByteVector& out, std::uint8_t type, const ByteVector& body, bool last = false) {
  out.push_back(static_cast<std::uint8_t>(type | (last ? 0x80 : 0)));
  putBigEndian(out, body.size(), 3);
  append(out, body);
}

}  // namespace

// The PICTURE structure, shared with the Ogg generator's embedded picture.
ByteVector flacPicture(const ByteVector& jpeg) {
  ByteVector body;
  putBigEndian(body, 3, 4);  // front cover
  putBigEndian(body, 10, 4);
  appendText(body, "image/jpeg");
  putBigEndian(body, 0, 4);  // no description
  putBigEndian(body, 500, 4);
  putBigEndian(body, 500, 4);
  putBigEndian(body, 24, 4);
  putBigEndian(body, 0, 4);
  putBigEndian(body, jpeg.size(), 4);
  append(body, jpeg);
  return body;
}

ByteVector generateFLAC(const TrackSpec& spec, std::mt19937& random) {
  ByteVector file{'f', 'L', 'a', 'C'};
  const std::uint64_t samples = spec.size * kSampleRate / kBytesPerSecond;
  ByteVector info;
  putBigEndian(info, 4096, 2);
  putBigEndian(info, 4096, 2);
  putBigEndian(info, 1200, 3);
  putBigEndian(info, 14000, 3);
  putBigEndian(
      info,
      std::uint64_t{kSampleRate} << 44 | std::uint64_t{1} << 41 | std::uint64_t{15} << 36 | samples,
      8);
  info.resize(34, 0);  // MD5 left empty
  putBlock(file, 0, info);
  ByteVector seekTable;
  for (std::uint64_t point = 0; point < 10; ++point) {
    putBigEndian(seekTable, point * samples / 10, 8);
    putBigEndian(seekTable, point * spec.size / 10, 8);
    putBigEndian(seekTable, 4096, 2);
  }
  putBlock(file, 3, seekTable);
  putBlock(file, 4, vorbisCommentBlock(spec, nullptr));
  if (spec.withCover) putBlock(file, 6, flacPicture(jpegLikePicture(random, kCoverSize)));
  putBlock(file, 1, ByteVector(4096, 0), true);
  ByteVector frames =
      randomBytes(random, spec.size - std::min<std::uint64_t>(spec.size, file.size()));
  // Frame sync, fixed block size, 4096 samples, 44100 Hz, stereo, 16 bits.
  const ByteVector header{0xFF, 0xF8, 0xC9, 0x18, 0x00};
  std::copy(header.begin(), header.end(), frames.begin());
  append(file, frames);
  return file;
}

}  // namespace tunora::bench
