#include "io/file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "text/helpers.h"

namespace tunora {
namespace {
int lastOpenErrno = 0;
}

File::Descriptor& File::Descriptor::operator=(Descriptor&& other) noexcept {
  if (this != &other) {
    if (value_ >= 0) platform::closeFile(value_);
    value_ = std::exchange(other.value_, -1);
  }
  return *this;
}

File::Descriptor::~Descriptor() {
  if (value_ >= 0) platform::closeFile(value_);
}

std::optional<File> File::open(std::u16string_view path, Mode mode) {
  errno = 0;
  std::int64_t size = 0;
  const int descriptor = platform::openFile(path, mode, size);
  if (descriptor < 0) {
    lastOpenErrno = errno != 0 ? errno : ENOENT;
    return std::nullopt;
  }
  return File(descriptor, size);
}

std::string lastFileError() {
  return std::strerror(lastOpenErrno);
}

std::size_t File::read(std::span<std::uint8_t> buffer) {
  const std::size_t count = readAt(position_, buffer);
  position_ += static_cast<std::int64_t>(count);
  return count;
}

std::size_t File::readAt(std::int64_t offset, std::span<std::uint8_t> buffer) {
  if (descriptor_.get() < 0 || buffer.empty() || offset < 0) return 0;
  const std::int64_t count = platform::readFileAt(descriptor_.get(), offset, buffer);
  return count < 0 ? 0 : static_cast<std::size_t>(count);
}

std::optional<std::vector<std::uint8_t>> File::readAt(std::int64_t offset, std::size_t count) {
  if (offset < 0 || size_ < 0 || offset > size_ ||
      static_cast<std::uint64_t>(size_ - offset) < count)
    return std::nullopt;
  std::vector<std::uint8_t> bytes(count);
  if (readAt(offset, bytes) != count) return std::nullopt;
  return bytes;
}

bool File::write(std::span<const std::uint8_t> bytes) {
  if (descriptor_.get() < 0) return false;
  if (bytes.empty()) return true;
  if (!platform::writeFileAt(descriptor_.get(), position_, bytes)) return false;
  position_ += static_cast<std::int64_t>(bytes.size());
  size_ = std::max(size_, position_);
  return true;
}

bool File::seek(std::int64_t offset) {
  if (descriptor_.get() < 0 || offset < 0) return false;
  position_ = offset;
  return true;
}

std::int64_t File::tell() {
  return descriptor_.get() < 0 ? -1 : position_;
}

std::int64_t File::size() {
  return descriptor_.get() < 0 ? -1 : size_;
}

bool File::close() {
  if (descriptor_.get() < 0) return false;
  return platform::closeFile(descriptor_.release());
}

std::optional<std::vector<std::uint8_t>> readWholeFile(std::u16string_view path) {
  auto file = File::open(path, File::Mode::Read);
  if (!file) return std::nullopt;
  const std::int64_t length = file->size();
  if (length < 0) return std::nullopt;
  return file->readAt(0, static_cast<std::size_t>(length));
}

bool writeWholeFile(std::u16string_view path, std::span<const std::uint8_t> bytes) {
  auto file = File::open(path, File::Mode::Write);
  if (!file) return false;
  const bool written = file->write(bytes);
  return file->close() && written;
}

bool writeWholeFileIfChanged(std::u16string_view path, std::span<const std::uint8_t> bytes) {
  if (auto file = File::open(path, File::Mode::Read); file && file->size() == std::ssize(bytes)) {
    const auto held = file->readAt(0, bytes.size());
    if (held && std::equal(held->begin(), held->end(), bytes.begin(), bytes.end())) return true;
  }
  return writeWholeFile(path, bytes);
}

bool folderExists(std::u16string_view path) {
  return platform::isPlainDirectory(path);
}

bool fileExists(std::u16string_view path) {
  return File::open(path, File::Mode::Read).has_value();
}

bool deleteFile(std::u16string_view path) {
  platform::removeFile(path);
  return !fileExists(path);
}

bool folderExists(std::string_view path) {
  return folderExists(pathFromNative(path));
}

bool fileExists(std::string_view path) {
  return fileExists(pathFromNative(path));
}

bool deleteFile(std::string_view path) {
  return deleteFile(pathFromNative(path));
}

std::string makeTempFileName() {
  return platform::makeTempFile();
}

std::optional<std::vector<std::uint8_t>> readBytes(File& file, std::size_t n) {
  const std::int64_t here = file.tell();
  if (here < 0) return std::nullopt;
  return file.readAt(here, n);
}

std::u16string nativeFileNameOf(std::u16string_view path) {
  if (kPathSeparator == '\\') return fileNameOf(path);
  const auto slash = path.rfind(u'/');
  return std::u16string(slash == path.npos ? path : path.substr(slash + 1));
}

std::u16string nativeFolderOf(std::u16string_view path) {
  if (kPathSeparator == '\\') return folderOf(path);
  const auto slash = path.rfind(u'/');
  return std::u16string(slash == path.npos ? path : path.substr(0, slash + 1));
}

}  // namespace tunora
