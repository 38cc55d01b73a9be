#include "formats/mp4_info.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "formats/mp4_atom.h"
#include "formats/mp4_audio_entry.h"
#include "formats/mp4_item_list.h"
#include "formats/playing_time.h"
#include "formats/tag_block_limit.h"
#include "io/file.h"
#include "text/byte_reader.h"
#include "text/conversions.h"
#include "text/debug_log.h"
#include "trackinfo/cover_size.h"
#include "trackinfo/tag_kind.h"

namespace tunora {
namespace {

// A version-0 track header: 84 bytes after its 8-byte header.
constexpr std::size_t kTrackHeaderContent = 84;
// More than the media header's fields need.
constexpr std::uint64_t kHeaderPrefix = 64;
// The first sample entry with its descriptor, also in QuickTime's larger
// entries.
constexpr std::uint64_t kSampleDescriptionPrefix = 1024;
// Sample sizes are summed a block at a time.
constexpr std::uint64_t kSizesPerRead = 4096;

// The bytes after the header; none for an atom of size 0, which is read as
// nothing at all.
Bytes contentOf(const std::vector<std::uint8_t>& atom, const MP4Atom& header) {
  return atom.size() < header.headerSize ? Bytes{} : Bytes(atom).subspan(header.headerSize);
}

// An audio track has neither width nor height. The two words end the matrix
// and hold the 16.16 width and height; all of them are 0 for sound.
bool isAudioTrackHeader(Bytes content) {
  if (content.size() != kTrackHeaderContent) return false;
  ByteReader reader(content);
  if (!reader.skip(74)) return false;
  const auto matrixEndAndWidth = reader.u32be();
  const auto widthAndHeight = reader.u32be();
  return matrixEndAndWidth == 0u && widthAndHeight == 0u;
}

std::optional<MP4Atom> findAudioTrack(AtomFile& atoms, std::int64_t moovContent) {
  std::int64_t start = moovContent;
  for (;;) {
    const auto trak = atoms.find(start, "trak");
    if (!trak) return std::nullopt;
    const auto tkhd = atoms.find(trak->contentStart(), "tkhd");
    if (!tkhd) return std::nullopt;
    const bool versionZero = tkhd->size == tkhd->headerSize + kTrackHeaderContent;
    const auto header = versionZero ? atoms.read(*tkhd) : std::nullopt;
    if (header && isAudioTrackHeader(contentOf(*header, *tkhd))) return trak;
    if (trak->size == 0) return std::nullopt;
    start = trak->offset + static_cast<std::int64_t>(trak->size);
  }
}

struct MediaTimes {
  std::uint32_t timeScale = 0;
  std::uint64_t duration = 0;
};

// Media header: version and flags, creation and modification times, time
// scale, duration; the times and the duration are 64-bit in version 1.
std::optional<MediaTimes> parseMediaHeader(Bytes content) {
  ByteReader reader(content);
  const auto version = reader.u8();
  if (!version || !reader.skip(3)) return std::nullopt;
  const bool wide = *version == 1;
  if (!reader.skip(wide ? 16 : 8)) return std::nullopt;
  const auto timeScale = reader.u32be();
  std::optional<std::uint64_t> duration;
  if (wide) {
    duration = reader.u64be();
  } else if (const auto narrow = reader.u32be()) {
    duration = *narrow;
  }
  if (!timeScale || !duration) return std::nullopt;
  return MediaTimes{*timeScale, *duration};
}

// The sum of the track's sample sizes ("stsz": version and flags, a size
// shared by every sample or 0, the sample count, then a size per sample when
// they differ). Nothing when the table is missing or not all there.
std::optional<std::uint64_t> audioBytes(AtomFile& atoms, FileBlocks& blocks, const MP4Atom& stbl) {
  const auto stsz = atoms.find(stbl.contentStart(), "stsz");
  if (!stsz || !atoms.holds(*stsz) || stsz->size < stsz->headerSize + 12) return std::nullopt;
  const std::int64_t start = stsz->contentStart();
  const auto header = blocks.read(start, 12);
  if (!header) return std::nullopt;
  ByteReader reader(*header);
  reader.skip(4);
  const std::uint64_t sharedSize = *reader.u32be();
  const std::uint64_t count = *reader.u32be();
  if (sharedSize != 0) return sharedSize * count;
  if (count * 4 > stsz->size - stsz->headerSize - 12) return std::nullopt;
  std::uint64_t total = 0;
  for (std::uint64_t done = 0; done < count;) {
    const std::uint64_t step = std::min(count - done, kSizesPerRead);
    const auto sizes = blocks.read(start + 12 + static_cast<std::int64_t>(done * 4), step * 4);
    if (!sizes) return std::nullopt;
    ByteReader sizeReader(*sizes);
    while (const auto size = sizeReader.u32be()) total += *size;
    done += step;
  }
  return total;
}

// The audio's bytes over the media's duration. Without a sum that the file
// can hold, the whole file over the whole seconds, which counts a cover and
// the other tags along.
std::uint64_t bitsPerSecond(const MediaTimes& times, std::optional<std::uint64_t> audioBytes,
                            std::int64_t fileLength) {
  const auto length = static_cast<std::uint64_t>(fileLength);
  if (times.timeScale == 0 || times.duration == 0) return 0;
  if (audioBytes && *audioBytes != 0 && *audioBytes <= length) {
    // In double: bytes times eight times the time scale may pass 64 bits,
    // and so may the rate of a duration of a few ticks.
    const double rate = static_cast<double>(*audioBytes) * 8.0 * times.timeScale /
                        static_cast<double>(times.duration);
    return rate >= 0x1p63 ? std::uint64_t{1} << 63 : static_cast<std::uint64_t>(rate);
  }
  const std::uint64_t seconds = times.duration / times.timeScale;
  // 64-bit: the size times 8 leaves 32 bits above 512 MiB.
  return seconds == 0 ? 0 : length * 8 / seconds;
}

}  // namespace

ReadResult MP4Info::readFile(const std::u16string& path) {
  track_.fileName = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) return ReadResult::NotOpened;
  FileBlocks blocks(*file, file->size());
  AtomFile atoms(blocks);

