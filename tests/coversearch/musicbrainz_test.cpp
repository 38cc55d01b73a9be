// MusicBrainz as a cover source: its search syntax, its JSON, and the real
// client against the stand-in server speaking the services' protocol.

#include "coversearch/musicbrainz.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "io/file.h"
#include "settings/memory_settings_store.h"
#include "support/store_server.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

constexpr char kBookends[] = R"({"created":"x","count":2,"offset":0,"releases":[
  {"id":"b1","title":"Bookends","date":"1968-04-03","country":"US",
   "artist-credit":[{"name":"Simon","joinphrase":" & "},{"name":"Garfunkel"}],
   "media":[{"format":"12\" Vinyl"},{"format":"12\" Vinyl"},{"format":"CD"}]},
  {"id":"b2","title":"Bare","artist-credit":[]}]})";

TEST(MusicBrainzSearch, QueryTermsAreEscapedAndBounded) {
  EXPECT_EQ(escapeSearchTerm("AC/DC"), "AC\\/DC");
  EXPECT_EQ(escapeSearchTerm("Say \"Hi\" (live) + more:*?"),
            "Say \\\"Hi\\\" \\(live\\) \\+ more\\:\\*\\?");
  EXPECT_EQ(escapeSearchTerm("a\\b"), "a\\\\b");
  EXPECT_EQ(releaseQuery("  Ice   &&  Fire "),
            "(release:Ice OR artist:Ice) AND (release:\\&\\& OR artist:\\&\\&) AND "
            "(release:Fire OR artist:Fire)");
  EXPECT_EQ(releaseQuery(""), "");
  std::string many;
  for (int i = 0; i < 20; ++i) many += "w" + std::to_string(i) + " ";
  const std::string query = releaseQuery(many);
  EXPECT_NE(query.find("w15"), std::string::npos);
  EXPECT_EQ(query.find("w16"), std::string::npos);
}

TEST(MusicBrainzSearch, ReleasesAreDescribedFromWhatTheAnswerHolds) {
  const auto releases = parseReleaseSearch(kBookends);
  ASSERT_TRUE(releases);
  ASSERT_EQ(releases->size(), 2u);
  EXPECT_EQ((*releases)[0].id, "b1");
  EXPECT_EQ((*releases)[0].text, "Simon & Garfunkel - Bookends (1968, US, 12\" Vinyl+CD)");
  EXPECT_EQ((*releases)[1].text, "Bare");
  const auto none = parseReleaseSearch(R"({"releases":[]})");
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->empty());
}

TEST(MusicBrainzSearch, HostileAnswersGiveNothingOrSkipTheOddRelease) {
  for (const char* bad : {"", "{", "[]", "null", R"({"releases":{}})", R"({"releases":"x"})",
                          "{\"releases\":[{\"id\":\"\xFF\"}]}"})
    EXPECT_FALSE(parseReleaseSearch(bad)) << bad;
  // Wrong types inside a release: that release, or that field, is passed over.
  const auto odd = parseReleaseSearch(
      R"({"releases":[1,{"id":7},{"id":"k","title":["t"],"date":2001,"media":"CD",
          "artist-credit":[{"name":5},"x",{"name":"A"}]}]})");
  ASSERT_TRUE(odd);
  ASSERT_EQ(odd->size(), 1u);
  EXPECT_EQ((*odd)[0].text, "A - ");
  // Nesting: 32 levels are read, 33 refused before the parser recurses.
  const auto nested = [](int depth) {
    return R"({"releases":[],"x":)" + std::string(depth - 1, '[') + std::string(depth - 1, ']') +
           "}";
  };
  EXPECT_TRUE(parseReleaseSearch(nested(32)));
  EXPECT_FALSE(parseReleaseSearch(nested(33)));
  EXPECT_FALSE(parseReleaseSearch(std::string(100000, '[')));
  // Brackets inside strings are text.
  EXPECT_TRUE(parseReleaseSearch(R"({"releases":[],"t":")" + std::string(100, '[') + "\"}"));
}

TEST(MusicBrainzSearch, NestingIsCountedOutsideStringsWithEscapedQuotes) {
  // A string ending in an escaped quote goes on; one ending in an escaped
  // backslash ends there. Either way the levels after it count.
  const auto after = [](std::string_view text, int depth) {
    return R"({"releases":[],"t":")" + std::string(text) + R"(","x":)" +
           std::string(depth - 1, '[') + std::string(depth - 1, ']') + "}";
  };
  for (const std::string_view text : {"", R"(\")", R"(\\)", R"(a\"[[[\"b)", R"(\\\")"}) {
    EXPECT_TRUE(parseReleaseSearch(after(text, 32))) << text;
    EXPECT_FALSE(parseReleaseSearch(after(text, 33))) << text;
  }
  EXPECT_TRUE(parseReleaseSearch(R"({"releases":[],"t":"\")" + std::string(100, '[') + "\"}"));
}

