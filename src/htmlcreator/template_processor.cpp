// The template language: comments, colour and count tokens, the cover
// duotone tokens, and the split into track and group sections.

#include <vector>

#include "htmlcreator/html_creator.h"
#include "text/number_text.h"

namespace tunora {
namespace {

struct Section {
  bool isTrack;
  TextLines lines;
};

// Whole lines from one holding "<!--$" through the next holding "$-->".
// Lines before a found opening hold none, so each search starts there.
void removeComments(TextLines& page) {
  std::size_t from = 0;
  while (true) {
    const int open = page.findLine(u"<!--$", from);
    if (open < 0) return;
    const int close = page.findLine(u"$-->", static_cast<std::size_t>(open));
    if (close < 0) return;
    page.clearLines(static_cast<std::size_t>(open), static_cast<std::size_t>(close));
    from = static_cast<std::size_t>(open);
  }
}

// The token as written in the template, and its colour: the seven units after
// the token's opening, or "#RRGGBB" when the line is too short to hold them.
struct CoverToken {
  std::u16string text;
  std::u16string colour;
};

std::optional<CoverToken> findCoverToken(const TextLines& page, std::u16string_view opening) {
  const std::u16string withHash = std::u16string(opening) + u"#";
  const int at = page.findLine(withHash);
  if (at < 0) return std::nullopt;
  const std::u16string_view line = *page.line(static_cast<std::size_t>(at));
  const std::size_t start = line.find(withHash);
  CoverToken token{std::u16string(opening) + u"#RRGGBB'$>", u"#RRGGBB"};
  // The colour and at least one unit after it.
  if (line.size() - start >= opening.size() + 8) {
    token.colour = std::u16string(line.substr(start + opening.size(), 7));
    token.text.replace(opening.size(), 7, token.colour);
  }
  return token;
}

std::vector<Section> splitSections(const TextLines& page) {
  std::vector<Section> sections;
  const auto addSection = [&](bool isTrack, std::size_t first, std::size_t last) {
    sections.push_back({isTrack, {}});
    sections.back().lines.assignRange(page, first, last);
  };
  const std::size_t count = page.lineCount();
  bool hasTrackSection = false;
  std::size_t position = 0;
  while (position < count) {
    const int begin = page.findLine(u"<$trackbegin$>", position);
    if (begin < 0) {
      addSection(false, position, count - 1);
      break;
    }
    hasTrackSection = true;
    const auto beginLine = static_cast<std::size_t>(begin);
    if (position < beginLine) addSection(false, position, beginLine - 1);
    const int end = page.findLine(u"<$trackend$>", beginLine);
    const std::size_t endLine = end < 0 ? count : static_cast<std::size_t>(end);
    if (endLine > beginLine + 1) addSection(true, beginLine + 1, endLine - 1);
    position = endLine + 1;
  }
  // Without a track section the whole template repeats for every track.
  if (!hasTrackSection)
    for (auto& section : sections) section.isTrack = true;
  return sections;
}

void readCoverColours(TextLines& page, PageRun& run) {
  run.recolour = false;
  const auto dark = findCoverToken(page, u"<$coverdark='");
  if (dark) run.duotone.dark = dark->colour;
  const auto light = findCoverToken(page, u"<$coverlight='");
  if (light) run.duotone.light = light->colour;
  if (!dark || !light) return;
  page.replaceAll(dark->text, u"");
  page.replaceAll(light->text, u"");
  run.recolour = true;
}

}  // namespace

void HtmlCreator::processTemplate(TextLines& page, MultipleTags& tracks, PageRun& run) const {
  removeComments(page);
  replaceColourTokens(page, run.colours);
  page.replaceAll(u"<$trackcount$>", decimalText(tracks.count()));
  readCoverColours(page, run);

  const std::vector<Section> sections = splitSections(page);
  page.clear();
  for (const auto& section : sections) {
    if (section.isTrack) {
      for (std::size_t index = 0; index < tracks.count(); ++index) {
        TextLines copy;
        copy.assign(section.lines);
        fillTrack(copy, tracks, index, run);
        page.appendLines(copy);
      }
    } else {
      TextLines copy;
      copy.assign(section.lines);
      fillGroup(copy, tracks, run);
      page.appendLines(copy);
    }
  }
}

}  // namespace tunora