  const auto moov = atoms.find(0, "moov");
  if (!moov) return notRecognised("no MP4 movie box found");
  const auto trak = findAudioTrack(atoms, moov->contentStart());
  if (!trak) return notRecognised("no MP4 audio track found");

  // Stream values: time scale and duration, the first sample entry, and the
  // bit rate of the audio alone.
  const auto mdia = atoms.find(trak->contentStart(), "mdia");
  const auto mdhd = mdia ? atoms.find(mdia->contentStart(), "mdhd") : std::nullopt;
  if (mdhd) {
    const auto block = atoms.read(*mdhd, kHeaderPrefix);
    const auto times = block ? parseMediaHeader(contentOf(*block, *mdhd)) : std::nullopt;
    if (times) {
      setSampleRate(times->timeScale);
      setMilliseconds(millisecondsOf(times->duration, times->timeScale));
    }
    const auto minf = atoms.find(mdhd->offset, "minf");
    const auto stbl = minf ? atoms.find(minf->contentStart(), "stbl") : std::nullopt;
    const auto stsd = stbl ? atoms.find(stbl->contentStart(), "stsd") : std::nullopt;
    const auto descriptions = stsd ? atoms.read(*stsd, kSampleDescriptionPrefix) : std::nullopt;
    const auto entry =
        descriptions ? parseAudioSampleDescriptions(contentOf(*descriptions, *stsd)) : std::nullopt;
    if (entry) setChannels(entry->channels);
    if (entry && entry->averageBitrate != 0) {
      setBitsPerSecond(entry->averageBitrate);
    } else if (times) {
      const auto sampleBytes = stbl ? audioBytes(atoms, blocks, *stbl) : std::nullopt;
      setBitsPerSecond(bitsPerSecond(*times, sampleBytes, atoms.length()));
    }
  }

  // Tags: a udta inside the track or right after it; its ilst is usually
  // behind a meta atom's header with version and flags.
  const auto udta = atoms.find(trak->contentStart(), "udta");
  if (!udta) return ReadResult::Read;
  auto ilst = atoms.find(udta->contentStart() + 12, "ilst");
  if (!ilst) {
    const auto meta = atoms.find(udta->contentStart(), "meta");
    if (meta) ilst = atoms.find(meta->contentStart() + 4, "ilst");
  }
  if (!ilst) return ReadResult::Read;
  if (ilst->size > kMaxTagBlockSize || !atoms.holds(*ilst)) {
    debugLog("couldn't fetch ilst-atom\n");
    return ReadResult::Incomplete;
  }
  track_.hasTag = true;
  track_.tagKinds = tagKindName(TagKind::MP4Metadata);
  // Item by item, so that the cover, most of the list, is read only when it
  // is kept.
  bool unread = false;
  MP4ItemList items(ilst->size, [&](std::uint64_t offset, std::uint64_t count) {
    const auto bytes = blocks.read(ilst->offset + static_cast<std::int64_t>(offset), count);
    unread = unread || !bytes;
    return bytes;
  });
  const auto& cover = items.cover();
  if (cover &&
      !takeCover(blocks, ilst->offset + static_cast<std::int64_t>(cover->offset), cover->size))
    unread = true;
  takeTagTexts(std::move(items));
  return unread ? ReadResult::Incomplete : ReadResult::Read;
}

}  // namespace tunora
