#include "cli/served_page_posix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "htmlcreator/page_builder.h"
#include "io/file.h"
#include "support/temp_dir.h"
#include "text/conversions.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;

std::string utf8(std::u16string_view text) {
  return convertUTF16ToUTF8(text);
}

TextLines pageOf(std::u16string_view text) {
  TextLines page;
  page.appendText(text);
  return page;
}

std::u16string coverFile(const ServedCoverFolder& folder, const std::string& name,
                         const std::string& bytes) {
  const std::u16string path = *folder.coverFolder() + u"" + testing::toU16(name);
  std::ofstream(fs::path(utf8(path)), std::ios::binary) << bytes;
  return path;
}

TEST(ServedPage, CarriesTheLiveScriptAndAFallbackForBrowsersWithout) {
  const std::string text = servedPageText(
      pageOf(u"<html>\n<head>\n<meta charset=utf-16>\n</head>\n<body>été</body>\n</html>"), 42);
  EXPECT_NE(text.find("<head><noscript><meta http-equiv=\"refresh\" content=\"10\"></noscript>"),
            std::string::npos);
  EXPECT_NE(text.find("<script id=\"tunora-live\" data-version=\"42\">"), std::string::npos);
  EXPECT_NE(text.find("new EventSource(\"/events\")"), std::string::npos);
  EXPECT_NE(text.find("charset=utf-8"), std::string::npos);
  EXPECT_EQ(text.find("utf-16"), std::string::npos);
  EXPECT_NE(text.find("<body>été</body>"), std::string::npos);
  // A page without a head gets them first.
  EXPECT_TRUE(servedPageText(pageOf(u"<p>bare</p>"), 0).starts_with("<noscript>"));
  EXPECT_NE(servedPageText(waitingPage(), 0).find("data-version=\"0\""), std::string::npos);
}

TEST(ServedPage, CoversAreTakenIntoMemoryByTheirContent) {
  std::string error;
  auto folder = ServedCoverFolder::create(std::nullopt, error);
  ASSERT_TRUE(folder) << error;
  const fs::path place(utf8(*folder->coverFolder()));
  const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + "rest";
  const std::u16string track = coverFile(*folder, "_tmptrk0.jpg", "\xFF\xD8 jpeg one");
  const std::u16string group = coverFile(*folder, "_tmpdir.jpg", png);
  const std::u16string same = coverFile(*folder, "_tmptrk1.jpg", "\xFF\xD8 jpeg one");
  // One byte short of a PNG signature is no PNG.
  const std::u16string shortPng = coverFile(*folder, "_tmptrk2.jpg", png.substr(0, 7));
  const std::u16string gone = *folder->coverFolder() + u"_tmptrk3.jpg";
  TextLines page;
  for (const auto& file : {track, group, same, shortPng, gone})
    page.appendLine(u"<img src=\"" + *folder->coverLink(file) + u"\">");

  const ServedCovers covers = folder->takeCovers(page, {track, group, same, shortPng, gone, track});
  ASSERT_EQ(covers.size(), 3u);
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < page.lineCount(); ++i) lines.push_back(utf8(*page.line(i)));
  const std::string jpegName = lines[0].substr(17, 20);
  EXPECT_TRUE(lines[0].starts_with("<img src=\"/cover/")) << lines[0];
  EXPECT_TRUE(jpegName.ends_with(".jpg")) << jpegName;
  EXPECT_EQ(jpegName.find_first_not_of("0123456789abcdef"), 16u);
  EXPECT_EQ(lines[2], lines[0]);
  EXPECT_TRUE(lines[1].ends_with(".png\">")) << lines[1];
  EXPECT_TRUE(lines[3].ends_with(".jpg\">")) << lines[3];
  // A cover that could not be read keeps its stand-in, which serves nothing.
  EXPECT_EQ(lines[4], "<img src=\"/cover/pending/_tmptrk3.jpg\">");
  ASSERT_TRUE(covers.contains(jpegName));
  EXPECT_EQ(covers.at(jpegName)->bytes, "\xFF\xD8 jpeg one");
  EXPECT_EQ(covers.at(jpegName)->contentType, "image/jpeg");
  EXPECT_EQ(covers.at(lines[1].substr(17, 20))->contentType, "image/png");
  // Nothing stays on the disk.
  EXPECT_TRUE(fs::is_empty(place));
  folder.reset();
  EXPECT_FALSE(fs::exists(place));
}

TEST(ServedPage, CoversThatDifferInTheMiddleOnlyGetNamesOfTheirOwn) {
  std::string error;
  auto folder = ServedCoverFolder::create(std::nullopt, error);
  ASSERT_TRUE(folder) << error;
  std::string bytes = "\xFF\xD8" + std::string(64 * 1024, 'x');
  const std::u16string first = coverFile(*folder, "_tmptrk0.jpg", bytes);
  bytes[32 * 1024] = 'y';
  const std::u16string second = coverFile(*folder, "_tmptrk1.jpg", bytes);
  TextLines page;
  const ServedCovers covers = folder->takeCovers(page, {first, second});
  EXPECT_EQ(covers.size(), 2u);
}

TEST(ServedPage, LinksOnlyFilesOfItsOwnFolder) {
  std::string error;
  auto folder = ServedCoverFolder::create(u"/skins/classic//", error);
  ASSERT_TRUE(folder) << error;
  EXPECT_FALSE(folder->coverLink(u"/tmp/elsewhere.jpg"));
  EXPECT_EQ(folder->skinFolder(), u"/skins/classic");
  // The folder is private to this user.
  const auto permissions = fs::status(fs::path(utf8(*folder->coverFolder()))).permissions();
  EXPECT_EQ(permissions & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
}

TEST(ServedPage, TheOverlayShowsCoverArtistTitleAndAlbum) {
  std::string error;
  auto folder = ServedCoverFolder::create(std::nullopt, error);
  ASSERT_TRUE(folder) << error;
  HtmlCreator creator(nullptr, *folder);
  ASSERT_TRUE(creator.chooseBuiltInTemplate(TemplateSlot::SingleTrack, kResourceOverlay));
  // A resource the binary lacks leaves the slot as it was.
  EXPECT_FALSE(creator.chooseBuiltInTemplate(TemplateSlot::SingleTrack, 9999));
  PageColours colours;
  BuiltPage built = buildPage(creator, PageSettings{}, colours,
                              {testing::fixturePath("formats/flac_picture_tags.flac")},
                              TemplateSlot::SingleTrack);
  const ServedCovers covers = folder->takeCovers(built.page, built.coverFiles);
  const std::string text = servedPageText(std::move(built.page), 1);
  EXPECT_EQ(covers.size(), 1u);
  EXPECT_NE(text.find("<img class=\"cover\" src=\"/cover/"), std::string::npos) << text;
  EXPECT_NE(text.find("Café Noir"), std::string::npos);
  EXPECT_NE(text.find("background: transparent"), std::string::npos);
  EXPECT_EQ(text.find("<$"), std::string::npos);
}

}  // namespace
}  // namespace tunora
