#include "formats/ogg_info.h"

namespace tunora {

int OGGInfo::readFile(const std::u16string& path) {
  fileName_ = path;
  return 0;
}

}  // namespace tunora
