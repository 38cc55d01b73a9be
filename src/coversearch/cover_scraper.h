#pragma once
// Reading the store's HTML pages by plain substring search: the albums of a
// result page, and the cover picture behind one album's page. Pages in any
// other layout give no results and no cover.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "coversearch/cover_results.h"
#include "coversearch/http_client.h"
#include "coversearch/store_client.h"
#include "coversearch/store_fronts.h"

namespace tunora {

// Appends every anchor of the page that links to an album of the variant.
void parseResults(std::string_view page, StoreVariant variant, CoverResults& results);

// Downloads the cover of the album page at `productUrl`; nothing when a page,
// a marker or the picture is missing (then `fetch`, where given, says which).
std::optional<std::vector<std::uint8_t>> findCover(HttpClient& client, std::string_view productUrl,
                                                   StoreVariant variant,
                                                   CoverFetch* fetch = nullptr);

// Without "<b>", "</b>", "<i>" and "</i>" (lower case only).
std::string stripBoldItalic(std::string text);

// The text with "&amp;", "&lt;", "&gt;", "&quot;", "&apos;" and numeric
// references to ASCII characters ("&#39;", "&#x27;") decoded, each once:
// "&amp;amp;" gives "&amp;". Other references stay as they are.
std::string decodeEntities(std::string_view text);

}  // namespace tunora
