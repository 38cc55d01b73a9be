#include "io/private_module.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace tunora {
namespace {

// The module folder relative to the folder of the running program.
constexpr char kModuleFolder[] = TUNORA_PRIVATE_MODULE_FOLDER;

std::filesystem::path moduleFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || program.empty()) return {};
  return (program.parent_path() / kModuleFolder).lexically_normal();
}

}  // namespace

void* privateModuleSymbol(const char* fileName, const char* name) {
  const std::filesystem::path folder = moduleFolder();
  if (folder.empty()) return nullptr;
  // RTLD_LOCAL: the module's library stays out of the tool's symbol lookup.
  void* module = dlopen((folder / fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
  return module ? dlsym(module, name) : nullptr;
}

}  // namespace tunora
