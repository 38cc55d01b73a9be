#pragma once
// The tool reaches libcurl and libsystemd through small shared objects of its
// own, one per library, each linked with its library as usual. A module is
// opened when a command first needs it, so a command that needs neither
// library starts without loading them, and the tool still runs where one is
// not installed. The modules stand in the tool's private library folder,
// found from the running program's own path: "../lib/tunora" beside "bin",
// as installed and as this build tree lays them out.

namespace tunora {

// The function `name` of the module `fileName`; null when the module, a
// library it needs, or the function is missing. A module once opened stays
// loaded until the process ends.
void* privateModuleSymbol(const char* fileName, const char* name);

template <typename Function>
Function* privateModuleFunction(const char* fileName, const char* name) {
  return reinterpret_cast<Function*>(privateModuleSymbol(fileName, name));
}

}  // namespace tunora
