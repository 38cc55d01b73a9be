// What `tunora page` does when a name holds something other than a plain
// file of the user's: links, FIFOs, devices, sockets, folders and folders of
// other users. Nothing may be written through a link or onto a device, and
// nothing may wait for ever on a FIFO.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "htmlcreator/page_support.h"
#include "io/file.h"
#include "support/cli_runner.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using namespace testing;

constexpr uid_t kOtherUser = 65534;

bool makeFifo(const fs::path& path) {
  return mkfifo(path.c_str(), 0644) == 0;
}

bool makeSocket(const fs::path& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (fd < 0 || path.native().size() >= sizeof address.sun_path) return false;
  std::strcpy(address.sun_path, path.c_str());
  const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return bound;
}

// Only root makes device nodes and gives folders away.
bool makeDevice(const fs::path& path) {
  return geteuid() == 0 && mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

bool makeOtherUsersFolder(const fs::path& path) {
  return geteuid() == 0 && fs::create_directory(path) && chown(path.c_str(), kOtherUser, 0) == 0;
}

// Root reads every folder: the run is made as another user then.
CliResult runCliAsOtherUser(const Arguments& args) {
  if (geteuid() != 0) return runCli(args);
  int channel[2];
  if (pipe(channel) != 0) return {-1, "", "no pipe"};
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    if (setgid(kOtherUser) != 0 || setuid(kOtherUser) != 0) _exit(1);
    const CliResult result = runCli(args);
    const std::string answer = static_cast<char>(result.status) + result.err;
    _exit(write(channel[1], answer.data(), answer.size()) < 0 ? 1 : 0);
  }
  close(channel[1]);
  std::string answer;
  char buffer[4096];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, n);
  close(channel[0]);
  waitpid(child, nullptr, 0);
  if (answer.empty()) return {-1, "", "no answer"};
  return {answer[0], "", answer.substr(1)};
}

// The fresh files a run works with, which none may leave behind.
std::vector<fs::path> freshFilesUnder(const fs::path& root) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.path().filename().string().starts_with(".tunora-")) found.push_back(entry.path());
  return found;
}

class FileKinds : public ::testing::Test {
 protected:
  FileKinds() {
    fs::create_directories(path("music"));
    fs::copy_file(fs::path(fixturePath("tags/id3v1_1.mp3")), path("music/03.mp3"));
    writeWholeFile(file("music/folder.jpg"), greyRampJpeg(8, 8));
  }
  fs::path path(const std::string& relative) const { return dir.path() / relative; }
  std::u16string file(const std::string& relative) const {
    return nativePath(dir.path(), relative);
  }
  CliResult page(const std::string& output) const {
    return runCli({u"page", file("music/03.mp3"), u"-o", file(output)});
  }

  TempDir dir;
};

