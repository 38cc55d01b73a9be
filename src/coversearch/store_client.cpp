#include "coversearch/store_client.h"

#include "coversearch/cover_scraper.h"
#include "io/file.h"
#include "text/helpers.h"

namespace tunora {

std::string encodeFormValue(std::string_view text) {
  return percentEncode(text, PercentEncoding::FormValue);
}

bool postSearchForm(HttpClient& client, std::string_view host, StoreVariant variant,
                    std::string_view keywords, CoverResults& results) {
  if (variant == StoreVariant::None) return true;
  const SearchForm form = searchFormOf(variant);
  std::string body(form.bodyPrefix);
  body += encodeFormValue(keywords);
  body += form.bodySuffix;
  const auto page = client.postForm(host, form.path, body);
  if (!page) return false;
  const std::string_view text(reinterpret_cast<const char*>(page->data()), page->size());
  // The page is scraped as text: it ends at its first NUL.
  parseResults(text.substr(0, text.find('\0')), variant, results);
  return true;
}

std::optional<std::vector<std::uint8_t>> fetchUrl(HttpClient& client, std::string_view url) {
  auto bytes = client.get(url);
  if (!bytes || bytes->empty()) return std::nullopt;
  return bytes;
}

std::optional<std::string> downloadToTempFile(HttpClient& client, std::string_view url) {
  const auto bytes = fetchUrl(client, url);
  if (!bytes) return std::nullopt;
  std::string name = makeTempFileName();
  if (name.empty()) return std::nullopt;
  if (!writeWholeFile(pathFromNative(name), *bytes)) {
    // Half a picture would later be offered for saving as the cover.
    deleteFile(std::string_view(name));
    return std::nullopt;
  }
  return name;
}

}  // namespace tunora
