// tunora tags: the values that the reader of each file's type finds.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/argument_parser.h"
#include "cli/cli.h"
#include "cli/json_writer.h"
#include "cli/plain_text.h"
#include "cli/progress_line.h"
#include "io/file.h"
#include "text/conversions.h"
#include "trackinfo/track_fields.h"
#include "tracks/track_class.h"

namespace tunora {
namespace {

// Each file's fields are written into one buffer as they are read, and the
// buffer goes out whenever it has grown past kFlushSize: the memory the tool
// takes does not grow with the number of files.
constexpr std::size_t kFlushSize = 64 * 1024;

class TagsListing {
 public:
  TagsListing(std::FILE* out, bool json, ProgressLine& progress)
      : out_(out), json_(json), progress_(progress) {
    if (json_) buffer_ += '[';
  }

  void beginFile() {
    if (json_)
      buffer_ += files_ == 0 ? "\n  {" : ",\n  {";
    else if (files_ > 0)
      buffer_ += '\n';
    fields_ = 0;
  }

  void text(std::string_view key, std::u16string_view value) {
    beginField(key);
    if (json_)
      appendJsonString(buffer_, value);
    else
      buffer_ += escapeControls(convertUTF16ToUTF8(value));
    endField();
  }

  // Written as they are in both forms: "true", "false", numbers.
  void plain(std::string_view key, std::string_view value) {
    beginField(key);
    buffer_ += value;
    endField();
  }

  // Seconds with three decimals in both forms; null, or the page's text
  // ("Unknown"), for none.
  void time(std::string_view key, std::optional<std::uint64_t> milliseconds,
            std::u16string_view shown) {
    if (milliseconds)
      plain(key, secondsText(*milliseconds));
    else if (json_)
      plain(key, "null");
    else
      text(key, shown);
  }

  // Lines joined by line breaks; null for none.
  void lines(std::string_view key, const TextLines* value) {
    if (value == nullptr) {
      plain(key, json_ ? "null" : "(none)");
      return;
    }
    beginField(key);
    if (json_) buffer_ += '"';
    for (std::size_t i = 0; i < value->lineCount(); ++i) {
      if (i > 0) buffer_ += json_ ? "\\n" : "\n";
      if (json_)
        appendJsonText(buffer_, *value->line(i));
      else
        appendPlainLine(convertUTF16ToUTF8(*value->line(i)));
    }
    if (json_) buffer_ += '"';
    endField();
  }

  // A message of the system, in its own 8-bit text.
  void message(std::string_view key, const std::string& value) {
    beginField(key);
    if (json_)
      appendJsonString(buffer_, widenLatin1(value));
    else
      buffer_ += value;
    endField();
  }

  void endFile() {
    if (json_) buffer_ += "\n  }";
    ++files_;
    if (buffer_.size() >= kFlushSize) flush();
  }

  void finish() {
    if (json_) buffer_ += files_ == 0 ? "]\n" : "\n]\n";
    flush();
  }

 private:
  void beginField(std::string_view key) {
    if (json_) {
      buffer_ += fields_ == 0 ? "\n    \"" : ",\n    \"";
      buffer_ += key;
      buffer_ += "\": ";
    } else {
      buffer_ += key;
      buffer_ += ": ";
    }
  }

  // The carriage return of a CR LF line break stays what it is.
  void appendPlainLine(std::string line) {
    const bool crlf = !line.empty() && line.back() == '\r';
    if (crlf) line.pop_back();
    buffer_ += escapeControls(line);
    if (crlf) buffer_ += '\r';
  }

  void endField() {
    if (!json_) buffer_ += '\n';
    ++fields_;
  }

  void flush() {
    progress_.clear();
    writeText(out_, buffer_);
    buffer_.clear();
  }

  std::FILE* out_;
  bool json_;
  ProgressLine& progress_;
  std::string buffer_;
  std::size_t files_ = 0;
  std::size_t fields_ = 0;
};

void describe(TagsListing& listing, const Track& track) {
  listing.beginFile();
  for (const TrackField& field : trackFields()) {
    if (field.key.empty()) continue;
    switch (field.format) {
      case FieldFormat::Text:
        listing.text(field.key, field.text(track));
        break;
      case FieldFormat::Flag:
        listing.plain(field.key, field.flag(track) ? "true" : "false");
        break;
      case FieldFormat::Lines:
        listing.lines(field.key, field.lines(track));
        break;
      case FieldFormat::Count:
        listing.plain(field.key, std::to_string(field.count(track)));
        break;
      case FieldFormat::Time:
        listing.time(field.key, field.figure(track), field.text(track));
        break;
    }
  }
}

// The track as its class reads it, through one opening of the file; the
// reason when the file cannot be opened.
std::unique_ptr<TrackInfo> readTrack(const ResolvedEntry& entry,
                                     std::optional<std::string>& error) {
  ReadResult result = ReadResult::Read;
  // Only the picture's size is listed: its bytes are neither kept nor,
  // where the format allows, read.
  auto track = readSupportedTrack(entry, FileTypeSwitches{}, &result, CoverBytes::SizeOnly);
  if (!track) {
    if (!entry.isStream && !File::open(entry.name, File::Mode::Read)) error = lastFileError();
    return std::make_unique<TrackInfo>();
  }
  if (result == ReadResult::NotOpened) error = lastFileError();
  return track;
}

}  // namespace

int runTagsCommand(const CommandLine& args, std::FILE* out, std::FILE* err) {
  bool json = false;
  std::vector<std::u16string> paths;
  ArgumentParser parser;
  parser.flag("--json", json);
  parser.operands(paths);
  if (const auto status = parser.parse(args, out, err)) return *status;
  if (paths.empty()) return argumentError(err, "no music file given");

  int status = 0;
  ProgressLine progress(err, paths.size());
  TagsListing listing(out, json, progress);
  for (const auto& path : paths) {
    std::optional<std::string> error;
    const auto info = readTrack(resolveEntryName(path), error);
    Track track = info->takeTrack();
    // Listed under the name as given, also where the file cannot be read.
    track.fileName = path;
    describe(listing, track);
    if (error) {
      progress.clear();
      writeText(err, "tunora: cannot open '" + escapeControls(convertUTF16ToUTF8(path)) +
                         "': " + *error + "\n");
      listing.message("error", *error);
      status = 1;
    } else if (const auto& warning = info->getReadWarning(); !warning.empty()) {
      // Named, but not failed: the file was read, it just held nothing.
      progress.clear();
      writeText(err,
                "tunora: '" + escapeControls(convertUTF16ToUTF8(path)) + "': " + warning + "\n");
      listing.message("warning", warning);
    }
    listing.endFile();
    progress.advance();
  }
  progress.finish();
  listing.finish();
  return status;
}

}  // namespace tunora
