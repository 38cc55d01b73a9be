// tunora tags: the values that the reader of each file's type finds.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/argument_parser.h"
#include "cli/cli.h"
#include "cli/csv_field.h"
#include "cli/folder_walk.h"
#include "cli/json_writer.h"
#include "cli/listed_value.h"
#include "cli/listing_format.h"
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

enum class ListingForm { Plain, Json, Csv, Format };

// The fields a listing has, in its order: those with a key.
template <typename Visit>
void forEachListedField(Visit visit) {
  for (const TrackField& field : trackFields())
    if (!field.key.empty()) visit(field);
}

class TagsListing {
 public:
  TagsListing(std::FILE* out, ListingForm form, const ListingFormat* format, ProgressLine& progress)
      : out_(out), form_(form), format_(format), progress_(progress) {
    if (form_ == ListingForm::Json) {
      buffer_ += '[';
      forEachListedField(
          [&](const TrackField& field) { jsonMembers_.push_back(jsonMember(field.key)); });
    }
    if (form_ == ListingForm::Csv) csvHeader();
  }

  // The file's values; a file that could not be opened has its reason, one
  // read without finding anything its warning.
  void file(const Track& track, const std::optional<std::string>& error,
            const std::string& warning) {
    switch (form_) {
      case ListingForm::Plain:
        plainFile(track, error, warning);
        break;
      case ListingForm::Json:
        jsonFile(track, error, warning);
        break;
      case ListingForm::Csv:
        csvRecord(track);
        break;
      case ListingForm::Format:
        buffer_ += format_->line(track);
        buffer_ += '\n';
        break;
    }
    ++files_;
    if (buffer_.size() >= kFlushSize) flush();
  }

  void finish() {
    if (form_ == ListingForm::Json) buffer_ += files_ == 0 ? "]\n" : "\n]\n";
    flush();
  }

 private:
  void plainFile(const Track& track, const std::optional<std::string>& error,
                 const std::string& warning) {
    if (files_ > 0) buffer_ += '\n';
    forEachListedField([&](const TrackField& field) {
      buffer_ += field.key;
      buffer_ += ": ";
      const ListedValue value = listedValue(field, track, scratch_);
      if (value.kind == ListedValue::Kind::Literal)
        buffer_ += convertUTF16ToUTF8(value.text);
      else if (value.kind == ListedValue::Kind::None)
        // A playing time shows as the page shows it; lines show as none.
        buffer_ += field.format == FieldFormat::Time
                       ? escapeControls(convertUTF16ToUTF8(field.textOf(track)))
                       : "(none)";
      else if (field.format == FieldFormat::Lines)
        appendIndentedLines(value.text, field.key.size() + 2);
      else
        buffer_ += escapeControls(convertUTF16ToUTF8(value.text));
      buffer_ += '\n';
    });
    if (error) buffer_ += "error: " + *error + "\n";
    if (!error && !warning.empty()) buffer_ += "warning: " + warning + "\n";
  }

  // The lines after the first start at the column where the value started,
  // so that no line of a comment or of lyrics reads as the next field, and
  // no empty one as the end of the file's listing.
  void appendIndentedLines(std::u16string_view text, std::size_t indent) {
    bool first = true;
    while (true) {
      const std::size_t end = text.find(u'\n');
      if (!first) buffer_.append(indent, ' ');
      first = false;
      std::string line = convertUTF16ToUTF8(text.substr(0, end));
      // The carriage return of a CR LF line break stays what it is.
      const bool crlf = !line.empty() && line.back() == '\r';
      if (crlf) line.pop_back();
      buffer_ += escapeControls(line);
      if (crlf) buffer_ += '\r';
      if (end == text.npos) return;
      buffer_ += '\n';
      text.remove_prefix(end + 1);
    }
  }

  void jsonFile(const Track& track, const std::optional<std::string>& error,
                const std::string& warning) {
    buffer_ += files_ == 0 ? "\n  {" : ",\n  {";
    // Each member's separator, indent and key in one piece; the first has no
    // comma.
    std::size_t index = 0;
    forEachListedField([&](const TrackField& field) {
      buffer_.append(jsonMembers_[index], index == 0 ? 1 : 0);
      ++index;
      if (const TextLines* lines =
              field.format == FieldFormat::Lines ? field.lines(track) : nullptr) {
        buffer_ += '"';
        forEachListedLine(*lines, [&](std::u16string_view line, bool first) {
          if (!first) buffer_.append("\\n", 2);
          appendJsonText(buffer_, line);
        });
        buffer_ += '"';
        return;
      }
      const ListedValue value = listedValue(field, track, scratch_);
      if (value.kind == ListedValue::Kind::Text)
        appendJsonString(buffer_, value.text);
      else if (value.kind == ListedValue::Kind::Literal)
        buffer_ += convertUTF16ToUTF8(value.text);
      else
        buffer_ += "null";
    });
    // Messages of the system, in its own 8-bit text.
    if (error || !warning.empty()) {
      buffer_ += jsonMember(error ? "error" : "warning");
      appendJsonString(buffer_, widenLatin1(error ? *error : warning));
    }
    buffer_ += "\n  }";
  }

