#include "tags/mp3_info.h"

namespace tunora {

int MP3Info::readFile(const std::u16string& path) {
  fileName_ = path;
  return 0;
}

}  // namespace tunora
