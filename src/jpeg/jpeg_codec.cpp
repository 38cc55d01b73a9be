// The codec interface on libjpeg-turbo. libjpeg reports fatal errors through
// a callback that must not return; it jumps back to the one function that
// drives the library, whose frame holds nothing that needs destroying.

#include "jpeg/jpeg_codec.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include "io/file.h"

namespace tunora {
namespace {

// libjpeg keeps whole-picture coefficient buffers of progressive pictures
// within this budget; beyond it the decode fails instead of allocating.
constexpr long kWorkingMemoryLimit = 256l * 1024 * 1024;
// Each scan of a progressive picture passes over the whole picture; real
// files have a few dozen at most.
constexpr int kMaxScans = 100;

struct ErrorTrap {
  jpeg_error_mgr manager;  // first, so that the library's pointer is ours too
  std::jmp_buf jump;
  int code = 0;
};

ErrorTrap& trapOf(j_common_ptr info) {
  return *reinterpret_cast<ErrorTrap*>(info->err);
}

[[noreturn]] void onError(j_common_ptr info) {
  ErrorTrap& trap = trapOf(info);
  trap.code = info->err->msg_code;
  std::longjmp(trap.jump, 1);
}

// Warnings mean corrupt data; a truncated picture would otherwise decode
// "successfully" with a grey lower half. Stray bytes between markers are
// common in real covers and harmless.
void onMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code != JWRN_EXTRANEOUS_DATA) onError(info);
}

void onProgress(j_common_ptr info) {
  if (info->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
    info->err->msg_code = JERR_NOT_COMPILED;
    onError(info);
  }
}

void installTrap(ErrorTrap& trap) {
  jpeg_std_error(&trap.manager);
  trap.manager.error_exit = onError;
  trap.manager.emit_message = onMessage;
}

