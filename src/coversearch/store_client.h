#pragma once
// The three requests of the cover search over an HttpClient: the keyword
// search on a store front, a URL into memory, a whole picture into memory.
// Each failure can be told as "HOST: REASON".

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

// Stores "HOST: REASON" for `url` in `failure` where one is asked for.
void noteFailure(std::string* failure, std::string_view url, std::string_view reason);

// Posts the variant's search form with the keywords to `host` and scrapes the
// answer into `results` (appending). A host of neither variant is asked with
// nothing and scrapes nothing, yet succeeds. False when no result page came:
// no answer, an HTTP status other than 200, or an empty page.
bool postSearchForm(HttpClient& client, std::string_view host, StoreVariant variant,
                    std::string_view keywords, CoverResults& results,
                    std::string* failure = nullptr);

// The response bytes; nothing on failure and for an empty body.
std::optional<std::vector<std::uint8_t>> fetchUrl(HttpClient& client, std::string_view url,
                                                  std::string* failure = nullptr);

// How a cover is fetched, and why none came.
struct CoverFetch {
  // Only a whole JPEG counts: status 200, a body that starts FF D8 FF and
  // decodes. Otherwise the bytes are taken as they come, to be judged when
  // shown.
  bool wholeJpegOnly = false;
  // "HOST: REASON" of the last failure.
  std::string failure;
};

// Why an answer is no JPEG picture: a status other than 200 (0, a client that
// does not tell, passes), a body that does not start FF D8 FF, or, with
// `decode`, one that does not decode. Nothing when it is one.
std::optional<std::string> pictureFault(const ServiceAnswer& answer, bool decode);

// The picture at `url`, never one cut at the size cap; nothing on failure.
std::optional<std::vector<std::uint8_t>> downloadPicture(HttpClient& client, std::string_view url,
                                                         CoverFetch* fetch = nullptr);

}  // namespace tunora
