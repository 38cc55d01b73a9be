#include "coversearch/cover_saving.h"

#include <array>

#include "io/file.h"
#include "io/safe_file_name.h"
#include "text/text_edits.h"

namespace tunora {
namespace {

constexpr std::uint32_t kBitmapHeaderSize = 54;
constexpr std::uint32_t kBitmapInfoSize = 40;
constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch
constexpr std::size_t kCopyBlockSize = 1024;

std::string fileNameSafe(std::string_view value) {
  std::string safe(value);
  for (char& c : safe)
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  return safe;
}

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::string makeCoverFileName(std::string_view pattern, std::string_view artist,
                              std::string_view album) {
  std::string name(pattern);
  replaceText(name, "%a", fileNameSafe(artist), true);
  replaceText(name, "%b", fileNameSafe(album), true);
  return kDeviceNamesReserved ? windowsSafeName(name) : name;
}

std::vector<std::uint8_t> bitmapFileBytes(const DecodedPicture& picture) {
  const std::uint32_t width = picture.width;
  const std::uint32_t height = picture.height;
  // width mod 4 zero bytes bring a row of width * 3 bytes to a multiple of 4.
  const std::uint32_t padding = width % 4;
  const std::uint32_t rowSize = width * 3;
  std::vector<std::uint8_t> out;
  out.reserve(kBitmapHeaderSize + static_cast<std::size_t>(rowSize + padding) * height);
  out.push_back('B');
  out.push_back('M');
  putLittleEndian(out, rowSize * height + padding * height + kBitmapHeaderSize, 4);
  putLittleEndian(out, 0, 4);
  putLittleEndian(out, kBitmapHeaderSize, 4);
  putLittleEndian(out, kBitmapInfoSize, 4);
  putLittleEndian(out, width, 4);
  putLittleEndian(out, height, 4);
  putLittleEndian(out, 1, 2);
  putLittleEndian(out, 24, 2);
  putLittleEndian(out, 0, 4);
  putLittleEndian(out, 0, 4);
  putLittleEndian(out, kPixelsPerMetre, 4);
  putLittleEndian(out, kPixelsPerMetre, 4);
  putLittleEndian(out, 0, 4);
  putLittleEndian(out, 0, 4);
  if (picture.pixels.size() != static_cast<std::size_t>(rowSize) * height) return {};
  for (std::uint32_t row = height; row-- > 0;) {
    const auto start = picture.pixels.begin() + static_cast<std::ptrdiff_t>(row) * rowSize;
    out.insert(out.end(), start, start + rowSize);
    out.insert(out.end(), padding, 0);
  }
  return out;
}

std::optional<std::string> makeDisplayFile(std::string_view jpegFile) {
  const auto jpeg = readJpegFile(pathFromNative(jpegFile));
  if (!jpeg) return std::nullopt;
  const auto picture = decodeJpeg(*jpeg);
  if (!picture) return std::nullopt;
  const auto bitmap = bitmapFileBytes(*picture);
  if (bitmap.empty()) return std::nullopt;
  std::string name = makeTempFileName();
  if (name.empty()) return std::nullopt;
  if (!writeWholeFile(pathFromNative(name), bitmap)) {
    deleteFile(std::string_view(name));
    return std::nullopt;
  }
  return name;
}

bool copyFileVerified(std::string_view source, std::string_view target) {
  auto from = File::open(pathFromNative(source), File::Mode::Read);
  if (!from) return false;
  auto to = File::open(pathFromNative(target), File::Mode::Write);
  if (!to) return false;
  const std::int64_t sourceSize = from->size();
  std::array<std::uint8_t, kCopyBlockSize> block{};
  bool failed = sourceSize < 0;
  while (!failed) {
    const std::size_t count = from->read(block);
    const bool atEnd = from->tell() == sourceSize;
    if (count < block.size() && !atEnd) failed = true;
    if (count > 0 && !to->write(std::span(block).first(count))) failed = true;
    if (atEnd) break;
  }
  if (!to->close()) failed = true;
  if (!failed) {
    auto written = File::open(pathFromNative(target), File::Mode::Read);
    failed = !written || written->size() != sourceSize;
  }
  return !failed;
}

}  // namespace tunora
