#include "tags/aac_info.h"

namespace tunora {

int AACInfo::readFile(const std::u16string& path) {
  fileName_ = path;
  return 0;
}

}  // namespace tunora
