#include "formats/mpc_info.h"

namespace tunora {

int MPCInfo::readFile(const std::u16string& path) {
  fileName_ = path;
  return 0;
}

}  // namespace tunora
