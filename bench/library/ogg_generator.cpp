// Ogg Vorbis files as encoders and taggers leave them: the identification
// header alone on the first page, the comment header (with a base64 picture
// for some, which makes it run over several pages) and the setup header
// after it, then pages of about 4 KB of audio.
#include <algorithm>
#include <array>

#include "container_bytes.h"
#include "library_generator.h"

namespace tunora::bench {

ByteVector flacPicture(const ByteVector& jpeg);

namespace {

constexpr std::uint32_t kSampleRate = 44100;
constexpr std::uint32_t kNominalBitrate = 128000;

std::uint32_t oggChecksum(const ByteVector& page) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> entries{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t value = i << 24;
      for (int bit = 0; bit < 8; ++bit)
        value = value & 0x80000000u ? value << 1 ^ 0x04C11DB7u : value << 1;
      entries[i] = value;
    }
    return entries;
  }();
  std::uint32_t crc = 0;
  for (const std::uint8_t byte : page) crc = crc << 8 ^ table[(crc >> 24 ^ byte) & 0xFF];
  return crc;
}

std::string base64(const ByteVector& bytes) {
  static constexpr std::string_view kDigits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t left = bytes.size() - i;
    std::uint32_t group = static_cast<std::uint32_t>(bytes[i]) << 16;
    if (left > 1) group |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
    if (left > 2) group |= bytes[i + 2];
    // One byte gives two digits, two give three, three give four.
    const std::size_t digits = std::min<std::size_t>(4, left + 1);
    for (std::size_t k = 0; k < 4; ++k)
      text += k < digits ? kDigits[group >> (18 - 6 * k) & 63] : '=';
  }
  return text;
}

// Lays packets into pages: a page ends when a packet asks for it (`flush`),
// at 255 segments, or once its body reaches about 4 KB.
class OggWriter {
 public:
  void packet(const ByteVector& bytes, bool flush, std::uint64_t granule) {
    std::size_t done = 0;
    for (;;) {
      const std::size_t segment = std::min<std::size_t>(255, bytes.size() - done);
      lacing_.push_back(static_cast<std::uint8_t>(segment));
      body_.insert(body_.end(), bytes.begin() + static_cast<std::ptrdiff_t>(done),
                   bytes.begin() + static_cast<std::ptrdiff_t>(done + segment));
      done += segment;
      const bool ends = segment < 255;
      if (ends) {
        granule_ = granule;
        packetEnded_ = true;
      }
      if (lacing_.size() == 255) emit(!ends);
      if (ends) break;
    }
    if (flush || body_.size() >= 4096) emit(false);
  }
  ByteVector finish() {
    last_ = true;
    if (!lacing_.empty()) emit(false);
    return std::move(out_);
  }

 private:
  void emit(bool packetContinues) {
    ByteVector page{'O', 'g', 'g', 'S', 0};
    std::uint8_t type = continued_ ? 1 : 0;
    if (sequence_ == 0) type |= 2;
    if (last_) type |= 4;
    page.push_back(type);
    // A page on which no packet ends has no granule position.
    putLittleEndian(page, packetEnded_ ? granule_ : ~std::uint64_t{0}, 8);
    putLittleEndian(page, 0x7475, 4);
    putLittleEndian(page, sequence_++, 4);
    putLittleEndian(page, 0, 4);
    page.push_back(static_cast<std::uint8_t>(lacing_.size()));
    append(page, lacing_);
    append(page, body_);
    const std::uint32_t crc = oggChecksum(page);
    for (int i = 0; i < 4; ++i) page[22 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
    append(out_, page);
    continued_ = packetContinues;
    packetEnded_ = false;
    lacing_.clear();
    body_.clear();
  }

  ByteVector out_, lacing_, body_;
  std::uint64_t granule_ = 0;
  std::uint32_t sequence_ = 0;
  bool continued_ = false;
  bool packetEnded_ = false;
  bool last_ = false;
};

ByteVector headerPacket(std::uint8_t type, const ByteVector& body) {
  ByteVector packet{type};
  appendText(packet, "vorbis");
  append(packet, body);
  return packet;
}

}  // namespace

ByteVector generateOgg(const TrackSpec& spec, std::mt19937& random) {
  OggWriter writer;
  ByteVector identification;
  putLittleEndian(identification, 0, 4);
  identification.push_back(2);
  putLittleEndian(identification, kSampleRate, 4);
  putLittleEndian(identification, 0, 4);
  putLittleEndian(identification, kNominalBitrate, 4);
  putLittleEndian(identification, 0, 4);
  identification.push_back(0xB8);
  identification.push_back(1);
  writer.packet(headerPacket(1, identification), true, 0);

  ByteVector picture;
  if (spec.withCover) {
    const std::string text = base64(flacPicture(jpegLikePicture(random, kCoverSize)));
    picture.assign(text.begin(), text.end());
  }
  ByteVector comment = vorbisCommentBlock(spec, spec.withCover ? &picture : nullptr);
  comment.push_back(1);
  writer.packet(headerPacket(3, comment), false, 0);
  ByteVector setup = randomBytes(random, 3000);
  setup.push_back(1);
  writer.packet(headerPacket(5, setup), true, 0);

  // Audio packets of 200 to 600 bytes, 1024 samples each.
  std::uint64_t written = 0;
  std::uint64_t granule = 0;
  while (written < spec.size) {
    const std::size_t size = 200 + random() % 400;
    granule += 1024;
    writer.packet(randomBytes(random, size), false, granule);
    written += size;
  }
  return writer.finish();
}

}  // namespace tunora::bench
