#include "formats/asf_info.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "formats/asf_attributes.h"
#include "formats/tag_block_limit.h"
#include "io/file.h"
#include "trackinfo/tag_kind.h"

namespace tunora {
namespace {

using Guid = std::array<std::uint8_t, 16>;

constexpr std::uint8_t hexValue(char c) {
  return static_cast<std::uint8_t>(c <= '9' ? c - '0' : c - 'A' + 10);
}

// A GUID from its usual text form into the order ASF stores it: the first
// three groups little-endian, the last two as written.
consteval Guid guid(std::string_view text) {
  constexpr std::array<std::size_t, 16> kTextPosition{6,  4,  2,  0,  11, 9,  16, 14,
                                                      19, 21, 24, 26, 28, 30, 32, 34};
  Guid bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::size_t at = kTextPosition[i];
    bytes[i] = static_cast<std::uint8_t>(hexValue(text[at]) << 4 | hexValue(text[at + 1]));
  }
  return bytes;
}

constexpr Guid kHeaderObject = guid("75B22630-668E-11CF-A6D9-00AA0062CE6C");
constexpr Guid kFileProperties = guid("8CABDCA1-A947-11CF-8EE4-00C00C205365");
constexpr Guid kStreamProperties = guid("B7DC0791-A9B7-11CF-8EE6-00C00C205365");
constexpr Guid kAudioMedia = guid("F8699E40-5B4D-11CF-A8FD-00805F5C442B");
constexpr Guid kContentDescription = guid("75B22633-668E-11CF-A6D9-00AA0062CE6C");
constexpr Guid kExtendedContentDescription = guid("D2D0A440-E307-11D2-97F0-00A0C95EA850");
constexpr Guid kHeaderExtension = guid("5FBF03B5-A92E-11CF-8EE3-00C00C205365");
constexpr Guid kMetadata = guid("C5F8CBEA-5BAF-4877-8467-AA8C44FA4CCA");
constexpr Guid kMetadataLibrary = guid("44231C94-9498-49D1-A141-1D134E457054");

// GUID and 64-bit size, which counts these 24 bytes.
constexpr std::size_t kObjectHeaderSize = 24;
// The Header Object adds an object count and two reserved bytes.
constexpr std::size_t kHeaderObjectSize = 30;

bool is(Bytes bytes, const Guid& id) {
  return bytes.size() >= id.size() && std::equal(id.begin(), id.end(), bytes.begin());
}

}  // namespace

ReadResult ASFInfo::readFile(const std::u16string& path) {
  track_.fileName = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) return ReadResult::NotOpened;
  FileBlocks blocks(*file, file->size());
  const auto start = blocks.read(0, kHeaderObjectSize);
  if (!start || !is(*start, kHeaderObject)) return notRecognised("no ASF Header Object found");
  ByteReader sizeField{start->subspan(16)};
  const std::uint64_t headerSize = sizeField.u64le().value_or(0);
  // A header that claims more than the file holds is read as far as it goes.
  const auto available = static_cast<std::uint64_t>(blocks.length());
  const std::uint64_t readSize = std::min({headerSize, available, kMaxTagBlockSize});
  const auto header = readSize > kHeaderObjectSize ? blocks.read(0, readSize) : std::nullopt;
  ASFAttributes attributes;
  bool audioSeen = false;
  if (header) readObjects(header->subspan(kHeaderObjectSize), attributes, audioSeen);
  attributes.finish();
  track_.hasTag = attributes.isPresent();
  if (attributes.isPresent()) {
    if (attributes.picture()) takeCover(*attributes.picture());
    takeTagTexts(std::move(attributes));
    const std::array present{TagKind::ASFAttributes};
    track_.tagKinds = presentTagsText(present);
  } else {
    track_.tagKinds = presentTagsText({});
  }
  warnIfNothingFound("no ASF audio stream or attributes found");
  return file->close() ? ReadResult::Read : ReadResult::Incomplete;
}

