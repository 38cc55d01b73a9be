// tunora tags: the values that the reader of each file's type finds.

#include <algorithm>
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
#include "cli/ordered_work.h"
#include "cli/plain_text.h"
#include "cli/progress_line.h"
#include "io/file.h"
#include "text/conversions.h"
#include "trackinfo/track_fields.h"
#include "tracks/track_class.h"

namespace tunora {
namespace {

enum class ListingForm { Plain, Json, Csv, Format };

// The fields a listing has, in its order: those with a key.
template <typename Visit>
void forEachListedField(Visit visit) {
  for (const TrackField& field : trackFields())
    if (!field.key.empty()) visit(field);
}

// A JSON member's separator, indent and key in one piece; the first member
// leaves out the comma.
std::string jsonMember(std::string_view key) {
  return ",\n    \"" + std::string(key) + "\": ";
}

std::vector<std::string> jsonMembers() {
  std::vector<std::string> members;
  forEachListedField([&](const TrackField& field) { members.push_back(jsonMember(field.key)); });
  return members;
}

// One file's record in the listing's form, without what separates it from
// the record before. Each of the listing's threads has its own.
class RecordWriter {
 public:
  RecordWriter(ListingForm form, const ListingFormat* format,
               const std::vector<std::string>& jsonMembers)
      : form_(form), format_(format), jsonMembers_(jsonMembers) {}

  // The file's values; a file that could not be opened has its reason, one
  // read without finding anything its warning.
  void write(const Track& track, const std::optional<std::string>& error,
             const std::string& warning, std::string& out) {
    // Room for the longest record so far: a record grows by small appends.
    out.reserve(longest_);
    switch (form_) {
      case ListingForm::Plain:
        plainFile(track, error, warning, out);
        break;
      case ListingForm::Json:
        jsonFile(track, error, warning, out);
        break;
      case ListingForm::Csv:
        csvRecord(track, out);
        break;
      case ListingForm::Format:
        out += format_->line(track);
        out += '\n';
        break;
    }
    longest_ = std::max(longest_, out.size());
  }

 private:
  void plainFile(const Track& track, const std::optional<std::string>& error,
                 const std::string& warning, std::string& out) {
    forEachListedField([&](const TrackField& field) {
      out += field.key;
      out += ": ";
      const ListedValue value = listedValue(field, track, scratch_);
      if (value.kind == ListedValue::Kind::Literal)
        out += convertUTF16ToUTF8(value.text);
      else if (value.kind == ListedValue::Kind::None)
        // A playing time shows as the page shows it; lines show as none.
        out += field.format == FieldFormat::Time
                   ? escapeControls(convertUTF16ToUTF8(field.textOf(track)))
                   : "(none)";
      else if (field.format == FieldFormat::Lines)
        appendIndentedLines(value.text, field.key.size() + 2, out);
      else
        out += escapeControls(convertUTF16ToUTF8(value.text));
      out += '\n';
    });
    if (error) out += "error: " + *error + "\n";
    if (!error && !warning.empty()) out += "warning: " + warning + "\n";
  }

  // The lines after the first start at the column where the value started,
  // so that no line of a comment or of lyrics reads as the next field, and
  // no empty one as the end of the file's listing.
  static void appendIndentedLines(std::u16string_view text, std::size_t indent, std::string& out) {
    bool first = true;
    while (true) {
      const std::size_t end = text.find(u'\n');
      if (!first) out.append(indent, ' ');
      first = false;
      std::string line = convertUTF16ToUTF8(text.substr(0, end));
      // The carriage return of a CR LF line break stays what it is.
      const bool crlf = !line.empty() && line.back() == '\r';
      if (crlf) line.pop_back();
      out += escapeControls(line);
      if (crlf) out += '\r';
      if (end == text.npos) return;
      out += '\n';
      text.remove_prefix(end + 1);
    }
  }

  void jsonFile(const Track& track, const std::optional<std::string>& error,
                const std::string& warning, std::string& out) {
    out += "\n  {";
    std::size_t index = 0;
    forEachListedField([&](const TrackField& field) {
      out.append(jsonMembers_[index], index == 0 ? 1 : 0);
      ++index;
      if (const TextLines* lines =
              field.format == FieldFormat::Lines ? field.lines(track) : nullptr) {
        out += '"';
        forEachListedLine(*lines, [&](std::u16string_view line, bool first) {
          if (!first) out.append("\\n", 2);
          appendJsonText(out, line);
        });
        out += '"';
        return;
      }
      const ListedValue value = listedValue(field, track, scratch_);
      if (value.kind == ListedValue::Kind::Text)
        appendJsonString(out, value.text);
      else if (value.kind == ListedValue::Kind::Literal)
        out += convertUTF16ToUTF8(value.text);
      else
        out += "null";
    });
    // Messages of the system, in its own 8-bit text.
    if (error || !warning.empty()) {
      out += jsonMember(error ? "error" : "warning");
      appendJsonString(out, widenLatin1(error ? *error : warning));
    }
    out += "\n  }";
  }

