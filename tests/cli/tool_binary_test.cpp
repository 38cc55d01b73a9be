// The built tool as a user starts it: what it loads at start, and the cover
// search through the libcurl it loads on demand.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/store_server.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

#ifndef _WIN32

std::string run(const std::string& command, const std::filesystem::path& output) {
  const std::string line = "(" + command + ") > '" + output.string() + "' 2>&1";
  if (std::system(line.c_str()) != 0) return "failed";
  std::ifstream in(output);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ToolBinary, StartsWithoutLibcurlAndSearchesWithIt) {
  const std::string tool = TUNORA_CLI_BINARY;
  testing::TempDir dir;
  const auto log = dir.path() / "out.txt";
  EXPECT_EQ(run("readelf -d '" + tool + "' | grep -c libcurl || true", log), "0\n");

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

#endif

}  // namespace
}  // namespace tunora
