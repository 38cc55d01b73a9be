#include "coversearch/cover_source.h"

#include "coversearch/cover_scraper.h"
#include "coversearch/store_client.h"

namespace tunora {

bool StoreFrontSource::search(std::string_view keywords, CoverResults& results) {
  return postSearchForm(client_, host_, variant_, keywords, results, &fetch_.failure);
}

std::optional<std::vector<std::uint8_t>> StoreFrontSource::findCover(std::string_view link) {
  return tunora::findCover(client_, pageUrl(link), variant_, &fetch_);
}

std::string StoreFrontSource::pageUrl(std::string_view link) const {
  return "http://" + host_ + std::string(link);
}

}  // namespace tunora
