#pragma once
// The file seam: files opened by 16-bit path, 64-bit positions on every
// platform, the conversions between 16-bit paths and the 8-bit paths of the
// platform (Windows: the system's ANSI code page; elsewhere UTF-8), and the folder work around
// them. Each platform answers in one file: file_win32.cpp, file_posix.cpp.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tunora {

class File {
 public:
  // CreateNew makes a file that must not exist yet, and never through a link:
  // files that replace others are made that way under a fresh name and then
  // moved into place (writeWholeFile). No file is ever written in place.
  enum class Mode { Read, CreateNew };

  // Opens in untranslated byte mode. A directory never opens, and reading
  // takes regular files only: a FIFO or device would block or never end. On failure the reason is
  // left for lastFileError(). One descriptor serves every read: the position is kept here, and
  // reads at an offset go straight to the system, with no buffer in between.
  static std::optional<File> open(std::u16string_view path, Mode mode);

  // Reads up to buffer.size() bytes at the current position; gives the count.
  std::size_t read(std::span<std::uint8_t> buffer);
  // Up to buffer.size() bytes at `offset`, the position unchanged; gives the
  // count, which is short only at the end of the file or on an error.
  std::size_t readAt(std::int64_t offset, std::span<std::uint8_t> buffer);
  // Exactly `count` bytes at `offset`, or nothing when the file has fewer.
  std::optional<std::vector<std::uint8_t>> readAt(std::int64_t offset, std::size_t count);
  bool write(std::span<const std::uint8_t> bytes);
  bool seek(std::int64_t offset);
  std::int64_t tell();
  // The length of the file in bytes, as it was when opened and as written
  // since; -1 if it cannot be told.
  std::int64_t size();
  // Closes; false when that failed. Destruction closes silently.
  bool close();

