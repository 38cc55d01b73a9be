#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "io/file.h"
#include "text/conversions.h"
#include "text/unit_blocks.h"
#include "text/utf8_encoding.h"

namespace tunora {
namespace {

std::string withoutTrailingSeparator(std::u16string_view path) {
  std::string native = pathToNative(path);
  if (native.size() > 1 && native.back() == '/') native.pop_back();
  return native;
}

bool isFolder(const std::string& native) {
  struct stat info {};
  return stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// The length of the well-formed UTF-8 sequence at `at` (RFC 3629: no overlong
// forms, no surrogates, nothing above U+10FFFF), or 0.
std::size_t wellFormedLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return at + i < text.size() ? static_cast<std::uint8_t>(text[at + i]) : 0;
  };
  const auto continuation = [](std::uint8_t b, std::uint8_t low = 0x80, std::uint8_t high = 0xBF) {
    return b >= low && b <= high;
  };
  const std::uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(byte(1)) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    const std::uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
    const std::uint8_t high = lead == 0xED ? 0x9F : 0xBF;
    return continuation(byte(1), low, high) && continuation(byte(2)) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const std::uint8_t low = lead == 0xF0 ? 0x90 : 0x80;
    const std::uint8_t high = lead == 0xF4 ? 0x8F : 0xBF;
    return continuation(byte(1), low, high) && continuation(byte(2)) && continuation(byte(3)) ? 4
                                                                                              : 0;
  }
  return 0;
}

// The fresh files a SIGINT or SIGTERM removes before the process ends. The
// handler may only read fixed memory: each slot holds a whole path, and is
// marked ready only once its path is complete.
enum SlotState : int { kFree, kFilling, kReady };
constexpr std::size_t kSlotBytes = 4096;
struct EndSignalSlot {
  std::atomic<int> state{kFree};
  std::array<char, kSlotBytes> path{};
};
std::array<EndSignalSlot, 16> endSignalSlots;

void removeFreshFilesAndEnd(int signal) {
  for (EndSignalSlot& slot : endSignalSlots)
    if (slot.state.load() == kReady) ::unlink(slot.path.data());
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

// Only where the signal would end the process anyway: a caller that handles
// it (follow does, through its event loop) keeps its own way.
void installEndSignalHandler() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    for (const int signal : {SIGINT, SIGTERM}) {
      struct sigaction current {};
      if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
      struct sigaction handler {};
      handler.sa_handler = removeFreshFilesAndEnd;
      sigemptyset(&handler.sa_mask);
      sigaction(signal, &handler, nullptr);
    }
  });
}

}  // namespace

// Linux names are bytes, usually UTF-8 but not always: a byte that is no part
// of a well-formed UTF-8 sequence becomes the lone surrogate U+DC00 + byte and
// turns back into that byte, so that every name round-trips. Text for people
// shows such a unit as U+FFFD.
std::u16string pathFromNative(std::string_view path) {
  // Never more units than bytes: written in place, then cut to length.
  std::u16string wide(path.size(), u'\0');
  char16_t* at = wide.data();
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t ascii = widenAsciiRun(path, i, at);
    at += ascii;
    i += ascii;
    if (i == path.size()) break;
    const auto lead = static_cast<std::uint8_t>(path[i]);
    const std::size_t length = wellFormedLength(path, i);
    if (length == 0) {
      *at++ = static_cast<char16_t>(0xDC00 + lead);
      ++i;
      continue;
    }
    // The lead's payload bits, then six from each continuation byte.
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k)
      code = code << 6 | (static_cast<std::uint8_t>(path[i + k]) & 0x3F);
    if (code >= 0x10000) {
      *at++ = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      *at++ = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      *at++ = static_cast<char16_t>(code);
    }
    i += length;
  }
  wide.resize(static_cast<std::size_t>(at - wide.data()));
  return wide;
}

std::filesystem::path toFsPath(std::u16string_view path) {
  return std::filesystem::path(pathToNative(path));
}

std::u16string fromFsPath(const std::filesystem::path& path) {
  return pathFromNative(path.native());
}

std::string pathToNative(std::u16string_view path) {
  path = untilNul(path);
  std::string native(path.size() * kMaxUTF8BytesPerUnit, '\0');
  char* at = native.data();
  for (std::size_t i = 0; i < path.size(); ++i) {
    const std::size_t ascii = unit_blocks::narrowAsciiRun(path.substr(i), at);
    at += ascii;
    i += ascii;
    if (i == path.size()) break;
    char32_t code = path[i];
    if (isHighSurrogate(code) && i + 1 < path.size() && isLowSurrogate(path[i + 1])) {
      code = combineSurrogates(code, path[i + 1]);
      ++i;
    } else if (code >= 0xDC80 && code <= 0xDCFF) {
      // A byte of the name that was not UTF-8 goes back as it came.
      *at++ = static_cast<char>(code - 0xDC00);
      continue;
    } else if (isHighSurrogate(code) || isLowSurrogate(code)) {
      code = 0xFFFD;
    }
    at = encodeUTF8(code, at);
  }
  native.resize(static_cast<std::size_t>(at - native.data()));
  return native;
}

