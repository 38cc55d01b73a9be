#include "coversearch/cover_scraper.h"

#include <cctype>
#include <utility>

#include "coversearch/store_client.h"
#include "text/ascii_case.h"
#include "text/debug_log.h"
#include "text/text_edits.h"

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

constexpr std::string_view kNoCoverNamed = "the page names no cover";

std::string* failureOf(CoverFetch* fetch) {
  return fetch != nullptr ? &fetch->failure : nullptr;
}

// The picture named by `marker` plus a closing quote, reached by walking back
// to its "http://images" address; `pageUrl` is where the page came from.
std::optional<std::vector<std::uint8_t>> downloadMarkedImage(HttpClient& client,
                                                             std::string_view pageUrl,
                                                             std::string_view page,
                                                             std::string_view marker,
                                                             CoverFetch* fetch) {
  const std::size_t at = page.find(std::string(marker) + '"');
  const auto start = at == npos ? std::nullopt : findBackwards(page, at, "http://images");
  if (!start) {
    noteFailure(failureOf(fetch), pageUrl, kNoCoverNamed);
    return std::nullopt;
  }
  const std::string url(page.substr(*start, at + marker.size() - *start));
  debugLog(">>>'%s'\n", url.c_str());
  return downloadPicture(client, url, fetch);
}

std::optional<std::vector<std::uint8_t>> findUsCover(HttpClient& client,
                                                     std::string_view productUrl,
                                                     CoverFetch* fetch) {
  std::string* failure = failureOf(fetch);
  const auto product = fetchUrl(client, productUrl, failure);
  if (!product) return std::nullopt;
  const std::string_view page = asText(*product);
  constexpr std::string_view kImagesPath = "/product/images/";
  const std::size_t images = page.find(kImagesPath);
  const auto start = images == npos ? std::nullopt : findBackwards(page, images, "http://");
  const std::size_t quote = start ? page.find('"', images + kImagesPath.size()) : npos;
  if (quote == npos) {
    noteFailure(failure, productUrl, kNoCoverNamed);
    return std::nullopt;
  }
  const std::string_view imagePageUrl = page.substr(*start, quote - *start);
  const auto imagePage = fetchUrl(client, imagePageUrl, failure);
  if (!imagePage) return std::nullopt;
  return downloadMarkedImage(client, imagePageUrl, asText(*imagePage), "LZZZZZZZ_.jpg", fetch);
}

}  // namespace

std::string stripBoldItalic(std::string text) {
  for (const std::string_view tag : {"<b>", "</b>", "<i>", "</i>"})
    replaceText(text, tag, "", true);
  return text;
}

std::string decodeEntities(std::string_view text) {
  constexpr std::pair<std::string_view, char> kNamed[] = {
      {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
  std::string decoded;
  decoded.reserve(text.size());
  std::size_t p = 0;
  while (p < text.size()) {
    const std::size_t amp = text.find('&', p);
    decoded.append(text.substr(p, amp == npos ? npos : amp - p));
    if (amp == npos) break;
    const std::string_view rest = text.substr(amp + 1);
    std::optional<std::pair<char, std::size_t>> found;  // character, length after '&'
    for (const auto& [name, c] : kNamed)
      if (rest.starts_with(name)) found = {{c, name.size()}};
    if (!found && rest.starts_with('#')) {
      const bool hex = rest.size() > 1 && (rest[1] == 'x' || rest[1] == 'X');
      const std::size_t digitsAt = hex ? 2 : 1;
      unsigned value = 0;
      std::size_t end = digitsAt;
      // Three hexadecimal or decimal digits at most: ASCII is all that is read.
      while (end < rest.size() && end - digitsAt < 3 &&
             std::isxdigit(static_cast<unsigned char>(rest[end])) &&
             (hex || std::isdigit(static_cast<unsigned char>(rest[end])))) {
        const char d = rest[end++];
        value =
            value * (hex ? 16 : 10) +
            static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(d))
                                      ? d - '0'
                                      : (std::tolower(static_cast<unsigned char>(d)) - 'a' + 10));
      }
      if (end > digitsAt && end < rest.size() && rest[end] == ';' && value > 0 && value < 0x80)
        found = {{static_cast<char>(value), end + 1}};
    }
    if (found) {
      decoded += found->first;
      p = amp + 1 + found->second;
    } else {
      decoded += '&';
      p = amp + 1;
    }
  }
  return decoded;
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
      std::string text = decodeEntities(
          trimBlanks(stripBoldItalic(withoutAny(page.substr(close + 1, end - close - 1), "\r\n"))));
      const int index = static_cast<int>(results.size());
      debugLog("Added url: (%d)'%s'\n", index, link.c_str());
      debugLog("Added txt (%d): '%s'\n", index, text.c_str());
      results.push_back({std::move(link), std::move(text), std::nullopt});
    }
    // One character past the closing tag is passed over: an anchor that
    // follows it without a gap is not seen.
    p = end + kAnchorEnd.size() + 1;
  }
}

std::optional<std::vector<std::uint8_t>> findCover(HttpClient& client, std::string_view productUrl,
                                                   StoreVariant variant, CoverFetch* fetch) {
  if (variant == StoreVariant::Us) return findUsCover(client, productUrl, fetch);
  if (variant != StoreVariant::German) {
    noteFailure(failureOf(fetch), productUrl, "not a known store front");
    return std::nullopt;
  }
  const auto product = fetchUrl(client, productUrl, failureOf(fetch));
  if (!product) return std::nullopt;
  return downloadMarkedImage(client, productUrl, asText(*product), "LZZZZZZZ.jpg", fetch);
}

}  // namespace tunora
