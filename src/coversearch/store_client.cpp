#include "coversearch/store_client.h"

#include "coversearch/cover_scraper.h"
#include "jpeg/jpeg_codec.h"
#include "text/percent_encoding.h"

namespace tunora {
namespace {

// The client's own reason, else the plainest one.
std::string reasonOf(const HttpClient& client) {
  return client.lastError().empty() ? std::string("no answer") : client.lastError();
}

}  // namespace

std::string encodeFormValue(std::string_view text) {
  return percentEncode(text, PercentEncoding::FormValue);
}

void noteFailure(std::string* failure, std::string_view url, std::string_view reason) {
  if (failure != nullptr) *failure = std::string(hostOfUrl(url)) + ": " + std::string(reason);
}

bool postSearchForm(HttpClient& client, std::string_view host, StoreVariant variant,
                    std::string_view keywords, CoverResults& results, std::string* failure) {
  if (variant == StoreVariant::None) return true;
  const SearchForm form = searchFormOf(variant);
  std::string body(form.bodyPrefix);
  body += encodeFormValue(keywords);
  body += form.bodySuffix;
  const auto page = client.postForm(host, form.path, body);
  if (!page) {
    noteFailure(failure, host, reasonOf(client));
    return false;
  }
  // A redirect, a server error or an empty answer is no page of results,
  // not a search that found nothing.
  const long status = client.lastStatus();
  if (status != 0 && status != 200) {
    noteFailure(failure, host, "HTTP status " + std::to_string(status));
    return false;
  }
  if (page->empty()) {
    noteFailure(failure, host, "empty answer");
    return false;
  }
  const std::string_view text(reinterpret_cast<const char*>(page->data()), page->size());
  // The page is scraped as text: it ends at its first NUL.
  parseResults(text.substr(0, text.find('\0')), variant, results);
  return true;
}

std::optional<std::vector<std::uint8_t>> fetchUrl(HttpClient& client, std::string_view url,
                                                  std::string* failure) {
  auto bytes = client.get(url);
  if (!bytes) {
    noteFailure(failure, url, reasonOf(client));
    return std::nullopt;
  }
  if (bytes->empty()) {
    noteFailure(failure, url, "empty answer");
    return std::nullopt;
  }
  return bytes;
}

std::optional<std::string> pictureFault(const ServiceAnswer& answer, bool decode) {
  if (answer.status != 200 && answer.status != 0)
    return "HTTP status " + std::to_string(answer.status);
  const auto& body = answer.body;
  if (body.size() < 3 || body[0] != 0xFF || body[1] != 0xD8 || body[2] != 0xFF)
    return "the answer is no JPEG picture";
  if (decode && !decodeJpeg(body)) return "the JPEG picture does not decode";
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> downloadPicture(HttpClient& client, std::string_view url,
                                                         CoverFetch* fetch) {
  std::string* failure = fetch != nullptr ? &fetch->failure : nullptr;
  auto answer = client.getPicture(url, kMaxPictureBytes);
  if (!answer) {
    noteFailure(failure, url, reasonOf(client));
    return std::nullopt;
  }
  if (answer->body.empty()) {
    noteFailure(failure, url, "empty answer");
    return std::nullopt;
  }
  if (fetch != nullptr && fetch->wholeJpegOnly) {
    if (const auto fault = pictureFault(*answer, true)) {
      noteFailure(failure, url, *fault);
      return std::nullopt;
    }
  }
  return std::move(answer->body);
}

}  // namespace tunora
