#include "coversearch/cover_search.h"

#include <gtest/gtest.h>

#include "io/file.h"
#include "support/table_http_client.h"
#include "support/temp_dir.h"

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
  ASSERT_TRUE(shown.displayFile);
  deleteFile(std::string_view(*shown.displayFile));
  EXPECT_TRUE(search_.coverShown());
  EXPECT_EQ(search_.selectedPageUrl("de"), "http://de/ASIN/1");

  testing::TempDir dir;
  EXPECT_EQ(search_.save(std::nullopt), coverstatus::kSavingCancelled);
  const std::string target = pathToNative(dir.file("folder.jpg"));
  EXPECT_EQ(search_.save(target), coverstatus::kCoverSaved);
  const auto saved = readWholeFile(pathFromNative(target));
  ASSERT_TRUE(saved);
  EXPECT_EQ(std::string(saved->begin(), saved->end()), picture_);
  EXPECT_EQ(search_.save(pathToNative(dir.file("no/folder.jpg"))), coverstatus::kCouldNotCreate);

  EXPECT_EQ(search_.select("de", 1).status, coverstatus::kNoCoverFound);
  EXPECT_FALSE(search_.canSave());
  EXPECT_EQ(search_.select("de", 2).status, coverstatus::kInternalError);
  EXPECT_EQ(search_.save(target), coverstatus::kNoCoverSelected);
}

TEST_F(CoverSearchDialog, NewSearchAndCloseDeleteTheDownloadedCovers) {
  search_.search("de", "x");
  const auto first = search_.select("de", 0);
  if (first.displayFile) deleteFile(std::string_view(*first.displayFile));
  const auto cover = search_.results()[0].coverFile;
  ASSERT_TRUE(cover);
  EXPECT_TRUE(fileExists(std::string_view(*cover)));
  EXPECT_EQ(search_.search("de", "x"), "Found 3 items");
  EXPECT_FALSE(fileExists(std::string_view(*cover)));
  EXPECT_FALSE(search_.canSave());

  const auto again = search_.select("de", 0);
  if (again.displayFile) deleteFile(std::string_view(*again.displayFile));
  const auto second = search_.results()[0].coverFile;
  ASSERT_TRUE(second);
  search_.close();
  EXPECT_FALSE(fileExists(std::string_view(*second)));
  EXPECT_EQ(search_.results().size(), 0u);
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
