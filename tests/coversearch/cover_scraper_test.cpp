#include "coversearch/cover_scraper.h"

#include <gtest/gtest.h>

#include "support/table_http_client.h"

namespace tunora {
namespace {

CoverResults scan(std::string_view page, StoreVariant variant) {
  CoverResults results;
  parseResults(page, variant, results);
  return results;
}

TEST(ParseResults, KeepsOnlyAnchorsWithTheVariantsMarker) {
  const std::string_view page =
      "<a href=\"/exec/obidos/ASIN/B001/x\">German</a>\n"
      "<a href=\"/gp/detail/B002\">  <b>US</b> <i>Album</i>\r\n </a>\n"
      "<a href=\"/gp/detail/B003\"><img src=\"t.gif\"></a>\n"
      "<a href=\"/gp/detail/B004\">Buy new</a>\n"
      "<a href=\"/help\">Help</a>\n";
  const auto us = scan(page, StoreVariant::Us);
  ASSERT_EQ(us.size(), 1u);
  EXPECT_EQ(us[0].link, "/gp/detail/B002");
  EXPECT_EQ(us[0].text, "US Album");
  EXPECT_FALSE(us[0].cover);
  const auto german = scan(page, StoreVariant::German);
  ASSERT_EQ(german.size(), 1u);
  EXPECT_EQ(german[0].link, "/exec/obidos/ASIN/B001/x");
  EXPECT_EQ(german[0].text, "German");
  EXPECT_TRUE(scan(page, StoreVariant::None).empty());
}

TEST(ParseResults, MarkersCountOnlyBeforeTheClosingTag) {
  // The marker of the next anchor does not make this one a result; an image
  // after the closing tag does not spoil it.
  EXPECT_TRUE(scan("<a href=/a>x</a> /detail/", StoreVariant::Us).empty());
  const auto found = scan("<a href=/detail/1>x</a> <img src=a>", StoreVariant::Us);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].link, "/detail/1");
  // A ">" only past the closing tag: no link value.
  EXPECT_TRUE(scan("<a href=/detail/1</a>>", StoreVariant::Us).empty());
}

TEST(ParseResults, TextAndLinkCleaning) {
  const auto found = scan("<a href=\"/ASIN/\"1\"\">   </a> <a href=/ASIN/2><b>A</b>\n<i>B</i></a>.",
                          StoreVariant::German);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].link, "/ASIN/1");
  EXPECT_EQ(found[0].text, "");
  EXPECT_EQ(found[1].text, "AB");
  // Upper-case tags and tabs stay.
  EXPECT_EQ(stripBoldItalic("<B>x</b>\t<i><i>y</i>"), "<B>x\ty");
}

TEST(ParseResults, AnchorRightAfterAClosingTagIsPassedOver) {
  const auto found =
      scan("<a href=/ASIN/1>one</a><a href=/ASIN/2>two</a> <a href=/ASIN/3>three</a>",
           StoreVariant::German);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].text, "one");
  EXPECT_EQ(found[1].text, "three");
}

TEST(ParseResults, UnclosedAndTruncatedAnchorsEndCleanly) {
  EXPECT_TRUE(scan("<a href=/ASIN/1>never closed", StoreVariant::German).empty());
  EXPECT_TRUE(scan("<a href=", StoreVariant::German).empty());
  EXPECT_TRUE(scan("", StoreVariant::Us).empty());
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "<a href=/ASIN/";
  EXPECT_TRUE(scan(many, StoreVariant::German).empty());
}

using TableClient = testing::TableHttpClient;

std::optional<std::string> coverText(const std::optional<std::vector<std::uint8_t>>& cover) {
  if (!cover) return std::nullopt;
  return std::string(cover->begin(), cover->end());
}

TEST(FindCover, GermanWalksBackToTheNearestImagesAddress) {
  TableClient client;
  client.pages["http://s/p"] =
      "<html> <img src=\"http://images.x/a.jpg\"> <img src=\"HTTP://IMAGES.x/P/"
      "B1.03.LZZZZZZZ.jpg\">";
  client.pages["HTTP://IMAGES.x/P/B1.03.LZZZZZZZ.jpg"] = "picture";
  EXPECT_EQ(coverText(findCover(client, "http://s/p", StoreVariant::German)), "picture");

  // The marker must be followed by a quote and is matched in its letter case.
  client.pages["http://s/q"] = "0123456789abcdef http://images.x/LZZZZZZZ.jpg'";
  client.pages["http://s/r"] = "0123456789abcdef http://images.x/lzzzzzzz.jpg\"";
  EXPECT_FALSE(findCover(client, "http://s/q", StoreVariant::German));
  EXPECT_FALSE(findCover(client, "http://s/r", StoreVariant::German));
}

