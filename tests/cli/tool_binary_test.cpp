// The built tool as a user starts it: what it loads at start, the cover
// search through the libcurl it loads on demand, and how it runs where that
// library and libsystemd are missing.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/store_server.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

#ifndef _WIN32

struct Finished {
  int status = -1;
  std::string output;  // and errors
};

Finished finish(const std::string& command, const std::filesystem::path& output) {
  const std::string line = "(" + command + ") > '" + output.string() + "' 2>&1";
  const int status = std::system(line.c_str());
  std::ifstream in(output);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
          std::string(std::istreambuf_iterator<char>(in), {})};
}

std::string run(const std::string& command, const std::filesystem::path& output) {
  Finished finished = finish(command, output);
  return finished.status == 0 ? std::move(finished.output) : "failed";
}

TEST(ToolBinary, StartsWithoutLibcurlOrLibsystemdAndSearchesWithLibcurl) {
  const std::string tool = TUNORA_CLI_BINARY;
  testing::TempDir dir;
  const auto log = dir.path() / "out.txt";
  // Neither is needed by the executable, nor mapped when it runs.
  EXPECT_EQ(run("readelf -d '" + tool + "' | grep -c 'libcurl\\|libsystemd' || true", log), "0\n");
  EXPECT_EQ(run("ldd '" + tool + "' | grep -c 'libcurl\\|libsystemd' || true", log), "0\n");
  // Each module links its own library and shows nothing but its entry point.
  const struct {
    const char* module;
    const char* library;
    const char* entry;
  } modules[] = {{"http_curl.so", "libcurl", "tunora_make_curl_client"},
                 {"mpris_follow.so", "libsystemd", "tunora_follow_players"}};
  for (const auto& m : modules) {
    const std::string path = std::string(TUNORA_MODULE_BUILD_DIR) + "/" + m.module;
    EXPECT_EQ(run("readelf -d '" + path + "' | grep -c '" + m.library + "'", log), "1\n");
    EXPECT_EQ(run("nm -D --defined-only '" + path + "' | awk '$2 == \"T\" {print $3}'", log),
              std::string(m.entry) + "\n");
  }

  std::ofstream(dir.path() / "search-handle-form", std::ios::binary)
      << "<a href=\"/exec/obidos/ASIN/B7/\"><b>AC/DC</b> Back in Black</a>\n";
  testing::StoreServer server(dir.path());
  ASSERT_TRUE(server.running());
  EXPECT_EQ(run("'" + tool + "' covers search --store de --host " + server.host() + " AC/DC", log),
            "Found 1 items\n1. AC/DC Back in Black\n   /exec/obidos/ASIN/B7/\n");
  const auto requests = server.requests();
  ASSERT_FALSE(requests.empty());
  const auto& request = requests.back();
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.contentType, "application/x-www-form-urlencoded");
  EXPECT_NE(request.userAgent.find("Mozilla/4.0"), std::string::npos);
  EXPECT_EQ(request.body, "size=10&field-keywords=AC%2FDC&url=index%3Dpop-music-de");
}

// The tool in a folder without its modules, as where neither library is
// installed: it reads tags as ever, and the commands that need one of them
// end with a message instead of a crash.
TEST(ToolBinary, WithoutItsLibrariesReadsTagsAndTheirCommandsFailCleanly) {
  const std::string tool = TUNORA_CLI_BINARY;
  const std::string bare = TUNORA_CLI_WITHOUT_LIBRARIES_BINARY;
  testing::TempDir dir;
  const auto log = dir.path() / "out.txt";
  const std::string tags = " tags --json '" TUNORA_FIXTURES_DIR "/tags/apev2_id3v1.mp3'";
  const std::string listed = run("'" + tool + "'" + tags, log);
  EXPECT_NE(listed.find("\"apev2_id3v1.mp3\""), std::string::npos) << listed;
  EXPECT_EQ(run("'" + bare + "'" + tags, log), listed);

  // A bus that is not there ends the tool at once should the module be found
  // after all, with another message.
  const auto page = dir.path() / "page.html";
  const Finished follow = finish("DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bus '" + bare +
                                     "' follow -o '" + page.string() + "'",
                                 log);
  EXPECT_EQ(follow.status, 1);
  EXPECT_EQ(follow.output,
            "tunora: cannot reach the session bus: Can not access a needed shared library\n");
  EXPECT_FALSE(std::filesystem::exists(page));

  testing::StoreServer server(dir.path());
  ASSERT_TRUE(server.running());
  const Finished search =
      finish("'" + bare + "' covers search --store de --host " + server.host() + " AC/DC", log);
  EXPECT_EQ(search.status, 1);
  EXPECT_EQ(search.output,
            "tunora: cannot search " + server.host() + ": no transfer could be started\n");
  EXPECT_TRUE(server.requests().empty());
}

#endif

}  // namespace
}  // namespace tunora