TEST(MusicBrainzSearch, EachFormatOnceInOrderAndManyMediaInLinearTime) {
  const auto formats = parseReleaseSearch(
      R"({"releases":[{"id":"r","media":[{"format":"Enhanced CD"},{"format":"CD"},)"
      R"({"format":"CD"},{},{"format":"DVD"},{"format":"Enhanced CD"}]}]})");
  ASSERT_TRUE(formats);
  EXPECT_EQ((*formats)[0].text, " (Enhanced CD+CD+DVD)");

  // 95,000 different formats in one answer of about 2 MB.
  std::string json = R"({"releases":[{"id":"r","media":[)";
  constexpr int kMedia = 95000;
  for (int i = 0; i < kMedia; ++i)
    json += (i == 0 ? "" : ",") + (R"({"format":"F)" + std::to_string(i) + "\"}");
  json += "]}]}";
  // A search per format through the text gathered so far took minutes here.
  const auto many = parseReleaseSearch(json);
  ASSERT_TRUE(many);
  const std::string& text = (*many)[0].text;
  EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), '+')), kMedia - 1);
  EXPECT_TRUE(text.ends_with("+F94999)"));
}

TEST(MusicBrainzSearch, ServicesAreSettingsOfWebAddressesOnly) {
  MemorySettingsStore store;
  EXPECT_EQ(loadMusicBrainzService(store).searchUrl, "https://musicbrainz.org");
  // Addresses of up to 1024 characters, with either scheme in any case.
  const std::string longest = "http://h/" + std::string(1024 - 9, 'p');
  const struct {
    std::string url;
    bool kept;
  } cases[] = {
      {"http://127.0.0.1:9", true},
      {"HTTPS://mb.test", true},
      {"Http://mb.test", true},
      {longest, true},
      {longest + "p", false},
      {"file:///etc", false},
      {"http:/mb.test", false},
      {"https:/mb.test", false},
      {"ftp://mb.test", false},
      {" http://mb.test", false},
      {"", false},
  };
  for (const auto& c : cases) {
    saveMusicBrainzService(store, {c.url, c.url});
    const MusicBrainzService loaded = loadMusicBrainzService(store);
    EXPECT_EQ(loaded.searchUrl, c.kept ? c.url : "https://musicbrainz.org") << c.url;
    EXPECT_EQ(loaded.coverArtUrl, c.kept ? c.url : "https://coverartarchive.org") << c.url;
  }
  EXPECT_EQ(musicBrainzUserAgent().rfind("Tunora/", 0), 0u);
}

void write(const fs::path& path, std::string_view text) {
  std::ofstream(path, std::ios::binary) << text;
}

class MusicBrainzAgainstServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    pages_ = std::make_unique<testing::TempDir>();
    const fs::path& dir = pages_->path();
    write(dir / "ws_2_release", kBookends);
    write(dir / "broken_ws_2_release", R"({"releases":[{"id":"b1","title":tru)");
    // b1: the archive redirects to an image host, which redirects once more.
    write(dir / "release_b1_front-500.redirect", "http://images.archive.test/b1/step");
    write(dir / "b1_step.redirect", "http://images.archive.test/b1/front.jpg");
    fs::copy_file(fs::path(testing::fixturePath("jpeg/ycbcr.jpg")), dir / "b1_front.jpg");
    // b3 redirects to itself, b4 to a file, b5 is a PNG; b2 has no cover.
    write(dir / "release_b3_front-500.redirect", "http://images.archive.test/release/b3/front-500");
    write(dir / "release_b4_front-500.redirect", "file:///etc/passwd");
    // b6 reaches its picture after five redirects, b7 after six; b8
    // redirects to another scheme, b10 names its scheme in capitals.
    for (const auto& [release, hops] : {std::pair{"b6", 5}, std::pair{"b7", 6}}) {
      const std::string step = std::string("http://images.archive.test/") + release + "/";
      write(dir / ("release_" + std::string(release) + "_front-500.redirect"), step + "1");
      for (int hop = 1; hop < hops; ++hop)
        write(dir / (std::string(release) + "_" + std::to_string(hop) + ".redirect"),
              step + (hop + 1 < hops ? std::to_string(hop + 1) : "front.jpg"));
      fs::copy_file(fs::path(testing::fixturePath("jpeg/ycbcr.jpg")),
                    dir / (std::string(release) + "_front.jpg"));
    }
    write(dir / "release_b8_front-500.redirect", "ftp://images.archive.test/b1/front.jpg");
    write(dir / "release_b10_front-500.redirect", "HTTP://images.archive.test/b1/front.jpg");
    fs::copy_file(fs::path(testing::fixturePath("jpeg/png_named.jpg")),
                  dir / "release_b5_front-500");
    server_ = std::make_unique<testing::StoreServer>(dir);
  }
  static void TearDownTestSuite() {
    server_.reset();
    pages_.reset();
  }
  void SetUp() override { ASSERT_TRUE(server_->running()); }

  MusicBrainzSource source(milliseconds spacing = milliseconds(0)) {
    const std::string base = "http://" + server_->host();
    return MusicBrainzSource(*client_, {base + "/", base}, spacing);
  }

  static std::unique_ptr<testing::TempDir> pages_;
  static std::unique_ptr<testing::StoreServer> server_;
  std::unique_ptr<HttpClient> client_ = makeStandaloneHttpClient({2, 2});
};

