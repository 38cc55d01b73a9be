#include "formats/mp4_info.h"

namespace tunora {

int MP4Info::readFile(const std::u16string& path) {
  fileName_ = path;
  return 0;
}

}  // namespace tunora
