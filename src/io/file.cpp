#include "io/file.h"

#include "text/helpers.h"

#include <cerrno>
#include <cstring>

namespace tunora {
namespace {
int lastOpenErrno = 0;
}

std::optional<File> File::open(std::u16string_view path, Mode mode) {
  errno = 0;
  std::FILE* handle = platform::openFile(path, mode);
  if (handle == nullptr) {
    lastOpenErrno = errno != 0 ? errno : ENOENT;
    return std::nullopt;
  }
  return File(handle);
}

std::string lastFileError() {
  return std::strerror(lastOpenErrno);
}

std::size_t File::read(std::span<std::uint8_t> buffer) {
  if (!file_ || buffer.empty()) return 0;
  return std::fread(buffer.data(), 1, buffer.size(), file_.get());
}

std::optional<std::vector<std::uint8_t>> File::readAt(std::int64_t offset, std::size_t count) {
  const std::int64_t length = size();
  if (offset < 0 || length < 0 || offset > length ||
      static_cast<std::uint64_t>(length - offset) < count || !seek(offset))
    return std::nullopt;
  std::vector<std::uint8_t> bytes(count);
  if (read(bytes) != count) return std::nullopt;
  return bytes;
}

bool File::write(std::span<const std::uint8_t> bytes) {
  if (!file_) return false;
  return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) == bytes.size();
}

bool File::seek(std::int64_t offset) {
  return file_ && platform::seekFile(file_.get(), offset, SEEK_SET);
}

std::int64_t File::tell() {
  return file_ ? platform::tellFile(file_.get()) : -1;
}

std::int64_t File::size() {
  if (!file_) return -1;
  const std::int64_t here = tell();
  if (here < 0 || !platform::seekFile(file_.get(), 0, SEEK_END)) return -1;
  const std::int64_t end = tell();
  platform::seekFile(file_.get(), here, SEEK_SET);
  return end;
}

bool File::close() {
  if (!file_) return false;
  return std::fclose(file_.release()) == 0;
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