std::unique_ptr<testing::TempDir> MusicBrainzAgainstServer::pages_;
std::unique_ptr<testing::StoreServer> MusicBrainzAgainstServer::server_;

TEST_F(MusicBrainzAgainstServer, SearchAsksWithTheEscapedQueryAndNamesItself) {
  auto mb = source();
  CoverResults results;
  ASSERT_TRUE(mb.search("AC/DC Back", results));
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].link, "b1");
  const auto asked = server_->requests().back();
  EXPECT_EQ(asked.method, "GET");
  EXPECT_EQ(asked.target,
            "/ws/2/release/?query=%28release%3AAC%5C%2FDC%20OR%20artist%3AAC%5C%2FDC%29%20AND%20"
            "%28release%3ABack%20OR%20artist%3ABack%29&fmt=json&limit=25");
  EXPECT_EQ(asked.userAgent, musicBrainzUserAgent());
  EXPECT_EQ(mb.pageUrl("b1"), "http://" + server_->host() + "/release/b1");
}

TEST_F(MusicBrainzAgainstServer, CoversFollowRedirectsToAJpegAndNothingElse) {
  auto mb = source();
  for (const char* release : {"b1", "b6", "b10"}) {
    const auto cover = mb.findCover(release);
    ASSERT_TRUE(cover) << release << mb.failure();
    EXPECT_EQ(cover, readWholeFile(testing::fixturePath("jpeg/ycbcr.jpg")));
    EXPECT_EQ(server_->requests().back().host, "images.archive.test");
  }
  const std::string host = server_->host();
  const struct {
    const char* release;
    std::string failure;
  } refused[] = {
      {"b2", host + ": HTTP status 404"},
      {"b3", "images.archive.test: too many redirects"},
      // The scheme of a redirect is checked as that of the settings.
      {"b4", host + ": redirect to a place that is no web address"},
      {"b7", "images.archive.test: too many redirects"},
      {"b8", host + ": redirect to a place that is no web address"},
      {"b5", host + ": the answer is no JPEG picture"},
      {"no/such", host + ": HTTP status 404"},
  };
  for (const auto& c : refused) {
    EXPECT_FALSE(mb.findCover(c.release)) << c.release;
    EXPECT_EQ(mb.failure(), c.failure);
  }
}

TEST_F(MusicBrainzAgainstServer, SearchesArePacedAndABusyServiceIsAskedOnceMore) {
  auto mb = source(milliseconds(300));
  CoverResults results;
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(mb.search("x", results));
  ASSERT_TRUE(mb.search("y", results));
  EXPECT_GE(std::chrono::steady_clock::now() - started, milliseconds(300));
  EXPECT_EQ(results.size(), 4u);

  write(pages_->path() / "ws_2_release.busy", "1");
  const auto busy = std::chrono::steady_clock::now();
  const std::size_t asked = server_->requests().size();
  EXPECT_TRUE(mb.search("z", results));
  fs::remove(pages_->path() / "ws_2_release.busy");
  EXPECT_GE(std::chrono::steady_clock::now() - busy, std::chrono::seconds(1));
  EXPECT_EQ(server_->requests().size(), asked + 2);
}

TEST_F(MusicBrainzAgainstServer, MalformedOrMissingAnswersFailTheSearch) {
  CoverResults results;
  auto broken = MusicBrainzSource(*client_, {"http://" + server_->host() + "/broken", "x"});
  EXPECT_FALSE(broken.search("x", results));
  EXPECT_EQ(broken.failure(), server_->host() + ": the answer is no list of releases");
  const std::string port = std::to_string(testing::refusingPort());
  const std::string refused = "http://127.0.0.1:" + port;
  auto unreachable = MusicBrainzSource(*client_, {refused, refused});
  EXPECT_FALSE(unreachable.search("x", results));
  EXPECT_EQ(unreachable.failure().rfind("127.0.0.1:" + port + ": ", 0), 0u)
      << unreachable.failure();
  EXPECT_EQ(results.size(), 0u);
}

}  // namespace
}  // namespace tunora
