#pragma once
// What the Cover-Search dialog does, apart from its window: the search, the
// cover of the selected result, saving it, each answered with the status text
// the dialog shows. The window only reads its controls and shows the answers.

#include <optional>
#include <string>
#include <string_view>

#include "coversearch/cover_results.h"
#include "coversearch/http_client.h"
#include "coversearch/musicbrainz.h"
#include "coversearch/store_fronts.h"
#include "jpeg/jpeg_codec.h"

namespace tunora {

namespace coverstatus {
inline constexpr std::string_view kNoItemSelected = "No item selected";
inline constexpr std::string_view kSearchFailed = "Error: Could not get search page";
inline constexpr std::string_view kCoverFound = "Cover found";
inline constexpr std::string_view kInternalError = "Internal error";
inline constexpr std::string_view kNoCoverFound = "No cover found for this item";
inline constexpr std::string_view kCoverSaved = "Cover saved";
inline constexpr std::string_view kCouldNotCreate = "Could not create file";
inline constexpr std::string_view kSavingCancelled = "Saving cancelled";
inline constexpr std::string_view kNoCoverSelected = "No cover selected";
}  // namespace coverstatus

class CoverSearch {
 public:
  CoverSearch(HttpClient& client, StoreHosts hosts, MusicBrainzService service = {},
              std::chrono::milliseconds musicBrainzSpacing = std::chrono::seconds(1))
      : client_(client),
        hosts_(std::move(hosts)),
        musicBrainz_(client, std::move(service), musicBrainzSpacing) {}

  const StoreHosts& hosts() const { return hosts_; }
  // The texts of the store list, in order: the two store fronts, MusicBrainz.
  std::vector<std::string> sourceNames() const;
  const CoverResults& results() const { return results_; }
  bool coverShown() const { return coverShown_; }

  // Forgets the previous results and their covers, then searches the store
  // front named by `storeText`: "Found N items" or the failure text.
  std::string search(std::string_view storeText, std::string_view keywords);

  struct Selection {
    std::string status;
    // The cover to show, decoded.
    std::optional<DecodedPicture> picture;
  };
  // Fetches the cover of a result (again, if it was fetched before).
  Selection select(std::string_view storeText, int index);

  // The store page of the selected result; nothing without a selection.
  std::optional<std::string> selectedPageUrl(std::string_view storeText);

  // Whether there is a cover to save; "No cover selected" otherwise.
  bool canSave() const { return selected_ >= 0 && coverShown_; }
  // Writes the selected cover to `target`; no target means the user cancelled.
  std::string save(const std::optional<std::string>& target);

  // Forgets everything, the downloaded covers too.
  void close();

 private:
  // MusicBrainz by its name, else the store front of that host text.
  CoverSource& sourceFor(std::string_view storeText);

  HttpClient& client_;
  StoreHosts hosts_;
  // Kept from search to search: it paces its requests.
  MusicBrainzSource musicBrainz_;
  std::optional<StoreFrontSource> storeFront_;
  CoverResults results_;
  int selected_ = -1;
  bool coverShown_ = false;
};

}  // namespace tunora
