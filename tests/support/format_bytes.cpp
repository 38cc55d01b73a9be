#include "support/format_bytes.h"

#include <algorithm>
#include <stdexcept>

namespace tunora::testing {
namespace {

ByteVector bigEndian(std::uint64_t value, int bytes) {
  ByteVector out;
  for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  return out;
}

void append(ByteVector& out, const ByteVector& more) {
  out.insert(out.end(), more.begin(), more.end());
}

ByteVector typeBytes(std::string_view type) {
  if (type.size() != 4) throw std::invalid_argument("atom types have four characters");
  return bytesOf(type);
}

}  // namespace

ByteVector be16(std::uint16_t value) {
  return bigEndian(value, 2);
}
ByteVector be32(std::uint32_t value) {
  return bigEndian(value, 4);
}
ByteVector be64(std::uint64_t value) {
  return bigEndian(value, 8);
}
ByteVector le16(std::uint16_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
}

ByteVector le64(std::uint64_t value) {
  ByteVector out = be64(value);
  std::reverse(out.begin(), out.end());
  return out;
}

ByteVector le32(std::uint32_t value) {
  ByteVector out = be32(value);
  std::reverse(out.begin(), out.end());
  return out;
}

ByteVector atom(std::string_view type, const ByteVector& body) {
  return concat({be32(static_cast<std::uint32_t>(body.size() + 8)), typeBytes(type), body});
}

ByteVector atom(std::string_view type, std::initializer_list<ByteVector> children) {
  ByteVector body;
  for (const auto& child : children) append(body, child);
  return atom(type, body);
}

ByteVector largeAtom(std::string_view type, const ByteVector& body) {
  return concat({be32(1), typeBytes(type), be64(body.size() + 16), body});
}

ByteVector trackHeader(bool video, int version) {
  // Version, flags, times, track id, reserved, duration (32 or 64 bits), then
  // reserved words, layer, group, volume, reserved, the 3x3 matrix, width, height.
  ByteVector body{static_cast<std::uint8_t>(version), 0, 0, 7};
  body.resize(body.size() + (version == 1 ? 32 : 20), 0);
  body.resize(body.size() + 16, 0);
  const std::uint32_t matrix[9] = {0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000};
  for (const std::uint32_t value : matrix) append(body, be32(value));
  append(body, be32(video ? 320u << 16 : 0));
  append(body, be32(video ? 240u << 16 : 0));
  return atom("tkhd", body);
}

ByteVector mediaHeader(std::uint32_t timeScale, std::uint32_t duration) {
  return atom("mdhd", concat({be32(0), be32(0), be32(0), be32(timeScale), be32(duration),
                              be32(0x55C40000)}));
}

ByteVector sampleDescriptions(std::uint16_t channels) {
  ByteVector entry = concat({ByteVector(6, 0), be16(1), ByteVector(8, 0), be16(channels), be16(16),
                             be32(0), be32(44100u << 16)});
  return atom("stsd", concat({be32(0), be32(1), atom("mp4a", entry)}));
}

ByteVector track(bool video, std::uint32_t timeScale, std::uint32_t duration,
                 std::uint16_t channels, const ByteVector& extra) {
  const ByteVector media =
      atom("mdia", {mediaHeader(timeScale, duration),
                    atom("minf", {atom("stbl", {sampleDescriptions(channels)})})});
  return atom("trak", {trackHeader(video), media, extra});
}

ByteVector fileType() {
  return atom("ftyp", concat({bytesOf("M4A "), be32(0), bytesOf("M4A isom")}));
}

ByteVector m4aFile(const ByteVector& items, std::uint32_t timeScale, std::uint32_t duration) {
  return concat({fileType(), atom("moov", {track(false, timeScale, duration, 2, userData(items))}),
                 atom("mdat", ByteVector(64, 0x21))});
}

ByteVector item(std::string_view type, const ByteVector& payload) {
  return atom(type, {atom("data", concat({be32(1), be32(0), payload}))});
}

ByteVector textItem(std::string_view type, std::string_view text) {
  return item(type, bytesOf(text));
}

ByteVector userData(const ByteVector& items, bool withHandler) {
  ByteVector meta = be32(0);
  if (withHandler)
    append(meta, atom("hdlr", concat({be32(0), be32(0), bytesOf("mdirappl"), ByteVector(9, 0)})));
  append(meta, atom("ilst", items));
  return atom("udta", {atom("meta", meta)});
}

ByteVector oggPage(const ByteVector& body, std::uint8_t headerType, bool endsPacket,
                   std::uint64_t granule, std::uint32_t serial) {
  ByteVector lacing;
  std::size_t left = body.size();
  while (left >= 255) {
    lacing.push_back(255);
    left -= 255;
  }
  if (endsPacket) lacing.push_back(static_cast<std::uint8_t>(left));
  if (lacing.size() > 255) throw std::invalid_argument("page body too long");
  ByteVector page = bytesOf("OggS");
  page.push_back(0);
  page.push_back(headerType);
  append(page, le64(granule));
  append(page, le32(serial));
  page.resize(page.size() + 8, 0);  // sequence number, checksum
  page.push_back(static_cast<std::uint8_t>(lacing.size()));
  append(page, lacing);
  append(page, body);
  return page;
}

ByteVector vorbisIdentification(std::uint32_t nominalBitrate, std::uint32_t sampleRate,
                                std::uint8_t channels, std::uint8_t blockSizes) {
  ByteVector packet{1};
  append(packet, bytesOf("vorbis"));
  append(packet, le32(0));
  packet.push_back(channels);
  append(packet, le32(sampleRate));
  append(packet, le32(0));
  append(packet, le32(nominalBitrate));
  append(packet, le32(0));
  packet.push_back(blockSizes);
  packet.push_back(1);
  return packet;
}

ByteVector vorbisCommentBlock(std::string_view vendor, std::initializer_list<std::string> entries) {
  ByteVector block = le32(static_cast<std::uint32_t>(vendor.size()));
  append(block, bytesOf(vendor));
  append(block, le32(static_cast<std::uint32_t>(entries.size())));
  for (const auto& entry : entries) {
    append(block, le32(static_cast<std::uint32_t>(entry.size())));
    append(block, bytesOf(entry));
  }
  return block;
}

ByteVector vorbisCommentPacket(const ByteVector& block) {
  ByteVector packet{3};
  append(packet, bytesOf("vorbis"));
  append(packet, block);
  packet.push_back(1);
  return packet;
}

ByteVector oggVorbisFile(const ByteVector& commentBlock, std::uint32_t nominalBitrate) {
  return concat({oggPage(vorbisIdentification(nominalBitrate, 44100, 2), 2),
                 oggPage(vorbisCommentPacket(commentBlock)), oggPage(ByteVector(100, 0x55))});
}

ByteVector flacBlock(std::uint8_t type, const ByteVector& body, bool last) {
  ByteVector out{static_cast<std::uint8_t>(type | (last ? 0x80 : 0))};
  append(out, bigEndian(body.size(), 3));
  append(out, body);
  return out;
}

ByteVector streamInfo(std::uint32_t sampleRate, std::uint8_t channels, std::uint64_t totalSamples) {
  ByteVector body = concat({be16(4096), be16(4096), bigEndian(0, 3), bigEndian(0, 3)});
  // 20 bits rate, 3 bits channels - 1, 5 bits bits-per-sample - 1, 36 bits samples.
  const std::uint64_t packed = static_cast<std::uint64_t>(sampleRate) << 44 |
                               static_cast<std::uint64_t>(channels - 1) << 41 |
                               std::uint64_t{15} << 36 | (totalSamples & 0xFFFFFFFFFull);
  append(body, be64(packed));
  body.resize(34, 0);  // MD5 signature
  return flacBlock(0, body);
}

ByteVector musepackHeader(std::uint8_t version, std::uint32_t frames, std::uint8_t rateIndex) {
  ByteVector header = bytesOf("MP+");
  header.push_back(version);
  append(header, le32(frames));
  header.push_back(0);
  header.push_back(0);
  header.push_back(rateIndex);
  header.resize(36, 0);
  return header;
}

ByteVector pictureBody(std::uint32_t type, const ByteVector& data, std::string_view mime,
                       std::string_view description) {
  return concat({be32(type), be32(static_cast<std::uint32_t>(mime.size())), bytesOf(mime),
                 be32(static_cast<std::uint32_t>(description.size())), bytesOf(description),
                 be32(0), be32(0), be32(0), be32(0), be32(static_cast<std::uint32_t>(data.size())),
                 data});
}

// A FLAC picture block body in Base64, as METADATA_BLOCK_PICTURE holds it.
std::string pictureEntry(std::uint32_t type, const std::string& data) {
  return pictureEntryOf(pictureBody(type, bytesOf(data)));
}

std::string pictureEntryOf(const ByteVector& block) {
  constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text = "METADATA_BLOCK_PICTURE=";
  for (std::size_t at = 0; at < block.size(); at += 3) {
    std::uint32_t group = block[at] << 16;
    if (at + 1 < block.size()) group |= block[at + 1] << 8;
    if (at + 2 < block.size()) group |= block[at + 2];
    for (std::size_t i = 0; i < 4; ++i)
      text += at + i <= block.size() ? kAlphabet[(group >> (18 - 6 * i)) & 63] : '=';
  }
  return text;
}

ByteVector opusHead(std::uint8_t channels, std::uint16_t preSkip) {
  return concat({bytesOf("OpusHead"), {1, channels}, le16(preSkip), le32(48000), le16(0), {0}});
}

ByteVector opusTags(const ByteVector& commentBlock) {
  return concat({bytesOf("OpusTags"), commentBlock});
}

ByteVector oggOpusFile(const ByteVector& commentBlock, std::uint64_t lastGranule,
                       std::size_t audioBytes, std::uint16_t preSkip) {
  return concat({oggPage(opusHead(2, preSkip), 2), oggPage(opusTags(commentBlock)),
                 oggPage(ByteVector(audioBytes, 0x55), 4, true, lastGranule)});
}

namespace {

ByteVector chunk(std::string_view id, ByteVector size, const ByteVector& body) {
  ByteVector out = concat({bytesOf(id), size, body});
  if (body.size() % 2 != 0) out.push_back(0);
  return out;
}

}  // namespace

ByteVector riffChunk(std::string_view id, const ByteVector& body) {
  return chunk(id, le32(static_cast<std::uint32_t>(body.size())), body);
}

ByteVector iffChunk(std::string_view id, const ByteVector& body) {
  return chunk(id, be32(static_cast<std::uint32_t>(body.size())), body);
}

ByteVector waveFormat(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                      std::uint32_t bytesPerSecond, std::uint16_t blockAlign, std::uint16_t bits) {
  return concat(
      {le16(tag), le16(channels), le32(rate), le32(bytesPerSecond), le16(blockAlign), le16(bits)});
}

ByteVector wavFile(std::initializer_list<ByteVector> chunks) {
  const ByteVector body = concat(chunks);
  return concat(
      {bytesOf("RIFF"), le32(static_cast<std::uint32_t>(body.size() + 4)), bytesOf("WAVE"), body});
}

ByteVector extended(std::uint32_t hertz) {
  if (hertz == 0) return ByteVector(10, 0);
  int top = 31;
  while ((hertz >> top) == 0) --top;
  const std::uint64_t mantissa = std::uint64_t{hertz} << (63 - top);
  return concat({be16(static_cast<std::uint16_t>(16383 + top)), be64(mantissa)});
}

ByteVector aiffFile(std::string_view type, std::initializer_list<ByteVector> chunks) {
  const ByteVector body = concat(chunks);
  return concat(
      {bytesOf("FORM"), be32(static_cast<std::uint32_t>(body.size() + 4)), bytesOf(type), body});
}

ByteVector aiffCommon(std::uint16_t channels, std::uint32_t frames, std::uint16_t bits,
                      std::uint32_t hertz) {
  return concat({be16(channels), be32(frames), be16(bits), extended(hertz)});
}

}  // namespace tunora::testing
