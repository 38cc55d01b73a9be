#include "io/file_blocks.h"

#include <algorithm>
#include <cstring>

namespace tunora {
namespace {

// The tail window covers at least the last 4 KB: ID3v1, Lyrics3 and APEv2
// all end there. Head reads take 4 KB more than asked, which holds the first
// frame header and the Xing header behind a tag.
constexpr std::int64_t kTailWindow = 4096;
constexpr std::int64_t kReadAhead = 4096;
constexpr std::int64_t kKeptBefore = 64 * 1024;

}  // namespace

std::optional<Bytes> FileBlocks::Window::view(std::int64_t start, std::uint64_t count) const {
  if (start < offset) return std::nullopt;
  return subspan(Bytes(storage.get(), size), static_cast<std::uint64_t>(start - offset), count);
}

void FileBlocks::Window::reserve(std::size_t count) {
  if (count <= capacity) return;
  auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(count);
  if (size > 0) std::memcpy(larger.get(), storage.get(), size);
  storage = std::move(larger);
  capacity = count;
}

bool FileBlocks::fill(Window& window, std::int64_t offset, std::int64_t end) {
  // Bytes the window already holds are not read again: a tag header and then
  // the whole tag, a scan's overlapping blocks. A block at most kReadAhead
  // bytes past the window extends it over the gap, and up to kKeptBefore
  // bytes in front of the block stay, for blocks that are read again later
  // (a picture kept, read once its frame was chosen). A block further on
  // starts a new window: the bytes between, a picture the caller skips, are
  // not read.
  std::size_t kept = 0;
  const std::int64_t held = window.offset + static_cast<std::int64_t>(window.size);
  if (window.size > 0 && offset >= window.offset && offset <= held + kReadAhead) {
    const std::int64_t start = std::max(window.offset, offset - kKeptBefore);
    const auto dropped = static_cast<std::size_t>(start - window.offset);
    window.size -= dropped;
    if (window.size > 0)
      std::memmove(window.storage.get(), window.storage.get() + dropped, window.size);
    window.offset = start;
    kept = std::min(window.size, static_cast<std::size_t>(end - start));
  } else {
    window.offset = offset;
    window.size = 0;
  }
  const auto wanted = static_cast<std::size_t>(end - window.offset);
  window.reserve(wanted);
  window.size = wanted;
  const std::span<std::uint8_t> missing(window.storage.get() + kept, wanted - kept);
  if (file_.readAt(window.offset + static_cast<std::int64_t>(kept), missing) == missing.size())
    return true;
  window.size = 0;
  return false;
}

std::optional<Bytes> FileBlocks::read(std::int64_t offset, std::uint64_t count) {
  if (offset < 0 || offset > length_ || count > static_cast<std::uint64_t>(length_ - offset) ||
      count > SIZE_MAX)
    return std::nullopt;
  for (const Window* window : {&tail_, &head_, &far_})
    if (const auto bytes = window->view(offset, count)) return bytes;
  const std::int64_t end = offset + static_cast<std::int64_t>(count);
  if (end > length_ - kTailWindow) {
    if (!fill(tail_, std::min(offset, std::max<std::int64_t>(0, length_ - kTailWindow)), length_))
      return std::nullopt;
    return tail_.view(offset, count);
  }
  // A block that does not reach the head window from behind it goes to a
  // window of its own, and the head stays for the blocks that are read
  // again: an MP4 reader looks at the media data's header far on, then goes
  // back to the movie's tracks.
  const std::int64_t headEnd = head_.offset + static_cast<std::int64_t>(head_.size);
  Window& window = head_.size == 0 || offset <= headEnd + kReadAhead ? head_ : far_;
  if (!fill(window, offset, std::min(length_, end + kReadAhead))) return std::nullopt;
  return window.view(offset, count);
}

}  // namespace tunora
