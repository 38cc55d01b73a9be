#pragma once
// Helpers of the page generator tests: templates from UTF-8 text, pages back
// as UTF-8 text, a host that names a cover folder, JPEG pictures made here.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hostlink/host_link.h"
#include "htmlcreator/html_creator.h"
#include "io/text_file.h"
#include "jpeg/jpeg_codec.h"
#include "support/memory_track.h"
#include "support/temp_dir.h"
#include "text/conversions.h"
#include "text/text_lines.h"

namespace tunora::testing {

struct FolderHostLink : HostLink {
  std::optional<std::u16string> folder;
  std::optional<std::u16string> coverFolder() const override { return folder; }
};

// A path inside a test folder with the platform's separators, as the core
// splits paths at them ("music/a.mp3" becomes music\a.mp3 on Windows).
inline std::u16string nativePath(const std::filesystem::path& folder, const std::string& relative) {
  return toU16((folder / relative).make_preferred());
}

// Lines separated by "\n".
inline TextLines linesOf(std::string_view utf8) {
  std::u16string text;
  convertUTF8ToUTF16(utf8, text);
  TextLines lines;
  for (const char16_t unit : text) lines.appendUnit(unit);
  return lines;
}

inline std::string textOf(const TextLines& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.lineCount(); ++i) {
    if (i > 0) text += '\n';
    text += convertUTF16ToUTF8(*lines.line(i));
  }
  return text;
}

// A page file as UTF-8 text; empty while there is none.
inline std::string pageFileText(const std::filesystem::path& path) {
  TextLines page;
  if (loadTextFile(page, toU16(path), true) != 1) return {};
  return textOf(page);
}

// A JPEG of width x height pixels; each pixel's blue, green and red come
// from `pixel(x, y)`.
template <typename Pixel>
std::vector<std::uint8_t> makeJpeg(std::uint32_t width, std::uint32_t height, Pixel pixel,
                                   int quality = 95) {
  DecodedPicture picture{width, height, {}};
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::array<std::uint8_t, 3> bgr = pixel(x, y);
      picture.pixels.insert(picture.pixels.end(), bgr.begin(), bgr.end());
    }
  std::vector<std::uint8_t> jpeg;
  encodeJpeg(picture, quality, jpeg);
  return jpeg;
}

inline std::vector<std::uint8_t> greyRampJpeg(std::uint32_t width, std::uint32_t height) {
  return makeJpeg(width, height, [width](std::uint32_t x, std::uint32_t) {
    const auto v = static_cast<std::uint8_t>(40 + x * 160 / width);
    return std::array<std::uint8_t, 3>{v, v, v};
  });
}

// A page generator without cover folder, the settings and colours of its
// pages and the tracks of one page.
class PageTest : public ::testing::Test {
 protected:
  // A new page's run, kept in `run` to be looked at afterwards.
  PageRun& newRun() { return run.emplace(settings, colours); }
  // The template processed into a page.
  std::string process(std::string_view templateText) {
    TextLines page = linesOf(templateText);
    creator.processTemplate(page, tracks, newRun());
    return textOf(page);
  }
  // One track section filled with track `index`.
  std::string fill(std::string_view section, std::size_t index = 0) {
    TextLines lines = linesOf(section);
    creator.fillTrack(lines, tracks, index, newRun());
    return textOf(lines);
  }

  FolderHostLink host;
  HtmlCreator creator{nullptr, host};
  PageSettings settings;
  PageColours colours;
  MultipleTags tracks;
  std::optional<PageRun> run;
};

}  // namespace tunora::testing