TEST_F(FileKinds, OutputOntoWhatIsNoFileIsRefusedAndALinkKeepsItsPlace) {
  const struct {
    const char* name;
    std::function<bool(const fs::path&)> make;
    int status;
    const char* says;
    fs::file_type after;
  } cases[] = {
      {"fifo", makeFifo, 2, "not a regular file", fs::file_type::fifo},
      {"socket", makeSocket, 2, "not a regular file", fs::file_type::socket},
      {"device", makeDevice, 2, "not a regular file", fs::file_type::character},
      {"folder", [](const fs::path& p) { return fs::create_directory(p); }, 2, "it is a folder",
       fs::file_type::directory},
      {"link to a device",
       [](const fs::path& p) {
         fs::create_symlink("/dev/null", p);
         return true;
       },
       2, "not a regular file", fs::file_type::symlink},
      {"link to nothing",
       [this](const fs::path& p) {
         fs::create_symlink(path("gone.html"), p);
         return true;
       },
       2, "a link to nothing", fs::file_type::symlink},
      {"link to a file",
       [this](const fs::path& p) {
         fs::create_directories(path("site"));
         fs::create_symlink(path("site/real.html"), p);
         return writeWholeFile(file("site/real.html"), bytesOf("EARLIER"));
       },
       0, "", fs::file_type::symlink},
  };
  for (const auto& [name, make, status, says, after] : cases) {
    const fs::path target = path(std::string("out-") + name);
    if (!make(target)) {
      std::printf("(%s: not made here, skipped)\n", name);
      continue;
    }
    const CliResult result = page(target.filename());
    EXPECT_EQ(result.status, status) << name << ": " << result.err;
    EXPECT_NE(result.err.find(says), std::string::npos) << name << ": " << result.err;
    EXPECT_EQ(fs::symlink_status(target).type(), after) << name;
    EXPECT_TRUE(freshFilesUnder(dir.path()).empty()) << name;
  }
  EXPECT_EQ(fs::symlink_status("/dev/null").type(), fs::file_type::character);
  // The link's file got the page, written beside it.
  EXPECT_EQ(pageFileText(path("site/real.html")).find("EARLIER"), std::string::npos);
  EXPECT_EQ((*readWholeFile(file("site/real.html")))[0], 0xFF);
  // Its covers are beside it, where its links lead.
  EXPECT_TRUE(fs::exists(path("site/real_covers/_tmptrk0.jpg")));
}

TEST_F(FileKinds, InputsThatAreNoFilesAreNamedWithoutWaiting) {
  ASSERT_TRUE(makeFifo(path("music/fifo.mp3")));
  ASSERT_TRUE(makeFifo(path("template.html")));
  fs::create_directories(path("skin"));
  ASSERT_TRUE(makeFifo(path("skin/pledit.txt")));
  fs::create_directories(path("beside"));
  fs::copy_file(path("music/03.mp3"), path("beside/03.mp3"));
  ASSERT_TRUE(makeFifo(path("beside/folder.jpg")));
  const struct {
    Arguments args;
    int status;
    const char* says;
  } cases[] = {
      {{u"page", file("music/fifo.mp3"), file("music/03.mp3"), u"-o", file("a.html")},
       1,
       "fifo.mp3': not a regular file"},
      {{u"page", file("beside/03.mp3"), u"-o", file("b.html")}, 0, ""},
      {{u"page", file("music/03.mp3"), u"--skin", file("skin"), u"-o", file("c.html")}, 0, ""},
      {{u"page", file("music/03.mp3"), u"--template", file("template.html"), u"-o", file("d.html")},
       2,
       "not a regular file"},
      {{u"tags", file("music/fifo.mp3")}, 1, "not a regular file"},
  };
  for (const auto& [args, status, says] : cases) {
    const CliResult result = runCli(args);
    EXPECT_EQ(result.status, status) << convertUTF16ToUTF8(args[1]) << ": " << result.err;
    EXPECT_NE(result.err.find(says), std::string::npos) << result.err;
  }
  // The page is still written for the file that could be read.
  EXPECT_NE(pageFileText(path("a.html")).find("V1 Title"), std::string::npos);
  EXPECT_FALSE(fs::exists(path("b_covers/_tmptrk0.jpg")));
}

