#include "coversearch/cover_results.h"

#include "io/file.h"

namespace tunora {

void CoverResults::append(std::string link, std::string text) {
  results_.push_back({std::move(link), std::move(text), std::nullopt});
}

void CoverResults::clear() {
  for (const auto& result : results_)
    if (result.coverFile) deleteFile(std::string_view(*result.coverFile));
  results_.clear();
}

void CoverResults::setCoverFile(std::size_t index, std::optional<std::string> file) {
  if (index >= results_.size()) return;
  auto& stored = results_[index].coverFile;
  // Selecting a result again fetches its cover again; the old copy would
  // otherwise stay in the temporary folder for good.
  if (stored && stored != file) deleteFile(std::string_view(*stored));
  stored = std::move(file);
}

}  // namespace tunora
