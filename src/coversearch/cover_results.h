#pragma once
// The albums a search found: link and display text each, and the temporary
// file of its cover once one was fetched. The list owns those files: they are
// deleted when it is emptied (every new search) and when it is destroyed.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tunora {

struct CoverResult {
  std::string link;  // as found in the page: a path on the store host
  std::string text;
  std::optional<std::string> coverFile;
};

class CoverResults {
 public:
  CoverResults() = default;
  ~CoverResults() { clear(); }
  CoverResults(const CoverResults&) = delete;
  CoverResults& operator=(const CoverResults&) = delete;

  void append(std::string link, std::string text);
  // Deletes every cover file, then forgets every result.
  void clear();
  // Stores the cover file of a result, deleting the one it replaces.
  void setCoverFile(std::size_t index, std::optional<std::string> file);

  std::size_t size() const { return results_.size(); }
  const CoverResult& operator[](std::size_t index) const { return results_[index]; }

 private:
  std::vector<CoverResult> results_;
};

}  // namespace tunora
