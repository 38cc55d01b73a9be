#pragma once
// Builders of container bytes for tests: MP4 atoms, Ogg pages, Vorbis headers,
// FLAC metadata blocks and Musepack stream headers, laid out as the formats
// say, so that each test can set the one quirk it is about.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "support/tag_bytes.h"

namespace tunora::testing {

ByteVector be16(std::uint16_t value);
ByteVector be32(std::uint32_t value);
ByteVector be64(std::uint64_t value);
ByteVector le16(std::uint16_t value);
ByteVector le32(std::uint32_t value);
ByteVector le64(std::uint64_t value);

// --- MP4 ---
ByteVector atom(std::string_view type, const ByteVector& body);
ByteVector atom(std::string_view type, std::initializer_list<ByteVector> children);
// Size field 1 and the size as 64 bits after the type.
ByteVector largeAtom(std::string_view type, const ByteVector& body);
// A track header of version 0 (92 bytes) or 1 (104 bytes); a video track has
// a width and height.
ByteVector trackHeader(bool video, int version = 0);
ByteVector mediaHeader(std::uint32_t timeScale, std::uint32_t duration);
ByteVector sampleDescriptions(std::uint16_t channels);
// trak with tkhd and mdia (mdhd, minf/stbl/stsd); `extra` follows mdia.
ByteVector track(bool video, std::uint32_t timeScale, std::uint32_t duration,
                 std::uint16_t channels, const ByteVector& extra = {});
// An ilst item holding one data atom with this payload.
// An "ftyp" atom of an M4A file.
ByteVector fileType();
// An M4A laid out as encoders write it: ftyp, moov with one audio track and
// the metadata items, mdat.
ByteVector m4aFile(const ByteVector& items, std::uint32_t timeScale = 44100,
                   std::uint32_t duration = 441000);
ByteVector item(std::string_view type, const ByteVector& payload);
ByteVector textItem(std::string_view type, std::string_view text);
// udta / meta (version and flags, optionally a handler) / ilst.
ByteVector userData(const ByteVector& items, bool withHandler = true);

// --- Ogg Vorbis ---
// A page whose lacing values cut `body` into segments; the checksum is left 0.
ByteVector oggPage(const ByteVector& body, std::uint8_t headerType = 0, bool endsPacket = true,
                   std::uint64_t granule = 0, std::uint32_t serial = 0x1234);
ByteVector vorbisIdentification(std::uint32_t nominalBitrate, std::uint32_t sampleRate,
                                std::uint8_t channels, std::uint8_t blockSizes = 0xB8);
// Vendor string and "KEY=value" entries as given.
ByteVector vorbisCommentBlock(std::string_view vendor, std::initializer_list<std::string> entries);
// Packet type 3, "vorbis", the block and the framing bit.
ByteVector vorbisCommentPacket(const ByteVector& block);
// A "METADATA_BLOCK_PICTURE=" entry: a FLAC picture block in Base64.
std::string pictureEntry(std::uint32_t type, const std::string& data);
// The same for any block body, well formed or not.
std::string pictureEntryOf(const ByteVector& body);
// Identification page then comment page, as encoders lay them out.
ByteVector oggVorbisFile(const ByteVector& commentBlock, std::uint32_t nominalBitrate = 128000);

// --- Ogg Opus ---
// "OpusHead", version 1, the channels and pre-skip, 48 kHz input, no gain,
// mapping family 0.
ByteVector opusHead(std::uint8_t channels, std::uint16_t preSkip);
// "OpusTags" and the comment block.
ByteVector opusTags(const ByteVector& commentBlock);
// OpusHead page, OpusTags page, then `audioBytes` of audio on a last page
// whose granule position is given.
ByteVector oggOpusFile(const ByteVector& commentBlock, std::uint64_t lastGranule,
                       std::size_t audioBytes = 1000, std::uint16_t preSkip = 312);

// --- RIFF and IFF chunks ---
// Id, size (little-endian for RIFF, big-endian for IFF), body, pad byte
// after an odd size.
ByteVector riffChunk(std::string_view id, const ByteVector& body);
ByteVector iffChunk(std::string_view id, const ByteVector& body);
// A 16-byte WAVEFORMATEX.
ByteVector waveFormat(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                      std::uint32_t bytesPerSecond, std::uint16_t blockAlign, std::uint16_t bits);
// "RIFF", the size of what follows, "WAVE" and the chunks.
ByteVector wavFile(std::initializer_list<ByteVector> chunks);
// The 80-bit extended number of a whole rate.
ByteVector extended(std::uint32_t hertz);
// "FORM", the size, "AIFF" or "AIFC" and the chunks.
ByteVector aiffFile(std::string_view type, std::initializer_list<ByteVector> chunks);
ByteVector aiffCommon(std::uint16_t channels, std::uint32_t frames, std::uint16_t bits,
                      std::uint32_t hertz);

// --- FLAC ---
ByteVector flacBlock(std::uint8_t type, const ByteVector& body, bool last = false);
ByteVector streamInfo(std::uint32_t sampleRate, std::uint8_t channels, std::uint64_t totalSamples);
// A PICTURE block body: type, MIME type, description, four zero figures and
// the data, each length as the text or data has it.
ByteVector pictureBody(std::uint32_t type, const ByteVector& data,
                       std::string_view mime = "image/jpeg", std::string_view description = "d");

// --- Musepack ---
// "MP+", the version byte, the frame count and the sample-rate index in byte
// 10, padded to the 36 bytes the reader takes.
ByteVector musepackHeader(std::uint8_t version, std::uint32_t frames, std::uint8_t rateIndex = 0);

}  // namespace tunora::testing