TEST_F(FileKinds, ACoverFolderOrCoverNameThatLeadsElsewhereIsNotWrittenThrough) {
  fs::create_directories(path("elsewhere"));
  ASSERT_TRUE(writeWholeFile(file("elsewhere/_tmptrk0.jpg"), bytesOf("victim")));
  ASSERT_TRUE(writeWholeFile(file("victim.txt"), bytesOf("victim")));
  fs::permissions(path("victim.txt"), fs::perms::owner_read);
  const auto untouched = [&] {
    return *readWholeFile(file("elsewhere/_tmptrk0.jpg")) == bytesOf("victim") &&
           *readWholeFile(file("victim.txt")) == bytesOf("victim") &&
           fs::status(path("victim.txt")).permissions() == fs::perms::owner_read;
  };
  // A planted folder is refused as a whole.
  fs::create_directory_symlink(path("elsewhere"), path("linked_covers"));
  const CliResult linked = page("linked.html");
  EXPECT_EQ(linked.status, 1);
  EXPECT_NE(linked.err.find("cover folder"), std::string::npos) << linked.err;
  EXPECT_FALSE(fs::exists(path("linked.html")));
  if (makeOtherUsersFolder(path("given_covers"))) {
    EXPECT_EQ(page("given.html").status, 1);
    EXPECT_TRUE(fs::is_empty(path("given_covers")));
  }
  // A planted cover name is replaced as a name: the link goes, not its file.
  fs::create_directories(path("own_covers"));
  fs::create_symlink(path("victim.txt"), path("own_covers/_tmptrk0.jpg"));
  fs::create_symlink(path("victim.txt"), path("own_covers/_tmpdir.jpg"));
  const CliResult own = page("own.html");
  EXPECT_EQ(own.status, 0) << own.err;
  EXPECT_EQ(fs::symlink_status(path("own_covers/_tmptrk0.jpg")).type(), fs::file_type::regular);
  EXPECT_EQ((*readWholeFile(file("own_covers/_tmptrk0.jpg")))[1], 0xD8);
  EXPECT_TRUE(untouched());
  EXPECT_TRUE(freshFilesUnder(dir.path()).empty());
}

TEST_F(FileKinds, PageNamesUpToTheLongestTheFileSystemTakes) {
  const struct {
    std::size_t bytes;
    int status;
  } cases[] = {{255, 0}, {256, 1}};
  for (const auto& [bytes, status] : cases) {
    const std::string name = std::string(bytes - 5, 'p') + ".html";
    const CliResult result = page(name);
    EXPECT_EQ(result.status, status) << bytes << ": " << result.err;
    std::error_code tooLong;
    EXPECT_EQ(fs::exists(path(name), tooLong), status == 0) << bytes;
    EXPECT_TRUE(freshFilesUnder(dir.path()).empty()) << bytes;
  }
}

TEST_F(FileKinds, AnUnreadableDirectoryIsNamedAsSuch) {
  fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::others_exec |
                                  fs::perms::others_read | fs::perms::group_exec);
  fs::permissions(path("music"), fs::perms::none);
  const CliResult result =
      runCliAsOtherUser({u"page", u"--directory", file("music"), u"-o", file("p.html")});
  fs::permissions(path("music"), fs::perms::owner_all);
  EXPECT_EQ(result.status, 2) << result.err;
  EXPECT_NE(result.err.find("cannot read --directory '" + path("music").string() +
                            "': permission denied"),
            std::string::npos)
      << result.err;
}

TEST(FreshFiles, ALinkIsReplacedEvenWhenItHoldsTheSameBytes) {
  TempDir dir;
  ASSERT_TRUE(writeWholeFile(dir.file("target"), bytesOf("same")));
  fs::create_symlink(dir.path() / "target", dir.path() / "link");
  ASSERT_TRUE(writeWholeFileIfChanged(dir.file("link"), bytesOf("same")));
  EXPECT_EQ(fs::symlink_status(dir.path() / "link").type(), fs::file_type::regular);
  EXPECT_TRUE(freshFilesUnder(dir.path()).empty());
}

TEST(FreshFiles, AnEndSignalRemovesThemAndNothingElse) {
  TempDir dir;
  const std::u16string folder = toU16(dir.path()) + u"/";
  const auto kept = createFreshFile(folder);
  ASSERT_TRUE(kept);
  ASSERT_TRUE(moveFreshFile(*kept, folder + u"kept.html"));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (!createFreshFile(folder) || !createFreshFile(folder)) _exit(3);
    raise(SIGTERM);
    _exit(4);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_TRUE(freshFilesUnder(dir.path()).empty());
  EXPECT_TRUE(fs::exists(dir.path() / "kept.html"));
}

}  // namespace
}  // namespace tunora