  static std::string jsonMember(std::string_view key) {
    return ",\n    \"" + std::string(key) + "\": ";
  }

  // RFC 4180: a header of the keys, fields quoted where they must be, CR LF
  // after each record.
  void csvHeader() {
    bool first = true;
    forEachListedField([&](const TrackField& field) {
      if (!first) buffer_ += ',';
      first = false;
      buffer_ += field.key;
    });
    buffer_ += "\r\n";
  }

  void csvRecord(const Track& track) {
    bool first = true;
    forEachListedField([&](const TrackField& field) {
      if (!first) buffer_ += ',';
      first = false;
      const ListedValue value = listedValue(field, track, scratch_);
      if (value.kind != ListedValue::Kind::None)
        buffer_ += csvField(escapeControlsKeepingLineBreaks(convertUTF16ToUTF8(value.text)));
    });
    buffer_ += "\r\n";
  }

  void flush() {
    progress_.clear();
    writeText(out_, buffer_);
    buffer_.clear();
  }

  std::FILE* out_;
  ListingForm form_;
  const ListingFormat* format_;
  ProgressLine& progress_;
  std::string buffer_;
  std::vector<std::string> jsonMembers_;
  // Where a listed value that the track does not hold is made.
  std::u16string scratch_;
  std::size_t files_ = 0;
};

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

// The operands, each folder among them replaced by the music files in it and
// in every folder below; a folder that cannot be listed makes the status 1.
std::vector<std::u16string> listedFiles(const std::vector<std::u16string>& operands, bool recursive,
                                        std::FILE* err, int& status) {
  if (!recursive) return operands;
  std::vector<std::u16string> files;
  const WalkNote note = [err](const std::string& text) {
    writeText(err, "tunora: " + text + "\n");
  };
  for (const std::u16string& operand : operands) {
    std::error_code ignored;
    if (!std::filesystem::is_directory(toFsPath(operand), ignored)) {
      files.push_back(operand);
      continue;
    }
    FolderListing listing = musicFilesIn(operand, true, FileTypeSwitches{}, note);
    if (listing.someUnread) status = 1;
    for (std::u16string& file : listing.files) files.push_back(std::move(file));
  }
  return files;
}

}  // namespace

int runTagsCommand(const CommandLine& args, std::FILE* out, std::FILE* err) {
  bool json = false;
  bool csv = false;
  bool recursive = false;
  std::optional<std::u16string> formatText;
  std::vector<std::u16string> operands;
  ArgumentParser parser;
  parser.flag("--json", json);
  parser.flag("--csv", csv);
  parser.option("--format", formatText);
  parser.flag("--recursive", recursive);
  parser.operands(operands);
  if (const auto status = parser.parse(args, out, err)) return *status;
  if (int{json} + int{csv} + int{formatText.has_value()} > 1)
    return argumentError(err, "--json, --csv and --format exclude each other");
  if (operands.empty()) return argumentError(err, "no music file given");

  int status = 0;
  const std::vector<std::u16string> paths = listedFiles(operands, recursive, err, status);
  std::optional<ListingFormat> format;
  if (formatText) format.emplace(*formatText);
  const ListingForm form = json         ? ListingForm::Json
                           : csv        ? ListingForm::Csv
                           : formatText ? ListingForm::Format
                                        : ListingForm::Plain;
  ProgressLine progress(err, paths.size());
  TagsListing listing(out, form, format ? &*format : nullptr, progress);
  for (const auto& path : paths) {
    std::optional<std::string> error;
    const auto info = readTrack(resolveEntryName(path), error);
    Track track = info->takeTrack();
    // Listed under the name as given, also where the file cannot be read.
    track.fileName = path;
    const std::string warning = error ? std::string() : info->getReadWarning();
    if (error) {
      progress.clear();
      writeText(err, "tunora: cannot open '" + escapeControls(convertUTF16ToUTF8(path)) +
                         "': " + *error + "\n");
      status = 1;
    } else if (!warning.empty()) {
      // Named, but not failed: the file was read, it just held nothing.
      progress.clear();
      writeText(err,
                "tunora: '" + escapeControls(convertUTF16ToUTF8(path)) + "': " + warning + "\n");
    }
    listing.file(track, error, warning);
    progress.advance();
  }
  progress.finish();
  listing.finish();
  return status;
}

}  // namespace tunora
