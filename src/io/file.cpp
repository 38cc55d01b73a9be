#include "io/file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "text/ascii_case.h"
#include "text/path_parts.h"

namespace tunora {
namespace {
thread_local int lastOpenErrno = 0;

// The folder part of a path, with its separator; empty for a bare name.
std::u16string_view folderPartOf(std::u16string_view path) {
  const auto separator = path.find_last_of(kPathSeparator == '\\' ? u"\\/:" : u"/");
  return path.substr(0, separator == path.npos ? 0 : separator + 1);
}

struct FreshFile {
  File file;
  std::u16string path;
};

// Six letters or digits keep the name short: a page name may use all but a
// few of the bytes a name may have, and the fresh one must fit as well.
std::optional<FreshFile> makeFreshFile(std::u16string_view folder) {
  constexpr std::u16string_view kLetters =
      u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937 draw{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
  // A name taken is drawn again; anything else will not be better next time.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::u16string path = std::u16string(folder) + u".tunora-";
    for (int i = 0; i < 6; ++i) path += kLetters[pick(draw)];
    auto file = File::open(path, File::Mode::CreateNew);
    if (file) {
      platform::removeAtEndSignal(path);
      return FreshFile{std::move(*file), std::move(path)};
    }
    if (lastOpenErrno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

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
  if (lastOpenErrno == kNotRegularFile) return kNotRegularFileText;
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
  namespace fs = std::filesystem;
  std::error_code failed;
  const fs::file_type kind = fs::symlink_status(toFsPath(path), failed).type();
  if (kind != fs::file_type::not_found && kind != fs::file_type::regular &&
      kind != fs::file_type::symlink) {
    lastOpenErrno = kind == fs::file_type::directory ? EISDIR : kNotRegularFile;
    return false;
  }
  auto fresh = makeFreshFile(folderPartOf(path));
  if (!fresh) return false;
  errno = 0;
  const bool written = fresh->file.write(bytes) && fresh->file.close();
  if (!written) lastOpenErrno = errno != 0 ? errno : EIO;
  if (written && moveFreshFile(fresh->path, path)) return true;
  removeFreshFile(fresh->path);
  return false;
}

bool writeWholeFileIfChanged(std::u16string_view path, std::span<const std::uint8_t> bytes) {
  // A link holding the same bytes is still replaced: what it points to may
  // change later.
  std::error_code failed;
  const bool plainFile =
      std::filesystem::is_regular_file(std::filesystem::symlink_status(toFsPath(path), failed));
  if (auto file = plainFile ? File::open(path, File::Mode::Read) : std::nullopt;
      file && file->size() == std::ssize(bytes)) {
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

std::optional<std::u16string> createFreshFile(std::u16string_view folder) {
  auto fresh = makeFreshFile(folder);
  if (!fresh) return std::nullopt;
  return std::move(fresh->path);
}

bool moveFreshFile(std::u16string_view from, std::u16string_view to) {
  if (const int failed = platform::replaceFile(from, to); failed != 0) {
    lastOpenErrno = failed;
    return false;
  }
  platform::keepAtEndSignal(from);
  return true;
}

void removeFreshFile(std::u16string_view path) {
  platform::removeFile(path);
  platform::keepAtEndSignal(path);
}

std::optional<std::u16string> findFileIgnoringCase(std::u16string_view folder,
                                                   std::u16string_view name) {
  const std::u16string exact = std::u16string(folder) + std::u16string(name);
  if (fileExists(exact)) return exact;
  const std::u16string wanted = toLowerAscii(name);
  for (const std::u16string& entry : listFiles(folder))
    if (toLowerAscii(std::u16string_view(entry).substr(folder.size())) == wanted &&
        fileExists(entry))
      return entry;
  return std::nullopt;
}

bool isOwnFolder(std::u16string_view path) {
  return platform::isOwnFolder(path);
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