  void csvRecord(const Track& track, std::string& out) {
    bool first = true;
    forEachListedField([&](const TrackField& field) {
      if (!first) out += ',';
      first = false;
      const ListedValue value = listedValue(field, track, scratch_);
      if (value.kind != ListedValue::Kind::None)
        out += csvField(escapeControlsKeepingLineBreaks(convertUTF16ToUTF8(value.text)));
    });
    out += "\r\n";
  }

  ListingForm form_;
  const ListingFormat* format_;
  const std::vector<std::string>& jsonMembers_;
  // Where a listed value that the track does not hold is made.
  std::u16string scratch_;
  std::size_t longest_ = 0;
};

// What one file adds: its record, and the line for the error stream when it
// could not be opened or held nothing.
struct ListedFile {
  std::string record;
  std::string message;
  bool failed = false;
};

// The records in the files' order, between the form's opening and closing.
// They are collected in one buffer that goes out whenever it has grown past
// kFlushSize: the memory the tool takes does not grow with the number of
// files.
class TagsListing {
 public:
  TagsListing(std::FILE* out, ListingForm form, ProgressLine& progress)
      : out_(out), form_(form), progress_(progress) {
    if (form_ == ListingForm::Json) buffer_ += '[';
    if (form_ == ListingForm::Csv) {
      bool first = true;
      forEachListedField([&](const TrackField& field) {
        if (!first) buffer_ += ',';
        first = false;
        buffer_ += field.key;
      });
      // RFC 4180: CR LF after the header and after each record.
      buffer_ += "\r\n";
    }
  }

  void add(const std::string& record) {
    if (files_ > 0 && form_ == ListingForm::Plain) buffer_ += '\n';
    if (files_ > 0 && form_ == ListingForm::Json) buffer_ += ',';
    buffer_ += record;
    ++files_;
    if (buffer_.size() >= kFlushSize) flush();
  }

  void finish() {
    if (form_ == ListingForm::Json) buffer_ += files_ == 0 ? "]\n" : "\n]\n";
    flush();
  }

 private:
  // Small enough to stay in the processor's cache between writes: a larger
  // buffer made the whole listing a few percent slower.
  static constexpr std::size_t kFlushSize = 16 * 1024;

  void flush() {
    progress_.clear();
    writeText(out_, buffer_);
    buffer_.clear();
  }

  std::FILE* out_;
  ListingForm form_;
  ProgressLine& progress_;
  std::string buffer_;
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

// The file read and its record written into `listed`, whose strings keep
// their room from an earlier file; the error stream's line says why a file
// could not be opened, or that it held nothing.
void listFile(const std::u16string& path, RecordWriter& writer, ListedFile& listed) {
  listed.record.clear();
  listed.message.clear();
  listed.failed = false;
  std::optional<std::string> error;
  const auto info = readTrack(resolveEntryName(path), error);
  Track track = info->takeTrack();
  // Listed under the name as given, also where the file cannot be read.
  track.fileName = path;
  const std::string warning = error ? std::string() : info->getReadWarning();
  const auto shown = [&] { return escapeControls(convertUTF16ToUTF8(path)); };
  if (error) {
    listed.message = "tunora: cannot open '" + shown() + "': " + *error + "\n";
    listed.failed = true;
  } else if (!warning.empty()) {
    // Named, but not failed: the file was read, it just held nothing.
    listed.message = "tunora: '" + shown() + "': " + warning + "\n";
  }
  writer.write(track, error, warning, listed.record);
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
  TagsListing listing(out, form, progress);
  const std::size_t threads = listingThreads(paths.size());
  const std::vector<std::string> members = jsonMembers();
  std::vector<RecordWriter> writers(threads,
                                    RecordWriter(form, format ? &*format : nullptr, members));
  // Few records wait to be written: memory does not grow with the files, and
  // the slots that a listing keeps busy stay in the processor's cache. One
  // thread writes each record before the next file, into the same slot.
  constexpr std::size_t kWaitingFiles = 256;
  const std::size_t window = threads == 1 ? 1 : std::min(kWaitingFiles, paths.size());
  OrderedSlots<ListedFile> waiting(window);
  runInOrder(
      paths.size(), threads, window,
      [&](std::size_t index, std::size_t worker) {
        listFile(paths[index], writers[worker], waiting.take(index));
      },
      [&](std::size_t index) {
        const ListedFile& file = waiting.at(index);
        if (!file.message.empty()) {
          progress.clear();
          writeText(err, file.message);
        }
        if (file.failed) status = 1;
        listing.add(file.record);
        waiting.giveBack(index);
        progress.advance();
      });
  progress.finish();
  listing.finish();
  return status;
}

}  // namespace tunora
