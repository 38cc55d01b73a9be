// tunora tags: the values that the reader of each file's type finds.

#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/json_writer.h"
#include "cli/progress_line.h"
#include "io/file.h"
#include "text/conversions.h"
#include "text/helpers.h"
#include "tracks/track_class.h"

namespace tunora {
namespace {

struct Field {
  std::string key;
  std::string json;      // the value as JSON
  std::string readable;  // the value as the plain listing shows it
};

std::optional<std::u16string> joinedLines(const TextLines* lines) {
  if (lines == nullptr) return std::nullopt;
  std::u16string joined;
  for (std::size_t i = 0; i < lines->lineCount(); ++i) {
    if (i > 0) joined += u'\n';
    joined += *lines->line(i);
  }
  return joined;
}

Field textField(std::string key, std::u16string_view value) {
  return {std::move(key), jsonString(value), convertUTF16ToUTF8(value)};
}

Field flagField(std::string key, bool value) {
  const char* text = value ? "true" : "false";
  return {std::move(key), text, text};
}

Field optionalTextField(std::string key, const std::optional<std::u16string>& value) {
  if (!value) return {std::move(key), "null", "(none)"};
  return textField(std::move(key), *value);
}

std::vector<Field> describe(const std::u16string& given, TrackInfo& track) {
  const auto* cover = track.getCoverData();
  const std::string coverBytes = std::to_string(cover != nullptr ? cover->size() : 0);
  return {
      textField("filename", given),
      textField("shortfilename", nativeFileNameOf(given)),
      textField("filetype", extensionOf(given)),
      textField("artist", track.getArtist()),
      textField("album", track.getAlbum()),
      textField("songname", track.getTitle()),
      textField("year", track.getYear()),
      textField("genre", track.getGenre()),
      textField("tracknr", track.getTrackNumber()),
      textField("bitrate", track.getBitrate()),
      textField("samplerate", track.getSampleRate()),
      textField("stereomode", track.getStereoMode()),
      textField("presenttags", track.getPresentTags()),
      flagField("hastag", track.hasTag()),
      flagField("hascomment", track.hasComment()),
      flagField("haslyrics", track.hasLyrics()),
      flagField("hascover", track.hasCover()),
      optionalTextField("comment", joinedLines(track.getComment())),
      optionalTextField("lyrics", joinedLines(track.getLyrics())),
      {"coverbytes", coverBytes, coverBytes},
  };
}

std::unique_ptr<TrackInfo> readTrack(const ResolvedEntry& entry) {
  auto track = readSupportedTrack(entry, FileTypeSwitches{});
  if (!track) track = std::make_unique<TrackInfo>();
  return track;
}

void printJson(std::FILE* out, const std::vector<std::vector<Field>>& files) {
  std::string text = "[";
  for (std::size_t f = 0; f < files.size(); ++f) {
    text += f == 0 ? "\n  {" : ",\n  {";
    for (std::size_t i = 0; i < files[f].size(); ++i) {
      text += i == 0 ? "\n    " : ",\n    ";
      text += jsonString(convertCharToWChar(files[f][i].key)) + ": " + files[f][i].json;
    }
    text += "\n  }";
  }
  text += files.empty() ? "]\n" : "\n]\n";
  writeText(out, text);
}

void printReadable(std::FILE* out, const std::vector<std::vector<Field>>& files) {
  std::string text;
  for (std::size_t f = 0; f < files.size(); ++f) {
    if (f > 0) text += '\n';
    for (const auto& field : files[f]) text += field.key + ": " + field.readable + '\n';
  }
  writeText(out, text);
}

}  // namespace

int runTagsCommand(const Arguments& args, std::FILE* out, std::FILE* err) {
  bool json = false;
  std::vector<std::u16string> paths;
  bool optionsEnded = false;
  for (const auto& arg : args) {
    if (!optionsEnded && (arg == u"--help" || arg == u"-h")) {
      printUsage(out);
      return 0;
    }
    if (!optionsEnded && arg == u"--json") {
      json = true;
    } else if (!optionsEnded && arg == u"--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == u'-') {
      return argumentError(err, "unknown option '" + convertUTF16ToUTF8(arg) + "'");
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.empty()) return argumentError(err, "no music file given");

  int status = 0;
  std::vector<std::vector<Field>> files;
  ProgressLine progress(err, paths.size());
  for (const auto& path : paths) {
    const ResolvedEntry entry = resolveEntryName(path);
    std::optional<std::string> error;
    if (!entry.isStream && !File::open(entry.name, File::Mode::Read)) error = lastFileError();
    auto track = readTrack(entry);
    files.push_back(describe(path, *track));
    if (error) {
      const std::string shown = convertUTF16ToUTF8(path);
      progress.clear();
      writeText(err, "tunora: cannot open '" + shown + "': " + *error + "\n");
      files.back().push_back({"error", jsonString(convertCharToWChar(*error)), *error});
      status = 1;
    }
    progress.advance();
  }
  progress.finish();
  if (json)
    printJson(out, files);
  else
    printReadable(out, files);
  return status;
}

}  // namespace tunora
