#include "image/exif_orientation.h"

#include "text/byte_reader.h"

namespace tunora {
namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::size_t kIfdEntryBytes = 12;

// TIFF data is read in the byte order its header names ("II" Intel, "MM" Motorola).
class TiffReader {
 public:
  TiffReader(Bytes bytes, bool bigEndian) : reader_(bytes), bigEndian_(bigEndian) {}
  bool seek(std::uint64_t position) { return reader_.seek(position); }
  bool skip(std::uint64_t count) { return reader_.skip(count); }
  std::size_t remaining() const { return reader_.remaining(); }
  std::optional<std::uint16_t> u16() { return bigEndian_ ? reader_.u16be() : reader_.u16le(); }
  std::optional<std::uint32_t> u32() { return bigEndian_ ? reader_.u32be() : reader_.u32le(); }

 private:
  ByteReader reader_;
  bool bigEndian_;
};

}  // namespace

Orientation exifOrientation(std::span<const std::uint8_t> tiff) {
  const bool intel = startsWith(tiff, "II");
  if (!intel && !startsWith(tiff, "MM")) return Orientation::Upright;
  TiffReader reader(tiff, !intel);
  reader.skip(2);
  const auto magic = reader.u16();
  const auto firstIfd = reader.u32();
  if (magic != 42 || !firstIfd || !reader.seek(*firstIfd)) return Orientation::Upright;
  const auto entries = reader.u16();
  if (!entries || std::uint64_t{*entries} * kIfdEntryBytes > reader.remaining())
    return Orientation::Upright;
  for (std::uint16_t i = 0; i < *entries; ++i) {
    const auto tag = reader.u16();
    const auto type = reader.u16();
    const auto count = reader.u32();
    const auto value = reader.u16();
    reader.skip(2);
    if (tag != kOrientationTag) continue;
    if (type != kTypeShort || count == 0u || !value || *value < 1 || *value > 8) break;
    return static_cast<Orientation>(*value);
  }
  return Orientation::Upright;
}

Orientation jpegOrientation(std::span<const std::uint8_t> jpeg) {
  ByteReader reader(jpeg);
  if (reader.u16be() != 0xFFD8) return Orientation::Upright;
  // Marker segments up to the first scan: the Exif block sits right after
  // the start marker, but a JFIF block or others may come first.
  while (true) {
    if (reader.u8() != 0xFF) return Orientation::Upright;
    auto marker = reader.u8();
    while (marker == 0xFF) marker = reader.u8();  // fill bytes
    if (!marker || *marker == 0xD9 || *marker == 0xDA) return Orientation::Upright;
    // Markers without a segment: TEM and the restart markers.
    if (*marker == 0x01 || (*marker >= 0xD0 && *marker <= 0xD7)) continue;
    const auto length = reader.u16be();
    if (!length || *length < 2) return Orientation::Upright;
    const auto segment = reader.bytes(*length - 2u);
    if (!segment) return Orientation::Upright;
    constexpr std::string_view kExif("Exif\0\0", 6);
    if (*marker == 0xE1 && startsWith(*segment, kExif))
      return exifOrientation(segment->subspan(kExif.size()));
  }
}

}  // namespace tunora
