#include "cli/on_demand_library.h"

#include <dlfcn.h>

namespace tunora {

#ifdef TUNORA_ON_DEMAND_LIBRARIES_ABSENT
// The tool as it runs where none of these libraries is installed, built for
// its tests.
OnDemandLibrary::OnDemandLibrary(const char*) {}
#else
OnDemandLibrary::OnDemandLibrary(const char* fileName)
    : handle_(dlopen(fileName, RTLD_NOW | RTLD_LOCAL)) {}
#endif

void* OnDemandLibrary::symbol(const char* name) const {
  return handle_ ? dlsym(handle_, name) : nullptr;
}

}  // namespace tunora
