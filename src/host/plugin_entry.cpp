#include "host/plugin_record.h"

namespace tunora::host {
namespace {

int __cdecl initPlugin() {
  return 0;
}

void __cdecl quitPlugin() {}

INT_PTR __cdecl pluginMessage(int, INT_PTR, INT_PTR, INT_PTR) {
  return 0;
}

PluginRecord pluginRecord{
    kPluginInterfaceVersion,
    kPluginDescription,
    initPlugin,
    quitPlugin,
    pluginMessage,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace
}  // namespace tunora::host

extern "C" tunora::host::PluginRecord* __cdecl winampGetMediaLibraryPlugin() {
  return &tunora::host::pluginRecord;
}
