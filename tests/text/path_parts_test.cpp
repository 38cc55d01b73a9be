#include "text/path_parts.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

TEST(PathSplitting, BackslashWinsOverSlash) {
  EXPECT_EQ(fileNameOf(std::string_view("C:\\Music\\a/b.mp3")), "a/b.mp3");
  EXPECT_EQ(fileNameOf(std::string_view("a/b.mp3")), "b.mp3");
  EXPECT_EQ(fileNameOf(std::string_view("plain.mp3")), "plain.mp3");
  EXPECT_EQ(fileNameOf(std::u16string_view(u"C:\\M\u00FCsik\\x.ogg")), u"x.ogg");
  EXPECT_EQ(folderOf(std::string_view("C:\\Music\\a.mp3")), "C:\\Music\\");
  EXPECT_EQ(folderOf(std::string_view("/home/u/a.mp3")), "/home/u/");
  EXPECT_EQ(folderOf(std::string_view("a.mp3")), "a.mp3");
}

TEST(PathSplitting, ExtensionIsAfterLastDotOfWholePath) {
  EXPECT_EQ(extensionOf(std::string_view("C:\\my.folder\\track")), "FOLDER\\TRACK");
  EXPECT_EQ(extensionOf(std::string_view("song.Mp3")), "MP3");
  EXPECT_EQ(extensionOf(std::string_view("noext")), "Unknown");
  EXPECT_EQ(extensionOf(std::u16string_view(u"x.flac")), u"FLAC");
  EXPECT_EQ(extensionOf(std::string_view("trailing.")), "");
}

}  // namespace
}  // namespace tunora
