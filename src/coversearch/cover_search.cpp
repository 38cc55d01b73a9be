#include "coversearch/cover_search.h"

#include "coversearch/cover_saving.h"
#include "coversearch/cover_scraper.h"
#include "coversearch/store_client.h"
#include "io/file.h"

namespace tunora {

std::string CoverSearch::search(std::string_view storeText, std::string_view keywords) {
  results_.clear();
  selected_ = -1;
  coverShown_ = false;
  if (!postSearchForm(client_, storeText, hosts_.variantOf(storeText), keywords, results_))
    return std::string(coverstatus::kSearchFailed);
  return "Found " + std::to_string(results_.size()) + " items";
}

std::string CoverSearch::productUrl(std::string_view storeText, std::size_t index) const {
  return "http://" + std::string(storeText) + results_[index].link;
}

CoverSearch::Selection CoverSearch::select(std::string_view storeText, int index) {
  coverShown_ = false;
  selected_ = index;
  if (index < 0 || static_cast<std::size_t>(index) >= results_.size()) {
    selected_ = -1;
    return {std::string(coverstatus::kNoItemSelected), std::nullopt};
  }
  const auto at = static_cast<std::size_t>(index);
  results_.setCoverFile(at,
                        findCover(client_, productUrl(storeText, at), hosts_.variantOf(storeText)));
  const auto& cover = results_[at].coverFile;
  if (!cover) return {std::string(coverstatus::kNoCoverFound), std::nullopt};
  auto display = makeDisplayFile(*cover);
  if (!display) return {std::string(coverstatus::kInternalError), std::nullopt};
  coverShown_ = true;
  return {std::string(coverstatus::kCoverFound), std::move(display)};
}

std::optional<std::string> CoverSearch::selectedPageUrl(std::string_view storeText) const {
  if (selected_ < 0) return std::nullopt;
  return productUrl(storeText, static_cast<std::size_t>(selected_));
}

std::string CoverSearch::save(const std::optional<std::string>& target) {
  if (!canSave()) return std::string(coverstatus::kNoCoverSelected);
  if (!target) return std::string(coverstatus::kSavingCancelled);
  const auto& cover = results_[static_cast<std::size_t>(selected_)].coverFile;
  if (!cover || !copyFileVerified(*cover, *target))
    return std::string(coverstatus::kCouldNotCreate);
  return std::string(coverstatus::kCoverSaved);
}

void CoverSearch::close() {
  results_.clear();
  selected_ = -1;
  coverShown_ = false;
}

}  // namespace tunora
