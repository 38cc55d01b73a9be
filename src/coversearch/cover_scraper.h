#pragma once
// Reading the store's HTML pages by plain substring search: the albums of a
// result page, and the cover picture behind one album's page. Pages in any
// other layout give no results and no cover.

#include <optional>
#include <string>
#include <string_view>

#include "coversearch/cover_results.h"
#include "coversearch/http_client.h"
#include "coversearch/store_fronts.h"

namespace tunora {

// Appends every anchor of the page that links to an album of the variant.
void parseResults(std::string_view page, StoreVariant variant, CoverResults& results);

// Downloads the cover of the album page at `productUrl` into a temporary
// file; its name, or nothing when a page or a marker is missing.
std::optional<std::string> findCover(HttpClient& client, std::string_view productUrl,
                                     StoreVariant variant);

// Without "<b>", "</b>", "<i>" and "</i>" (lower case only).
std::string stripBoldItalic(std::string text);

}  // namespace tunora
