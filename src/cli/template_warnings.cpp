#include "cli/template_warnings.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "cli/cli.h"
#include "io/file.h"
#include "io/text_file.h"
#include "text/conversions.h"
#include "text/strict_utf8.h"
#include "text/template_encoding.h"
#include "trackinfo/track_fields.h"

namespace tunora {
namespace {

// The page's own tokens; the track's come from its field list.
constexpr std::array<std::u16string_view, 18> kPageTokens = {
    u"albumartistbegin", u"albumartistend", u"clcurrent",  u"clnormal",    u"clnormalbg",
    u"clselectedbg",     u"commentbegin",   u"commentend", u"cover",       u"coverbegin",
    u"coverend",         u"coverheight",    u"coverwidth", u"lyricsbegin", u"lyricsend",
    u"trackbegin",       u"trackcount",     u"trackend"};

bool isKnownToken(std::u16string_view name) {
  if (name.starts_with(u"coverdark='") || name.starts_with(u"coverlight='")) return true;
  if (name.starts_with(u"url:")) name.remove_prefix(4);
  // Tokens are matched as written, in lower case.
  if (std::find(kPageTokens.begin(), kPageTokens.end(), name) != kPageTokens.end()) return true;
  for (const TrackField& field : trackFields())
    if (field.token.size() == name.size() + 4 && field.token.substr(2, name.size()) == name)
      return true;
  return false;
}

std::string at(std::size_t index) {
  return "line " + std::to_string(index + 1) + ": ";
}

// The line holding `text` from `from` on, or the line count.
std::size_t lineHolding(const TextLines& lines, std::u16string_view text, std::size_t from) {
  for (std::size_t i = from; i < lines.lineCount(); ++i)
    if (lines.line(i)->find(text) != std::u16string_view::npos) return i;
  return lines.lineCount();
}

}  // namespace

std::vector<std::string> templateWarnings(const TextLines& lines) {
  std::vector<std::string> warnings;
  for (std::size_t i = 0; i < lines.lineCount(); ++i) {
    const std::u16string_view line = *lines.line(i);
    if (line.find(u"<!--$") != std::u16string_view::npos) {
      const std::size_t close = lineHolding(lines, u"$-->", i);
      if (close == lines.lineCount()) {
        warnings.push_back(at(i) + "'<!--$' is never closed by '$-->'; a browser hides the rest");
        return warnings;
      }
      i = close;
      continue;
    }
    for (std::size_t open = line.find(u"<$"); open != std::u16string_view::npos;
         open = line.find(u"<$", open + 2)) {
      const std::size_t close = line.find(u"$>", open + 2);
      if (close == std::u16string_view::npos) {
        warnings.push_back(at(i) + "a token without '$>' on its line stays as text");
        break;
      }
      const std::u16string_view name = line.substr(open + 2, close - open - 2);
      if (!isKnownToken(name))
        warnings.push_back(at(i) + "unknown token '<$" + convertUTF16ToUTF8(name) +
                           "$>' stays as text");
    }
  }
  return warnings;
}

int checkTemplateOption(const std::u16string& path, std::FILE* err) {
  const std::string shown = "'" + convertUTF16ToUTF8(path) + "'";
  const auto bytes = readWholeFile(path);
  if (!bytes) {
    writeText(err, "tunora: cannot open " + shown + ": " + lastFileError() + "\n");
    return 2;
  }
  const TemplateEncoding encoding = templateEncodingOf(*bytes);
  if (encoding == TemplateEncoding::Unsupported) {
    writeText(err, "tunora: the template " + shown +
                       " is neither UTF-8 nor UTF-16LE with a byte-order mark; no page written\n");
    return 1;
  }
  if (encoding != TemplateEncoding::Utf16LE) {
    const Utf8Text text = decodeUtf8Replacing(*bytes);
    if (text.invalidSequences > 0)
      writeText(err, "tunora: " + convertUTF16ToUTF8(path) + ": " + at(text.firstInvalidLine) +
                         std::to_string(text.invalidSequences) +
                         " byte sequence(s) that are not UTF-8 shown as U+FFFD\n");
  }
  TextLines lines;
  loadTextFile(lines, path, true);
  for (const std::string& warning : templateWarnings(lines))
    writeText(err, "tunora: " + convertUTF16ToUTF8(path) + ": " + warning + "\n");
  return 0;
}

}  // namespace tunora
