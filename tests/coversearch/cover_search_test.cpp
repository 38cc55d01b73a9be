#include "coversearch/cover_search.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "io/file.h"
#include "support/table_http_client.h"
#include "support/temp_dir.h"
#include "support/temp_folder.h"

namespace tunora {
namespace {

class CoverSearchDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto jpeg = readWholeFile(testing::fixturePath("jpeg/ycbcr.jpg"));
    ASSERT_TRUE(jpeg);
    picture_.assign(jpeg->begin(), jpeg->end());
    client_.formAnswer =
        "<a href=\"/ASIN/1\">With cover</a> <a href=\"/ASIN/2\">Without</a> "
        "<a href=\"/ASIN/3\">Broken picture</a>";
    const std::string padding = "<html><body><img src=";
    client_.pages["http://de/ASIN/1"] = padding + "\"http://images.de/1.LZZZZZZZ.jpg\"";
    client_.pages["http://images.de/1.LZZZZZZZ.jpg"] = picture_;
    client_.pages["http://de/ASIN/3"] = padding + "\"http://images.de/3.LZZZZZZZ.jpg\"";
    client_.pages["http://images.de/3.LZZZZZZZ.jpg"] = "not a jpeg";
  }

  std::string saved(const std::string& target) {
    const auto bytes = readWholeFile(pathFromNative(target));
    return bytes ? std::string(bytes->begin(), bytes->end()) : "(none)";
  }

  testing::TableHttpClient client_;
  CoverSearch search_{client_, StoreHosts{"us", "de"}};
  std::string picture_;
};

TEST_F(CoverSearchDialog, SearchSelectAndSave) {
  EXPECT_EQ(search_.save("x"), coverstatus::kNoCoverSelected);
  EXPECT_FALSE(search_.selectedPageUrl("DE"));
  EXPECT_EQ(search_.search("DE", "a & b"), "Found 3 items");
  EXPECT_EQ(client_.asked.back(),
            "POST DE/exec/obidos/search-handle-form/ "
            "size=10&field-keywords=a+%26+b&url=index%3Dpop-music-de");

  const auto shown = search_.select("de", 0);
  EXPECT_EQ(shown.status, coverstatus::kCoverFound);
  ASSERT_TRUE(shown.picture);
  EXPECT_EQ(shown.picture->width, 40u);
  EXPECT_EQ(shown.picture->height, 30u);
  EXPECT_TRUE(search_.coverShown());
  EXPECT_EQ(search_.selectedPageUrl("de"), "http://de/ASIN/1");

  testing::TempDir dir;
  EXPECT_EQ(search_.save(std::nullopt), coverstatus::kSavingCancelled);
  const std::string target = pathToNative(dir.file("folder.jpg"));
  ASSERT_TRUE(writeWholeFile(pathFromNative(target), std::vector<std::uint8_t>(5000, 'x')));
  // The store's bytes, whole, in place of what was there.
  EXPECT_EQ(search_.save(target), coverstatus::kCoverSaved);
  EXPECT_EQ(saved(target), picture_);
  EXPECT_EQ(search_.save(pathToNative(dir.file("no/folder.jpg"))), coverstatus::kCouldNotCreate);

  EXPECT_EQ(search_.select("de", 1).status, coverstatus::kNoCoverFound);
  EXPECT_FALSE(search_.canSave());
  const auto broken = search_.select("de", 2);
  EXPECT_EQ(broken.status, coverstatus::kInternalError);
  EXPECT_FALSE(broken.picture);
  EXPECT_EQ(search_.save(target), coverstatus::kNoCoverSelected);
  EXPECT_EQ(saved(target), picture_);
}

TEST_F(CoverSearchDialog, CoversLiveInTheResultsAndNothingGoesToTheTemporaryFolder) {
  testing::TempDir temp;
  const testing::TempFolderOverride tempFolder(temp.path());
  search_.search("de", "x");
  search_.select("de", 0);
  EXPECT_EQ(search_.results()[0].cover,
            std::vector<std::uint8_t>(picture_.begin(), picture_.end()));
  // Selected again, the cover is fetched again.
  const std::size_t asked = client_.asked.size();
  search_.select("de", 0);
  EXPECT_EQ(client_.asked.size(), asked + 2);
  search_.select("de", 2);
  EXPECT_TRUE(search_.results()[2].cover);

  EXPECT_EQ(search_.search("de", "x"), "Found 3 items");
  EXPECT_FALSE(search_.results()[0].cover);
  EXPECT_FALSE(search_.canSave());
  search_.select("de", 0);
  search_.close();
  EXPECT_EQ(search_.results().size(), 0u);
  EXPECT_FALSE(search_.canSave());
  EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
}

TEST_F(CoverSearchDialog, UnknownStoreFindsNothingAndAFailedPostIsReported) {
  EXPECT_EQ(search_.search("elsewhere", "x"), "Found 0 items");
  EXPECT_TRUE(client_.asked.empty());
  client_.formAnswer.reset();
  EXPECT_EQ(search_.search("us", "x"), coverstatus::kSearchFailed);
  EXPECT_EQ(search_.select("us", 0).status, coverstatus::kNoItemSelected);
}

}  // namespace
}  // namespace tunora
