// libpng reports errors through a callback that must not return; it jumps
// back to the function that drives the library. Everything that function
// owns is made before the jump point, so the jump leaves nothing undestroyed.

#include "image/png_codec.h"

#include <algorithm>
#include <cstring>

#include <png.h>

#include "text/byte_reader.h"

namespace tunora {
namespace {

constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Text and other chunks a cover never needs: libpng keeps them within this.
constexpr png_alloc_size_t kMaxChunkBytes = 1024 * 1024;

[[noreturn]] void onError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void onWarning(png_structp, png_const_charp) {}

struct MemorySource {
  Bytes bytes;
  std::size_t position = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto& source = *static_cast<MemorySource*>(png_get_io_ptr(png));
  if (count > source.bytes.size() - source.position) png_error(png, "truncated");
  std::memcpy(out, source.bytes.data() + source.position, count);
  source.position += count;
}

void writeToVector(png_structp png, png_bytep data, png_size_t count) {
  auto& out = *static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out.insert(out.end(), data, data + count);
}

void flushNothing(png_structp) {}

// Whether every chunk up to IEND lies within the bytes there are. libpng
// takes some chunks whole (sPLT) and makes room for the length a chunk
// claims before it reads it, whatever chunk limit it was given.
bool chunksFit(Bytes png) {
  ByteReader reader(png);
  if (!reader.skip(sizeof kSignature)) return false;
  while (reader.remaining() >= 12) {
    const auto length = reader.u32be();
    const auto type = reader.bytes(4);
    // The data and its CRC.
    if (!length || !type || *length > reader.remaining() - 4) return false;
    if (std::equal(type->begin(), type->end(), "IEND")) return true;
    reader.skip(std::uint64_t{*length} + 4);
  }
  return true;
}

class PngReader {
 public:
  PngReader() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  bool run(Bytes png, std::uint32_t maxSide, DecodedPicture& out) {
    if (info_ == nullptr || !chunksFit(png)) return false;
    MemorySource source{png};
    std::vector<std::uint8_t> rows;
    std::optional<PictureScaler> scaler;
    if (setjmp(png_jmpbuf(png_)) != 0) return false;
    png_set_read_fn(png_, &source, readFromMemory);
    png_set_chunk_malloc_max(png_, kMaxChunkBytes);
    png_read_info(png_, info_);
    const PictureSize size{png_get_image_width(png_, info_), png_get_image_height(png_, info_)};
    if (!isDecodablePngSize(size)) return false;
    // Every kind of PNG becomes 8-bit RGB, with alpha where it has any.
    png_set_expand(png_);
    png_set_strip_16(png_);
    png_set_gray_to_rgb(png_);
    const int passes = png_set_interlace_handling(png_);
    png_read_update_info(png_, info_);
    const std::uint32_t channels = png_get_channels(png_, info_);
    const std::size_t rowBytes = png_get_rowbytes(png_, info_);
    if ((channels != 3 && channels != 4) || rowBytes != std::size_t{size.width} * channels)
      return false;
    scaler.emplace(size, fittedSize(size, maxSide), channels);
    if (passes == 1) {
      // Row by row: only one source row is ever held.
      rows.resize(rowBytes);
      for (std::uint32_t y = 0; y < size.height; ++y) {
        png_read_row(png_, rows.data(), nullptr);
        scaler->addRow(rows);
      }
    } else {
      if (!isDecodablePngSize(size, true)) return false;
      // An interlaced picture fills every row on each pass, so it is held
      // whole; grown row by row as the first pass reaches each row, it is
      // never allocated for data that a truncated file does not have.
      for (int pass = 0; pass < passes; ++pass)
        for (std::uint32_t y = 0; y < size.height; ++y) {
          if (pass == 0) rows.resize(rows.size() + rowBytes);
          png_read_row(png_, rows.data() + y * rowBytes, nullptr);
        }
      for (std::uint32_t y = 0; y < size.height; ++y)
        scaler->addRow(std::span(rows).subspan(y * rowBytes, rowBytes));
    }
    png_read_end(png_, nullptr);
    out = scaler->finish();
    return true;
  }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

class PngWriter {
 public:
  PngWriter() {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~PngWriter() { png_destroy_write_struct(&png_, &info_); }
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;

  bool run(const DecodedPicture& picture, std::vector<std::uint8_t>& out) {
    if (info_ == nullptr) return false;
    if (setjmp(png_jmpbuf(png_)) != 0) return false;
    png_set_write_fn(png_, &out, writeToVector, flushNothing);
    png_set_IHDR(png_, info_, picture.width, picture.height, 8,
                 picture.channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png_, info_);
    const std::size_t rowBytes = std::size_t{picture.width} * picture.channels;
    for (std::uint32_t y = 0; y < picture.height; ++y)
      png_write_row(png_, picture.pixels.data() + y * rowBytes);
    png_write_end(png_, nullptr);
    return true;
  }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

}  // namespace

std::optional<PictureSize> readPngSize(std::span<const std::uint8_t> png) {
  if (png.size() < 24 || !std::equal(std::begin(kSignature), std::end(kSignature), png.begin()) ||
      !startsWith(png.subspan(12), "IHDR"))
    return std::nullopt;
  ByteReader reader(png.subspan(16));
  const auto width = reader.u32be();
  const auto height = reader.u32be();
  if (!width || !height || *width == 0 || *height == 0) return std::nullopt;
  return PictureSize{*width, *height};
}

bool isDecodablePngSize(PictureSize size, bool interlaced) {
  return size.width > 0 && size.height > 0 && size.width <= kMaxPngSide &&
         size.height <= kMaxPngSide &&
         std::uint64_t{size.width} * size.height <=
             (interlaced ? kMaxInterlacedPngPixels : kMaxPngPixels);
}

std::optional<DecodedPicture> decodePng(std::span<const std::uint8_t> png, std::uint32_t maxSide) {
  const auto size = readPngSize(png);
  if (!size || !isDecodablePngSize(*size)) return std::nullopt;
  DecodedPicture picture;
  PngReader reader;
  if (!reader.run(png, maxSide, picture)) return std::nullopt;
  return picture;
}

bool encodePng(const DecodedPicture& picture, std::vector<std::uint8_t>& out) {
  out.clear();
  const std::uint64_t pixels = std::uint64_t{picture.width} * picture.height;
  if (!isDecodablePngSize({picture.width, picture.height}) ||
      (picture.channels != 3 && picture.channels != 4) ||
      picture.pixels.size() != pixels * picture.channels)
    return false;
  PngWriter writer;
  if (writer.run(picture, out)) return true;
  out.clear();
  return false;
}

}  // namespace tunora
