#pragma once
// The three requests of the cover search over an HttpClient: the keyword
// search on a store front, a URL into memory, a URL into a temporary file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "coversearch/cover_results.h"
#include "coversearch/http_client.h"
#include "coversearch/store_fronts.h"

namespace tunora {

// The text as a form value: letters, digits and "-._*" stay, a blank becomes
// "+", every other byte "%XX". Unencoded, "&", "=" or "+" in an artist's name
// would split or change the form's fields.
std::string encodeFormValue(std::string_view text);

// Posts the variant's search form with the keywords to `host` and scrapes the
// answer into `results` (appending). A host of neither variant is asked with
// nothing and scrapes nothing, yet succeeds. False when the page could not be
// fetched.
bool postSearchForm(HttpClient& client, std::string_view host, StoreVariant variant,
                    std::string_view keywords, CoverResults& results);

// The response bytes; nothing on failure and for an empty body.
std::optional<std::vector<std::uint8_t>> fetchUrl(HttpClient& client, std::string_view url);

// The name of a new temporary file holding the response; nothing on failure,
// in which case no file is left behind.
std::optional<std::string> downloadToTempFile(HttpClient& client, std::string_view url);

}  // namespace tunora