 private:
  class Descriptor {
   public:
    explicit Descriptor(int value) : value_(value) {}
    Descriptor(Descriptor&& other) noexcept : value_(std::exchange(other.value_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    ~Descriptor();
    int get() const { return value_; }
    int release() { return std::exchange(value_, -1); }

   private:
    int value_;
  };
  File(int descriptor, std::int64_t size) : descriptor_(descriptor), size_(size) {}

  Descriptor descriptor_;
  std::int64_t position_ = 0;
  std::int64_t size_;
};

// The reason of the last failed File::open, e.g. "No such file or directory".
std::string lastFileError();
// The reason given when an existing name is no regular file (a FIFO, device,
// socket or folder where a file was expected).
inline constexpr int kNotRegularFile = -2;
inline constexpr const char* kNotRegularFileText = "not a regular file";

// Separator the platform's file system uses between folders.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// A path of this file system split as it splits it: on Windows as
// fileNameOf and folderOf do; elsewhere at the last "/" alone, since a
// backslash is an ordinary character of a name there.
std::u16string nativeFileNameOf(std::u16string_view path);
std::u16string nativeFolderOf(std::u16string_view path);

// Our paths as std::filesystem paths and back, by the same rules as
// pathToNative and pathFromNative, so that any name of the file system
// survives the trip (the library's own conversion refuses names that are no
// valid Unicode).
std::filesystem::path toFsPath(std::u16string_view path);
std::u16string fromFsPath(const std::filesystem::path& path);

std::u16string pathFromNative(std::string_view path);
std::string pathToNative(std::u16string_view path);

// Whole file, or nothing when it cannot be opened and read.
std::optional<std::vector<std::uint8_t>> readWholeFile(std::u16string_view path);
// Writes a fresh file beside `path` and moves it there, so that nothing is
// ever written through a link planted under that name or onto a device, and
// no reader sees half a file. A name that holds something other than a file
// or a link is left alone (false).
bool writeWholeFile(std::u16string_view path, std::span<const std::uint8_t> bytes);
// The same, but a file that already holds exactly these bytes is left as it
// is: pages rewrite the same covers again and again, and a file truncated and
// written anew is flushed to the disk when it is closed.
bool writeWholeFileIfChanged(std::u16string_view path, std::span<const std::uint8_t> bytes);

// True for a folder we may delete our own files in: on Windows any folder
// that is no link or junction, whatever its other attributes; elsewhere one
// the owner can write to. One trailing separator is allowed.
bool folderExists(std::u16string_view path);
// True if the file can be opened for reading.
bool fileExists(std::u16string_view path);
// Deletes the file; true if afterwards it can no longer be opened.
bool deleteFile(std::u16string_view path);
// The same for 8-bit paths of the platform.
bool folderExists(std::string_view path);
bool fileExists(std::string_view path);
bool deleteFile(std::string_view path);
// Name of a new empty file in the system temporary folder ("tup" prefix).
std::string makeTempFileName();

// A new empty file in `folder` (ending in a separator, or empty for the
// current one) under a fresh short name, ".tunora-" and six letters or
// digits, made exclusively; nothing when none could be made. Until it is moved
// or removed, a program ended by SIGINT or SIGTERM (on Windows: Ctrl-C,
// Ctrl-Break or its console closed) removes it on the way out.
std::optional<std::u16string> createFreshFile(std::u16string_view folder);
// Moves a file made by createFreshFile to `to`, replacing that name.
bool moveFreshFile(std::u16string_view from, std::u16string_view to);
// Removes it again.
void removeFreshFile(std::u16string_view path);

// True for a folder that is no link and belongs to the user running us: only
// such a folder may hold files that are later replaced or deleted by name.
bool isOwnFolder(std::u16string_view path);
// Exactly n bytes from the current position, or nothing.
std::optional<std::vector<std::uint8_t>> readBytes(File& file, std::size_t n);

// The readable file `name` in `folder` (ending in a separator, or empty for
// the current one), or else one whose name differs from it only in the case
// of ASCII letters: files made on Windows spell names as they please
// ("Folder.jpg", "PLEDIT.TXT"), which only a file system that ignores case
// finds without the second look.
std::optional<std::u16string> findFileIgnoringCase(std::u16string_view folder,
                                                   std::u16string_view name);

// Creates the last level of the path (one trailing separator is allowed);
// true when a folder of that name exists afterwards.
bool createFolder(std::u16string_view path);

// Makes a file deletable and writable (on Windows: all attributes cleared);
// a link is left as it is.
void resetFileAttributes(std::u16string_view path);

// The entries of a folder that are not folders, each as folder + name;
// subfolders are not entered. `folder` ends in a separator. Windows gives
// the order of the file system; elsewhere the names are sorted, since the
// system's own order there is arbitrary.
std::vector<std::u16string> listFiles(std::u16string_view folder);

namespace platform {
// A descriptor (-1 with errno set on failure) and, for a file opened to be
// read, its length; a directory fails with EISDIR.
int openFile(std::u16string_view path, File::Mode mode, std::int64_t& size);
// Up to buffer.size() bytes at `offset`; -1 on an error.
std::int64_t readFileAt(int descriptor, std::int64_t offset, std::span<std::uint8_t> buffer);
// Every byte at `offset`, or false.
bool writeFileAt(int descriptor, std::int64_t offset, std::span<const std::uint8_t> bytes);
bool closeFile(int descriptor);
// The test of folderExists; a trailing separator is allowed.
bool isPlainDirectory(std::u16string_view path);
// A new empty file in the system temporary folder, named with the prefix
// "tup"; empty when none could be made.
std::string makeTempFile();
bool removeFile(std::u16string_view path);
// Puts a file in the place of another, replacing it in one step; errno (0 on
// success).
int replaceFile(std::u16string_view from, std::u16string_view to);
// See isOwnFolder.
bool isOwnFolder(std::u16string_view path);
// Fresh files that an end signal must not leave behind, and those no longer
// to remove since they were moved or removed.
void removeAtEndSignal(std::u16string_view path);
void keepAtEndSignal(std::u16string_view path);
}  // namespace platform

}  // namespace tunora
