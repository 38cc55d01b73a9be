#include "text/year_and_genre.h"

namespace tunora {

bool reduceYear(std::u16string& year) {
  std::size_t runStart = 0;
  std::size_t runLength = 0;
  for (std::size_t i = 0; i < year.size() && year[i] != 0; ++i) {
    if (year[i] >= u'0' && year[i] <= u'9') {
      if (runLength++ == 0) runStart = i;
      if (runLength == 4) {
        year = year.substr(runStart, 4);
        return true;
      }
    } else {
      runLength = 0;
    }
  }
  year = u"Unknown";
  return false;
}

void stripGenreNumber(std::u16string& genre) {
  if (genre.empty() || genre[0] != u'(') return;
  const auto close = genre.find(u')');
  if (close != genre.npos) genre.erase(0, close + 1);
}

}  // namespace tunora
