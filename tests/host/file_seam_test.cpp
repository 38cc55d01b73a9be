// The Windows side of the file seam and the plug-in's own files: what a name
// may be written through, which folders count as ours, the Mini page's file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/mini_page_file.h"
#include "host/module_file_name.h"
#include "host/plugin.h"
#include "io/file.h"
#include "standin_host.h"
#include "support/temp_dir.h"
#include "support/temp_folder.h"

namespace tunora::standin {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(WindowsFolders, AFolderCountsAsOursWhateverItsAttributes) {
  const TempDir dir;
  const DWORD attributes[] = {0, FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_NOT_CONTENT_INDEXED,
                              FILE_ATTRIBUTE_HIDDEN,
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED};
  const fs::path folder = dir.path() / "covers";
  fs::create_directory(folder);
  for (const DWORD extra : attributes) {
    SCOPED_TRACE(extra);
    ASSERT_TRUE(SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_DIRECTORY | extra));
    EXPECT_TRUE(folderExists(folder.u16string()));
    EXPECT_TRUE(folderExists(folder.u16string() + u"\\"));
  }
  std::ofstream(dir.path() / "file") << "x";
  EXPECT_FALSE(folderExists(dir.file("file")));
  EXPECT_FALSE(folderExists(dir.file("missing")));
}

// Writing replaces a file's bytes; a folder or a device of that name is
// refused and left as it was.
TEST(WindowsFileSeam, WritesOnlyToAFileOnTheDisk) {
  const TempDir dir;
  std::ofstream(dir.path() / "old.htm") << "a longer earlier page";
  fs::create_directory(dir.path() / "folder.htm");
  struct Target {
    std::u16string path;
    bool written;
  };
  const Target targets[] = {
      {dir.file("new.htm"), true}, {dir.file("old.htm"), true},  {dir.file("folder.htm"), false},
      {dir.file("NUL"), false},    {dir.file("nul.htm"), false},
  };
  const std::string page = "page";
  const std::span bytes(reinterpret_cast<const std::uint8_t*>(page.data()), page.size());
  for (const Target& target : targets) {
    SCOPED_TRACE(fs::path(target.path).string());
    EXPECT_EQ(writeWholeFile(target.path, bytes), target.written);
  }
  EXPECT_EQ(contentOf(dir.path() / "new.htm"), "page");
  EXPECT_EQ(contentOf(dir.path() / "old.htm"), "page");
  EXPECT_TRUE(fs::is_directory(dir.path() / "folder.htm"));
  // Neither a written nor a refused file leaves its temporary name behind.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"folder.htm", "new.htm", "old.htm"}));
}

// A name planted as a link to someone else's file, a second name of it or a
// symbolic link (a reparse point): writing replaces the name, and the other
// file keeps its bytes.
TEST(WindowsFileSeam, WritingReplacesTheNameAndNeverWritesThroughIt) {
  const struct {
    const char* kind;
    bool (*plant)(const fs::path& link, const fs::path& target);
  } links[] = {
      {"hard link",
       [](const fs::path& link, const fs::path& target) {
         return CreateHardLinkW(link.c_str(), target.c_str(), nullptr) != 0;
       }},
      {"symbolic link",
       [](const fs::path& link, const fs::path& target) {
         return CreateSymbolicLinkW(link.c_str(), target.c_str(), 0) != 0;
       }},
  };
  for (const auto& link : links) {
    SCOPED_TRACE(link.kind);
    const TempDir dir;
    std::ofstream(dir.path() / "theirs.txt") << "their bytes";
    if (!link.plant(dir.path() / "_tmptrk0.jpg", dir.path() / "theirs.txt")) continue;
    const std::vector<std::uint8_t> cover{0xFF, 0xD8, 0xFF, 0xD9};
    ASSERT_TRUE(writeWholeFile(dir.file("_tmptrk0.jpg"), cover));
    EXPECT_EQ(contentOf(dir.path() / "theirs.txt"), "their bytes");
    EXPECT_EQ(contentOf(dir.path() / "_tmptrk0.jpg"), "\xFF\xD8\xFF\xD9");
    EXPECT_FALSE(GetFileAttributesW((dir.path() / "_tmptrk0.jpg").c_str()) &
                 FILE_ATTRIBUTE_REPARSE_POINT);
  }
}

// Attributes are cleared on our own files only: through a link they would be
// cleared on someone else's.
TEST(WindowsFileSeam, AttributesAreResetOnFilesNotThroughLinks) {
  const TempDir dir;
  const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  for (const char* name : {"theirs.txt", "ours.jpg"}) {
    std::ofstream(dir.path() / name) << "x";
    ASSERT_TRUE(SetFileAttributesW((dir.path() / name).c_str(), kept));
  }
  if (!CreateSymbolicLinkW((dir.path() / "_tmptrk0.jpg").c_str(),
                           (dir.path() / "theirs.txt").c_str(), 0))
    GTEST_SKIP() << "no symbolic links here";
  resetFileAttributes(dir.file("_tmptrk0.jpg"));
  resetFileAttributes(dir.file("ours.jpg"));
  EXPECT_EQ(GetFileAttributesW((dir.path() / "theirs.txt").c_str()) & kept, kept);
  EXPECT_EQ(GetFileAttributesW((dir.path() / "ours.jpg").c_str()) & kept, 0u);
}