TEST(FindCover, AddressAtThePagesVeryStartIsNotSeen) {
  TableClient client;
  client.pages["http://s/0"] = "http://images.x/LZZZZZZZ.jpg\"";
  client.pages["http://s/14"] = "<p>0123456789>http://images.x/LZZZZZZZ.jpg\"";
  client.pages["http://images.x/LZZZZZZZ.jpg"] = "j";
  EXPECT_FALSE(findCover(client, "http://s/0", StoreVariant::German));
  EXPECT_EQ(coverText(findCover(client, "http://s/14", StoreVariant::German)), "j");
}

TEST(FindCover, UsGoesThroughTheImagePage) {
  TableClient client;
  client.pages["http://s/d"] = "<html><body><a href=\"http://s/gp/product/images/B1/\">more</a>";
  client.pages["http://s/gp/product/images/B1/"] =
      "<html><body><img src=\"http://images.x/B1.LZZZZZZZ_.jpg\">";
  client.pages["http://images.x/B1.LZZZZZZZ_.jpg"] = "us picture";
  EXPECT_EQ(coverText(findCover(client, "http://s/d", StoreVariant::Us)), "us picture");
  EXPECT_EQ(client.asked.size(), 3u);

  // A missing link, page or picture: no cover.
  client.pages["http://s/e"] = "<html><body>/product/images/ without an address";
  EXPECT_FALSE(findCover(client, "http://s/e", StoreVariant::Us));
  client.pages.erase("http://images.x/B1.LZZZZZZZ_.jpg");
  EXPECT_FALSE(findCover(client, "http://s/d", StoreVariant::Us));
  EXPECT_FALSE(findCover(client, "http://s/none", StoreVariant::Us));
  EXPECT_FALSE(findCover(client, "http://s/d", StoreVariant::None));
}

TEST(ParseResults, EntitiesAreDecodedExactlyOnce) {
  const struct {
    std::string_view text;
    std::string_view decoded;
  } cases[] = {
      {"Simon &amp; Garfunkel", "Simon & Garfunkel"},
      {"&amp;amp; &amp;lt;", "&amp; &lt;"},
      {"&lt;&gt;&quot;&apos;", "<>\"'"},
      {"&#39;&#x27;&#X41;&#065;", "''AA"},
      // Past ASCII, unknown names, no semicolon, too many digits: as they are.
      {"&#128; &#xe9; &eacute; &amp &#0065; &#; &", "&#128; &#xe9; &eacute; &amp &#0065; &#; &"},
      {"&#127;&#1;", "\x7f\x01"},
      {"end &", "end &"},
  };
  for (const auto& c : cases) EXPECT_EQ(decodeEntities(c.text), c.decoded) << c.text;
  const auto found = scan("<a href=\"/gp/detail/1\">AT&amp;amp;T &amp; Co</a>", StoreVariant::Us);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].text, "AT&amp;T & Co");
  EXPECT_EQ(found[0].link, "/gp/detail/1");
}

TEST(FindCover, FailuresSayWhereAndWhy) {
  TableClient client;
  client.pages["http://s/no-marker"] = "<html><body>nothing to see</body></html>";
  client.pages["http://s/us"] = "<html><body><a href=\"http://s/gp/product/images/B1/\">";
  const struct {
    std::string_view url;
    StoreVariant variant;
    std::string_view failure;
  } cases[] = {
      {"http://s/no-marker", StoreVariant::German, "s: the page names no cover"},
      {"http://s/no-marker", StoreVariant::Us, "s: the page names no cover"},
      {"http://s/absent", StoreVariant::German, "s: no answer"},
      {"http://s/us", StoreVariant::Us, "s: no answer"},
      {"http://s/no-marker", StoreVariant::None, "s: not a known store front"},
  };
  for (const auto& c : cases) {
    CoverFetch fetch;
    EXPECT_FALSE(findCover(client, c.url, c.variant, &fetch)) << c.url;
    EXPECT_EQ(fetch.failure, c.failure) << c.url;
  }
}

}  // namespace
}  // namespace tunora