bool createFolder(std::u16string_view path) {
  const std::string native = withoutTrailingSeparator(path);
  if (native.empty()) return false;
  mkdir(native.c_str(), 0755);
  return isFolder(native);
}

// Files are replaced by moving a new one over them, which their own mode does
// not prevent; the mode is only mended where that can be done on the file
// itself, never on what a link points to.
void resetFileAttributes(std::u16string_view path) {
  const std::string native = pathToNative(path);
  const int descriptor = ::open(native.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return;
  struct stat info {};
  constexpr mode_t kReadWrite = S_IRUSR | S_IWUSR;
  if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) &&
      (info.st_mode & kReadWrite) != kReadWrite)
    fchmod(descriptor, (info.st_mode & 07777) | kReadWrite);
  ::close(descriptor);
}

std::vector<std::u16string> listFiles(std::u16string_view folder) {
  const std::string native = pathToNative(folder);
  std::unique_ptr<DIR, DirCloser> dir(opendir(native.empty() ? "." : native.c_str()));
  std::vector<std::string> names;
  if (!dir) return {};
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!isFolder(native + name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  std::vector<std::u16string> files;
  files.reserve(names.size());
  for (const auto& name : names) files.push_back(std::u16string(folder) + pathFromNative(name));
  return files;
}

namespace platform {

// Opening never waits: a FIFO or a device would hold the open (or the
// reads) for ever. What opens is checked to be a regular file before use.
int openFile(std::u16string_view path, File::Mode mode, std::int64_t& size) {
  const std::string native = pathToNative(path);
  const int flags =
      mode == File::Mode::CreateNew ? O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW : O_RDONLY;
  const int descriptor = ::open(native.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (descriptor < 0) return -1;
  struct stat info {};
  const bool stated = fstat(descriptor, &info) == 0;
  if (!stated || !S_ISREG(info.st_mode)) {
    const int reason = !stated ? errno : S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile;
    ::close(descriptor);
    errno = reason;
    return -1;
  }
  size = mode == File::Mode::Read ? static_cast<std::int64_t>(info.st_size) : 0;
  return descriptor;
}

std::int64_t readFileAt(int descriptor, std::int64_t offset, std::span<std::uint8_t> buffer) {
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t count = ::pread(descriptor, buffer.data() + done, buffer.size() - done,
                                  static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return done > 0 ? static_cast<std::int64_t>(done) : -1;
    if (count == 0) break;
    done += static_cast<std::size_t>(count);
  }
  return static_cast<std::int64_t>(done);
}

bool writeFileAt(int descriptor, std::int64_t offset, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t count = ::pwrite(descriptor, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    done += static_cast<std::size_t>(count);
  }
  return true;
}

bool closeFile(int descriptor) {
  return ::close(descriptor) == 0;
}

bool isPlainDirectory(std::u16string_view path) {
  struct stat info {};
  // A directory the owner cannot write to is the counterpart of a read-only one.
  return stat(withoutTrailingSeparator(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         (info.st_mode & S_IWUSR);
}

std::string makeTempFile() {
  const char* folder = std::getenv("TMPDIR");
  std::string name =
      std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/tupXXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) return {};
  ::close(fd);
  return name;
}

bool removeFile(std::u16string_view path) {
  return ::unlink(pathToNative(path).c_str()) == 0;
}

int replaceFile(std::u16string_view from, std::u16string_view to) {
  return ::rename(pathToNative(from).c_str(), pathToNative(to).c_str()) == 0 ? 0 : errno;
}

bool isOwnFolder(std::u16string_view path) {
  struct stat info {};
  return lstat(withoutTrailingSeparator(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == geteuid();
}

void removeAtEndSignal(std::u16string_view path) {
  installEndSignalHandler();
  const std::string native = pathToNative(path);
  if (native.size() >= kSlotBytes) return;
  for (EndSignalSlot& slot : endSignalSlots) {
    int free = kFree;
    if (!slot.state.compare_exchange_strong(free, kFilling)) continue;
    std::memcpy(slot.path.data(), native.c_str(), native.size() + 1);
    slot.state.store(kReady);
    return;
  }
}

void keepAtEndSignal(std::u16string_view path) {
  const std::string native = pathToNative(path);
  for (EndSignalSlot& slot : endSignalSlots) {
    int ready = kReady;
    if (slot.state.load() == kReady && native == slot.path.data())
      slot.state.compare_exchange_strong(ready, kFree);
  }
}

}  // namespace platform
}  // namespace tunora
