#include "formats/flac_info.h"

namespace tunora {

int FLACInfo::readFile(const std::u16string& path) {
  fileName_ = path;
  return 0;
}

}  // namespace tunora
