// M4A files as iTunes and ffmpeg leave them: AAC in one audio track with its
// sample tables, the iTunes metadata list (with a cover for some) in
// moov/udta/meta, the media data before or after moov.
#include "container_bytes.h"
#include "library_generator.h"

namespace tunora::bench {
namespace {

constexpr std::uint32_t kSampleRate = 44100;
constexpr std::size_t kFrameBytes = 371;  // 128 kbit/s, 1024 samples a frame

ByteVector atom(std::string_view type, const ByteVector& body) {
  ByteVector out;
  putBigEndian(out, body.size() + 8, 4);
  appendText(out, type);
  append(out, body);
  return out;
}

ByteVector fullAtom(std::string_view type, const ByteVector& body) {
  ByteVector withVersion(4, 0);
  append(withVersion, body);
  return atom(type, withVersion);
}

ByteVector dataItem(std::string_view type, std::uint32_t kind, const ByteVector& payload) {
  ByteVector data;
  putBigEndian(data, kind, 4);
  putBigEndian(data, 0, 4);
  append(data, payload);
  return atom(type, atom("data", data));
}

ByteVector textItem(std::string_view type, std::string_view text) {
  return dataItem(type, 1, ByteVector(text.begin(), text.end()));
}

ByteVector metadata(const TrackSpec& spec, const ByteVector& cover) {
  ByteVector items;
  append(items, textItem("\251nam", spec.title));
  append(items, textItem("\251ART", spec.artist));
  append(items, textItem("\251alb", spec.album));
  append(items, textItem("\251day", spec.year));
  append(items, textItem("\251cmt", spec.comment));
  ByteVector pair(8, 0);
  pair[3] = static_cast<std::uint8_t>(std::stoi(spec.track));
  pair[5] = 14;
  append(items, dataItem("trkn", 0, pair));
  append(items, dataItem("gnre", 0, {0, static_cast<std::uint8_t>(std::stoi(spec.genre) + 1)}));
  if (!cover.empty()) append(items, dataItem("covr", 13, cover));
  ByteVector handler(8, 0);
  appendText(handler, "mdirappl");
  handler.resize(handler.size() + 9, 0);
  ByteVector meta = fullAtom("hdlr", handler);
  append(meta, atom("ilst", items));
  return atom("udta", fullAtom("meta", meta));
}

ByteVector audioTrack(std::size_t frames, std::uint64_t mediaOffset) {
  // Version and flags (enabled, in movie, in preview), times, track id,
  // reserved, duration; reserved, layer, group, volume; matrix; no picture size.
  ByteVector header{0, 0, 0, 7};
  putBigEndian(header, 0, 8);
  putBigEndian(header, 1, 4);
  putBigEndian(header, 0, 4);
  putBigEndian(header, frames * 1024 * 1000 / kSampleRate, 4);
  putBigEndian(header, 0, 12);
  putBigEndian(header, 0x01000000, 4);
  for (const std::uint32_t value : {0x10000u, 0u, 0u, 0u, 0x10000u, 0u, 0u, 0u, 0x40000000u})
    putBigEndian(header, value, 4);
  putBigEndian(header, 0, 8);
  ByteVector mdhd;
  putBigEndian(mdhd, 0, 8);
  putBigEndian(mdhd, kSampleRate, 4);
  putBigEndian(mdhd, frames * 1024, 4);
  putBigEndian(mdhd, 0x55C40000, 4);
  ByteVector handler(4, 0);
  appendText(handler, "soun");
  handler.resize(handler.size() + 13, 0);

  ByteVector entry(6, 0);
  putBigEndian(entry, 1, 2);   // data reference index
  putBigEndian(entry, 0, 8);   // version, revision, vendor
  putBigEndian(entry, 2, 2);   // channels
  putBigEndian(entry, 16, 2);  // sample size
  putBigEndian(entry, 0, 4);   // compression id, packet size
  putBigEndian(entry, std::uint64_t{kSampleRate} << 16, 4);
  // Elementary stream descriptor: AAC LC, 128 kbit/s, 44100 Hz stereo.
  const ByteVector esds{0x03, 0x19, 0x00, 0x01, 0x00, 0x04, 0x11, 0x40, 0x15,
                        0x00, 0x06, 0x00, 0x00, 0x01, 0xF4, 0x00, 0x00, 0x01,
                        0xF4, 0x00, 0x05, 0x02, 0x12, 0x10, 0x06, 0x01, 0x02};
  append(entry, fullAtom("esds", esds));
  ByteVector descriptions;
  putBigEndian(descriptions, 1, 4);
  append(descriptions, atom("mp4a", entry));

  ByteVector times;  // one run of frames of 1024 samples
  putBigEndian(times, 1, 4);
  putBigEndian(times, frames, 4);
  putBigEndian(times, 1024, 4);
  ByteVector chunks;  // one chunk holding every frame
  putBigEndian(chunks, 1, 4);
  putBigEndian(chunks, 1, 4);
  putBigEndian(chunks, frames, 4);
  putBigEndian(chunks, 1, 4);
  ByteVector sizes;
  putBigEndian(sizes, 0, 4);
  putBigEndian(sizes, frames, 4);
  for (std::size_t i = 0; i < frames; ++i) putBigEndian(sizes, kFrameBytes, 4);
  ByteVector offsets;
  putBigEndian(offsets, 1, 4);
  putBigEndian(offsets, mediaOffset, 4);

  ByteVector table = fullAtom("stsd", descriptions);
  append(table, fullAtom("stts", times));
  append(table, fullAtom("stsc", chunks));
  append(table, fullAtom("stsz", sizes));
  append(table, fullAtom("stco", offsets));
  ByteVector info = fullAtom("smhd", ByteVector(4, 0));
  append(info,
         atom("dinf", fullAtom("dref", {0, 0, 0, 1, 0, 0, 0, 12, 'u', 'r', 'l', ' ', 0, 0, 0, 1})));
  append(info, atom("stbl", table));
  ByteVector media = fullAtom("mdhd", mdhd);
  append(media, fullAtom("hdlr", handler));
  append(media, atom("minf", info));
  ByteVector track = atom("tkhd", header);
  append(track, atom("mdia", media));
  return atom("trak", track);
}

ByteVector movie(const TrackSpec& spec, const ByteVector& cover, std::size_t frames,
                 std::uint64_t mediaOffset) {
  ByteVector header(12, 0);
  putBigEndian(header, 1000, 4);
  putBigEndian(header, frames * 1024 * 1000 / kSampleRate, 4);
  putBigEndian(header, 0x00010000, 4);
  header.resize(header.size() + 80, 0);
  putBigEndian(header, 2, 4);
  ByteVector body = fullAtom("mvhd", header);
  append(body, audioTrack(frames, mediaOffset));
  append(body, metadata(spec, cover));
  return atom("moov", body);
}

}  // namespace

ByteVector generateM4A(const TrackSpec& spec, std::mt19937& random) {
  ByteVector file =
      atom("ftyp", {'M', '4', 'A', ' ', 0, 0, 0, 0, 'M', '4', 'A', ' ', 'i', 's', 'o', 'm'});
  const std::size_t frames = std::max<std::size_t>(1, spec.size / (kFrameBytes + 4));
  const ByteVector cover = spec.withCover ? jpegLikePicture(random, kCoverSize) : ByteVector{};
  const ByteVector media = randomBytes(random, frames * kFrameBytes);
  // Half the files have moov first (iTunes, "faststart"), half after the media.
  if (spec.variableRate) {
    const std::uint64_t movieSize = movie(spec, cover, frames, 0).size();
    append(file, movie(spec, cover, frames, file.size() + movieSize + 8));
    append(file, atom("mdat", media));
  } else {
    const std::uint64_t mediaOffset = file.size() + 8;
    append(file, atom("mdat", media));
    append(file, movie(spec, cover, frames, mediaOffset));
  }
  return file;
}

}  // namespace tunora::bench