class Decompressor {
 public:
  Decompressor() {
    installTrap(trap_);
    info_.err = &trap_.manager;
    progress_.progress_monitor = onProgress;
  }
  ~Decompressor() { jpeg_destroy_decompress(&info_); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;

  // Reads the header and, unless only the parameters are wanted, the pixels
  // into `out`. False when the library gave up.
  bool run(std::span<const std::uint8_t> jpeg, JpegParameters& parameters, DecodedPicture* out,
           std::uint32_t eighths = 8) {
    if (setjmp(trap_.jump) != 0) return false;
    jpeg_create_decompress(&info_);
    info_.mem->max_memory_to_use = kWorkingMemoryLimit;
    info_.progress = &progress_;
    jpeg_mem_src(&info_, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    if (jpeg_read_header(&info_, TRUE) != JPEG_HEADER_OK) return false;
    parameters.width = info_.image_width;
    parameters.height = info_.image_height;
    parameters.channels = static_cast<std::uint32_t>(info_.num_components);
    const std::uint64_t pixels = std::uint64_t{parameters.width} * parameters.height;
    if (pixels == 0 || pixels > kMaxJpegPixels) return false;
    if (out == nullptr) return true;
    if (parameters.channels != 1 && parameters.channels != 3) return false;

    info_.out_color_space = JCS_EXT_BGR;
    info_.scale_num = std::clamp<std::uint32_t>(eighths, 1, 8);
    info_.scale_denom = 8;
    jpeg_start_decompress(&info_);
    if (info_.output_components != 3) return false;
    const std::size_t rowBytes = std::size_t{info_.output_width} * 3;
    out->width = info_.output_width;
    out->height = info_.output_height;
    // Grown row by row, so that a file that claims a large picture and then
    // breaks off fails before the whole buffer exists.
    while (info_.output_scanline < info_.output_height) {
      const std::size_t offset = std::size_t{info_.output_scanline} * rowBytes;
      out->pixels.resize(offset + rowBytes);
      JSAMPROW row = out->pixels.data() + offset;
      if (jpeg_read_scanlines(&info_, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&info_);
    return true;
  }

 private:
  jpeg_decompress_struct info_{};
  ErrorTrap trap_{};
  jpeg_progress_mgr progress_{};
};

// Collects the compressed bytes in a vector instead of a malloc'd block.
struct VectorDestination {
  jpeg_destination_mgr manager;  // first, as for the error trap
  std::vector<std::uint8_t>* out;
  std::array<JOCTET, 16384> chunk;
};

VectorDestination& destinationOf(j_compress_ptr info) {
  return *reinterpret_cast<VectorDestination*>(info->dest);
}

void startChunk(j_compress_ptr info) {
  VectorDestination& destination = destinationOf(info);
  destination.manager.next_output_byte = destination.chunk.data();
  destination.manager.free_in_buffer = destination.chunk.size();
}

boolean flushChunk(j_compress_ptr info) {
  VectorDestination& destination = destinationOf(info);
  destination.out->insert(destination.out->end(), destination.chunk.begin(),
                          destination.chunk.end());
  startChunk(info);
  return TRUE;
}

void finishChunks(j_compress_ptr info) {
  VectorDestination& destination = destinationOf(info);
  const std::size_t used = destination.chunk.size() - destination.manager.free_in_buffer;
  destination.out->insert(destination.out->end(), destination.chunk.begin(),
                          destination.chunk.begin() + static_cast<std::ptrdiff_t>(used));
}

class Compressor {
 public:
  explicit Compressor(std::vector<std::uint8_t>& out) {
    installTrap(trap_);
    info_.err = &trap_.manager;
    destination_.out = &out;
    destination_.manager.init_destination = startChunk;
    destination_.manager.empty_output_buffer = flushChunk;
    destination_.manager.term_destination = finishChunks;
  }
  ~Compressor() { jpeg_destroy_compress(&info_); }
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;

  int run(const DecodedPicture& picture, int quality) {
    if (setjmp(trap_.jump) != 0) return trap_.code;
    jpeg_create_compress(&info_);
    info_.dest = &destination_.manager;
    info_.image_width = picture.width;
    info_.image_height = picture.height;
    info_.input_components = 3;
    info_.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info_);
    jpeg_set_quality(&info_, quality, TRUE);
    jpeg_start_compress(&info_, TRUE);
    const std::size_t rowBytes = std::size_t{picture.width} * 3;
    while (info_.next_scanline < info_.image_height) {
      // libjpeg takes rows as non-const pointers but only reads them.
      JSAMPROW row = const_cast<JSAMPROW>(picture.pixels.data() + info_.next_scanline * rowBytes);
      jpeg_write_scanlines(&info_, &row, 1);
    }
    jpeg_finish_compress(&info_);
    return 0;
  }

 private:
  jpeg_compress_struct info_{};
  ErrorTrap trap_{};
  VectorDestination destination_{};
};

}  // namespace

std::optional<JpegParameters> readJpegParameters(std::span<const std::uint8_t> jpeg) {
  JpegParameters parameters;
  Decompressor decompressor;
  if (!decompressor.run(jpeg, parameters, nullptr)) return std::nullopt;
  return parameters;
}

std::optional<DecodedPicture> decodeJpeg(std::span<const std::uint8_t> jpeg,
                                         std::uint32_t eighths) {
  JpegParameters parameters;
  DecodedPicture picture;
  Decompressor decompressor;
  if (!decompressor.run(jpeg, parameters, &picture, eighths)) return std::nullopt;
  return picture;
}

int encodeJpeg(const DecodedPicture& picture, int quality, std::vector<std::uint8_t>& out) {
  out.clear();
  const std::uint64_t pixels = std::uint64_t{picture.width} * picture.height;
  if (pixels == 0 || pixels > kMaxJpegPixels || picture.channels != 3 ||
      picture.pixels.size() != pixels * 3)
    return kJpegBadInput;
  Compressor compressor(out);
  const int code = compressor.run(picture, quality);
  if (code != 0) out.clear();
  return code;
}

std::optional<std::vector<std::uint8_t>> readJpegFile(std::u16string_view path) {
  auto file = File::open(path, File::Mode::Read);
  if (!file) return std::nullopt;
  const std::int64_t size = file->size();
  if (size < 0 || static_cast<std::uint64_t>(size) > kMaxJpegFileBytes) return std::nullopt;
  return file->readAt(0, static_cast<std::size_t>(size));
}

}  // namespace tunora