TEST(MiniPageFile, OnlyTheTemporarySuffixBecomesHtml) {
  const struct {
    std::u16string_view reservation;
    std::u16string_view page;
  } cases[] = {
      {u"C:\\Temp\\tup1A.tmp", u"C:\\Temp\\tup1A.html"},
      {u"C:\\Users\\a.tmp\\Temp\\tup2B.tmp", u"C:\\Users\\a.tmp\\Temp\\tup2B.html"},
      {u"C:\\Temp\\TUP3C.TMP", u"C:\\Temp\\TUP3C.html"},
      {u"C:\\x.tmp\\tup4D", u"C:\\x.tmp\\tup4D.html"},
      {u"tmp", u"tmp.html"},
      {u".tmp", u".html"},
  };
  for (const auto& c : cases) EXPECT_EQ(host::miniPageNameOf(c.reservation), c.page);
}

TEST(MiniPageFile, ThePageIsCreatedOnlyUnderAFreshName) {
  const TempDir dir;
  const std::u16string planted = dir.file("planted.html");
  std::ofstream(fs::path(planted)) << "someone else's";
  EXPECT_FALSE(host::createNewFile(planted));
  EXPECT_EQ(contentOf(planted), "someone else's");
  fs::create_directory(dir.path() / "folder.html");
  EXPECT_FALSE(host::createNewFile(dir.file("folder.html")));
  EXPECT_TRUE(host::createNewFile(dir.file("fresh.html")));
  EXPECT_TRUE(fs::is_regular_file(dir.path() / "fresh.html"));

  const auto files = host::makeMiniPageFiles();
  ASSERT_TRUE(files);
  EXPECT_EQ(fs::path(files->page).extension(), ".html");
  EXPECT_EQ(fs::path(files->page).parent_path(), fs::path(files->reservation).parent_path());
  EXPECT_TRUE(fs::is_regular_file(files->page));
  EXPECT_TRUE(fs::is_regular_file(files->reservation));
  fs::remove(files->page);
  fs::remove(files->reservation);
}

// The temporary-name function takes a folder of up to MAX_PATH - 14
// characters; a longer temporary folder gives no name, never one elsewhere.
TEST(TempFileName, InATemporaryFolderUpToTheLongestItTakes) {
  const TempDir dir;
  const std::size_t base = dir.path().string().size() + 1;
  for (const std::size_t length :
       {std::size_t{MAX_PATH - 14}, std::size_t{MAX_PATH - 13}, std::size_t{MAX_PATH + 1}}) {
    SCOPED_TRACE(length);
    // The system's temporary folder ends in a separator.
    const fs::path folder =
        dir.path() / std::string(length - base - 1, static_cast<char>('a' + length % 26));
    fs::create_directory(folder);
    ASSERT_EQ(folder.string().size() + 1, length);
    const testing::TempFolderOverride temp(folder);
    const std::string name = makeTempFileName();
    const bool fits = length <= MAX_PATH - 14;
    EXPECT_EQ(name.empty(), !fits) << name;
    if (fits) {
      EXPECT_EQ(fs::path(name).parent_path(), folder);
    }
    // Wine lists no folder whose path is longer than MAX_PATH.
    if (length < MAX_PATH) {
      EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), fits ? 1 : 0);
    }
  }
}

TEST(ModuleFileName, IsWholeOrNothing) {
  const auto own = host::moduleFileName(nullptr);
  ASSERT_TRUE(own);
  EXPECT_EQ(*own, fs::path(programFolder() + L"winamp.exe").u16string());
  // A handle of no module names no file.
  EXPECT_FALSE(host::moduleFileName(reinterpret_cast<HMODULE>(0x10)));
}

TEST(CoverSearchStart, TextsGoToThePlayersCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252";
  const CoverSearchStart start{u"\u0141\u00F3d\u017A", u"It\u2019s", u"C:\\M\u00FCsic\\a.mp3"};
  const host::CoverSearchTrack track = host::coverSearchTrackOf(start, u"%a \u2013 %b.jpg");
  // Characters the code page has keep their own byte; the others are no
  // look-alike but "?", which names no file.
  EXPECT_EQ(track.artist,
            "?\xF3"
            "d?");
  EXPECT_EQ(track.album, "It\x92s");
  EXPECT_EQ(track.fileName, "C:\\M\xFCsic\\a.mp3");
  EXPECT_EQ(track.coverNamePattern, "%a \x96 %b.jpg");
}

}  // namespace
}  // namespace tunora::standin