void ASFInfo::readObjects(Bytes objects, ASFAttributes& attributes, bool& audioSeen,
                          bool inExtension) {
  ByteReader reader{objects};
  // The extension's Metadata objects are read last: taggers put the values
  // that the description objects cannot hold there, after those.
  std::optional<Bytes> extension;
  while (reader.remaining() >= kObjectHeaderSize) {
    const Bytes id = *reader.peek(16);
    ByteReader sizeField{reader.rest().subspan(16)};
    const std::uint64_t size = sizeField.u64le().value_or(0);
    // An object must hold its own header; one that runs past the header
    // ends the walk, with what it holds still read.
    if (size < kObjectHeaderSize) break;
    const Bytes object = reader.rest().first(
        static_cast<std::size_t>(std::min<std::uint64_t>(size, reader.remaining())));
    const Bytes body = object.subspan(kObjectHeaderSize);
    if (is(id, kFileProperties)) {
      readFileProperties(body);
    } else if (is(id, kStreamProperties) && !audioSeen) {
      audioSeen = readStreamProperties(body);
    } else if (is(id, kContentDescription)) {
      attributes.readContentDescription(body);
    } else if (is(id, kExtendedContentDescription)) {
      attributes.readExtendedContent(body);
    } else if (is(id, kMetadata) || is(id, kMetadataLibrary)) {
      attributes.readMetadata(body);
    } else if (is(id, kHeaderExtension) && !inExtension) {
      extension = body;
    }
    reader.skip(object.size());
  }
  if (extension) readExtension(*extension, attributes, audioSeen);
}

// A reserved GUID and 16-bit field, the data size, then objects; an
// extension inside it is not looked into.
void ASFInfo::readExtension(Bytes body, ASFAttributes& attributes, bool& audioSeen) {
  ByteReader reader{body};
  const bool fixed = reader.skip(18);
  const auto dataSize = reader.u32le();
  if (!fixed || !dataSize) return;
  const Bytes data = reader.rest().first(
      static_cast<std::size_t>(std::min<std::uint64_t>(*dataSize, reader.remaining())));
  readObjects(data, attributes, audioSeen, true);
}

// Its file ID, file size, creation date and packet count come first; the
// playing time (in 100 ns) includes the preroll (in ms) that precedes it.
void ASFInfo::readFileProperties(Bytes body) {
  ByteReader reader{body};
  if (!reader.skip(16 + 8 + 8 + 8)) return;
  const auto playDuration = reader.u64le();
  reader.skip(8);  // send duration
  const auto preroll = reader.u64le();
  if (!playDuration || !preroll) return;
  const std::uint64_t played = *playDuration / 10000;
  setMilliseconds(played > *preroll ? played - *preroll : 0);
}

// Stream and error-correction types, time offset, the two data lengths,
// flags and a reserved field, then the type-specific data: for audio a
// WAVEFORMATEX.
bool ASFInfo::readStreamProperties(Bytes body) {
  ByteReader reader{body};
  const auto streamType = reader.bytes(16);
  if (!streamType || !is(*streamType, kAudioMedia)) return false;
  if (!reader.skip(16 + 8)) return false;
  const auto formatLength = reader.u32le();
  if (!formatLength || !reader.skip(4 + 2 + 4)) return false;
  const auto format = reader.bytes(*formatLength);
  if (!format) return false;
  ByteReader wave{*format};
  wave.skip(2);  // format tag
  const auto channels = wave.u16le();
  const auto sampleRate = wave.u32le();
  const auto bytesPerSecond = wave.u32le();
  if (!channels || !sampleRate || !bytesPerSecond) return false;
  setChannels(*channels);
  setSampleRate(*sampleRate);
  setBitsPerSecond(std::uint64_t{*bytesPerSecond} * 8, KilobitUnit::Decimal);
  return true;
}

}  // namespace tunora
