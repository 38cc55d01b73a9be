#pragma once
// A file's bytes as the tag locators ask for them: blocks at offsets and of
// sizes that come from the file itself. A block the file does not hold gives
// nothing, never an allocation; reads are served from a window at each end
// of the file, where the tags sit, and one for blocks further from the
// start, so that the many small reads of the locators cost a few system
// calls.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "io/file.h"
#include "text/byte_reader.h"

namespace tunora {

class FileBlocks {
 public:
  // `length` is the file's length as the caller found it.
  FileBlocks(File& file, std::int64_t length) : file_(file), length_(length) {}

  std::int64_t length() const { return length_; }
  // Exactly `count` bytes at `offset`, or nothing when the file does not hold
  // them. The view stays valid until the next read.
  std::optional<Bytes> read(std::int64_t offset, std::uint64_t count);

 private:
  // The bytes are read straight into storage that is never cleared first:
  // a window holds tens of kilobytes, and zeroing them cost as much as
  // reading them.
  struct Window {
    std::int64_t offset = 0;
    std::size_t size = 0;
    std::size_t capacity = 0;
    std::unique_ptr<std::uint8_t[]> storage;
    std::optional<Bytes> view(std::int64_t start, std::uint64_t count) const;
    void reserve(std::size_t count);
  };
  bool fill(Window& window, std::int64_t offset, std::int64_t end);

  File& file_;
  std::int64_t length_;
  Window head_;
  Window tail_;
  Window far_;
};

// An owned copy of a block, for callers that keep it beyond the next read.
inline std::optional<std::vector<std::uint8_t>> copyOf(const std::optional<Bytes>& block) {
  if (!block) return std::nullopt;
  return std::vector<std::uint8_t>(block->begin(), block->end());
}

}  // namespace tunora
