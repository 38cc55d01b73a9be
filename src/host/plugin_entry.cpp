#include "host/plugin.h"
#include "host/plugin_record.h"

namespace tunora::host {
namespace {

int __cdecl initPlugin();
void __cdecl quitPlugin();
INT_PTR __cdecl pluginMessage(int message, INT_PTR param1, INT_PTR param2, INT_PTR param3);

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

int __cdecl initPlugin() {
  startPlugin(pluginRecord);
  return 0;
}

void __cdecl quitPlugin() {
  host::quitPlugin();
}

INT_PTR __cdecl pluginMessage(int message, INT_PTR param1, INT_PTR param2, INT_PTR param3) {
  return host::pluginMessage(message, param1, param2, param3);
}

}  // namespace
}  // namespace tunora::host

extern "C" tunora::host::PluginRecord* __cdecl winampGetMediaLibraryPlugin() {
  return &tunora::host::pluginRecord;
}
