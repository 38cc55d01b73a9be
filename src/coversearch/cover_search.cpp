#include "coversearch/cover_search.h"

#include "coversearch/cover_saving.h"
#include "io/file.h"
#include "jpeg/jpeg_codec.h"
#include "text/ascii_case.h"

namespace tunora {

std::vector<std::string> CoverSearch::sourceNames() const {
  return {hosts_.us, hosts_.german, std::string(kMusicBrainzSourceName)};
}

CoverSource& CoverSearch::sourceFor(std::string_view storeText) {
  if (equalIgnoringAsciiCase(storeText, kMusicBrainzSourceName)) return musicBrainz_;
  storeFront_.emplace(client_, std::string(storeText), hosts_.variantOf(storeText));
  return *storeFront_;
}

std::string CoverSearch::search(std::string_view storeText, std::string_view keywords) {
  results_.clear();
  selected_ = -1;
  coverShown_ = false;
  if (!sourceFor(storeText).search(keywords, results_))
    return std::string(coverstatus::kSearchFailed);
  return "Found " + std::to_string(results_.size()) + " items";
}

CoverSearch::Selection CoverSearch::select(std::string_view storeText, int index) {
  coverShown_ = false;
  selected_ = index;
  if (index < 0 || static_cast<std::size_t>(index) >= results_.size()) {
    selected_ = -1;
    return {std::string(coverstatus::kNoItemSelected), std::nullopt};
  }
  const auto at = static_cast<std::size_t>(index);
  auto& cover = results_[at].cover;
  cover = sourceFor(storeText).findCover(results_[at].link);
  if (!cover) return {std::string(coverstatus::kNoCoverFound), std::nullopt};
  auto picture = decodeJpeg(*cover);
  if (!picture) return {std::string(coverstatus::kInternalError), std::nullopt};
  coverShown_ = true;
  return {std::string(coverstatus::kCoverFound), std::move(picture)};
}

std::optional<std::string> CoverSearch::selectedPageUrl(std::string_view storeText) {
  if (selected_ < 0) return std::nullopt;
  return sourceFor(storeText).pageUrl(results_[static_cast<std::size_t>(selected_)].link);
}

std::string CoverSearch::save(const std::optional<std::string>& target) {
  if (!canSave()) return std::string(coverstatus::kNoCoverSelected);
  if (!target) return std::string(coverstatus::kSavingCancelled);
  const auto& cover = results_[static_cast<std::size_t>(selected_)].cover;
  if (!cover || !saveCover(*cover, pathFromNative(*target)))
    return std::string(coverstatus::kCouldNotCreate);
  return std::string(coverstatus::kCoverSaved);
}

void CoverSearch::close() {
  results_.clear();
  selected_ = -1;
  coverShown_ = false;
}

}  // namespace tunora
