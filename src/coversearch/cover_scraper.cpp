#include "coversearch/cover_scraper.h"

#include "coversearch/store_client.h"
#include "text/debug_log.h"
#include "text/helpers.h"

namespace tunora {
namespace {

constexpr std::string_view kAnchorStart = "<a href=";
constexpr std::string_view kAnchorEnd = "</a>";
constexpr auto npos = std::string_view::npos;

bool occursBefore(std::string_view page, std::string_view text, std::size_t from, std::size_t end) {
  // Searching only up to `end` keeps a page of many anchors linear.
  return page.substr(0, end).find(text, from) != npos;
}

bool linksToAlbum(std::string_view page, StoreVariant variant, std::size_t from, std::size_t end) {
  // An anchor around a picture is the store's thumbnail, never a result.
  if (occursBefore(page, "<img src", from, end)) return false;
  if (variant == StoreVariant::German) return occursBefore(page, "/ASIN/", from, end);
  if (variant == StoreVariant::Us)
    return occursBefore(page, "/detail/", from, end) && !occursBefore(page, "Buy new", from, end);
  return false;
}

std::string withoutAny(std::string_view text, std::string_view dropped) {
  std::string kept;
  for (const char c : text)
    if (dropped.find(c) == npos) kept += c;
  return kept;
}

// The nearest start of `prefix` (letter case ignored) before `from`; only
// starts past the prefix's own length count, as the store's pages never
// begin with a link.
std::optional<std::size_t> findBackwards(std::string_view page, std::size_t from,
                                         std::string_view prefix) {
  const std::size_t lowest = prefix.size() + 1;
  for (std::size_t start = from; start >= lowest; --start)
    if (equalIgnoringAsciiCase(page.substr(start, prefix.size()), prefix)) return start;
  return std::nullopt;
}

std::string_view asText(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The picture named by `marker` plus a closing quote, reached by walking back
// to its "http://images" address.
std::optional<std::string> downloadMarkedImage(HttpClient& client, std::string_view page,
                                               std::string_view marker) {
  const std::size_t at = page.find(std::string(marker) + '"');
  if (at == npos) return std::nullopt;
  const auto start = findBackwards(page, at, "http://images");
  if (!start) return std::nullopt;
  const std::string url(page.substr(*start, at + marker.size() - *start));
  debugLog(">>>'%s'\n", url.c_str());
  return downloadToTempFile(client, url);
}

std::optional<std::string> findUsCover(HttpClient& client, std::string_view productUrl) {
  const auto product = fetchUrl(client, productUrl);
  if (!product) return std::nullopt;
  const std::string_view page = asText(*product);
  constexpr std::string_view kImagesPath = "/product/images/";
  const std::size_t images = page.find(kImagesPath);
  if (images == npos) return std::nullopt;
  const auto start = findBackwards(page, images, "http://");
  if (!start) return std::nullopt;
  const std::size_t quote = page.find('"', images + kImagesPath.size());
  if (quote == npos) return std::nullopt;
  const auto imagePage = fetchUrl(client, page.substr(*start, quote - *start));
  if (!imagePage) return std::nullopt;
  return downloadMarkedImage(client, asText(*imagePage), "LZZZZZZZ_.jpg");
}

}  // namespace

std::string stripBoldItalic(std::string text) {
  for (const std::string_view tag : {"<b>", "</b>", "<i>", "</i>"})
    replaceText(text, tag, "", true);
  return text;
}

void parseResults(std::string_view page, StoreVariant variant, CoverResults& results) {
  std::size_t p = 0;
  while (true) {
    const std::size_t anchor = page.find(kAnchorStart, p);
    if (anchor == npos) return;
    p = anchor + 1;
    const std::size_t end = page.find(kAnchorEnd, p);
    // Later anchors cannot be closed either.
    if (end == npos) return;
    const std::size_t valueStart = anchor + kAnchorStart.size();
    const std::size_t close = page.find('>', valueStart);
    if (linksToAlbum(page, variant, p, end) && close != npos && close < end) {
      std::string link = withoutAny(page.substr(valueStart, close - valueStart), "\"");
      std::string text =
          trimBlanks(stripBoldItalic(withoutAny(page.substr(close + 1, end - close - 1), "\r\n")));
      const int index = static_cast<int>(results.size());
      debugLog("Added url: (%d)'%s'\n", index, link.c_str());
      debugLog("Added txt (%d): '%s'\n", index, text.c_str());
      results.append(std::move(link), std::move(text));
    }
    // One character past the closing tag is passed over: an anchor that
    // follows it without a gap is not seen.
    p = end + kAnchorEnd.size() + 1;
  }
}

std::optional<std::string> findCover(HttpClient& client, std::string_view productUrl,
                                     StoreVariant variant) {
  if (variant == StoreVariant::Us) return findUsCover(client, productUrl);
  if (variant != StoreVariant::German) return std::nullopt;
  const auto product = fetchUrl(client, productUrl);
  if (!product) return std::nullopt;
  return downloadMarkedImage(client, asText(*product), "LZZZZZZZ.jpg");
}

}  // namespace tunora
