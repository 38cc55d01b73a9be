#include <memory>

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

// The plug-in's state lives from init to quit; nothing of it outlives quit.
std::unique_ptr<Plugin> plugin;

int __cdecl initPlugin() {
  plugin = std::make_unique<Plugin>(pluginRecord);
  return 0;
}

void __cdecl quitPlugin() {
  plugin.reset();
}

INT_PTR __cdecl pluginMessage(int message, INT_PTR param1, INT_PTR param2, INT_PTR param3) {
  return plugin ? plugin->onPluginMessage(message, param1, param2, param3) : 0;
}

}  // namespace
}  // namespace tunora::host

extern "C" tunora::host::PluginRecord* __cdecl winampGetMediaLibraryPlugin() {
  return &tunora::host::pluginRecord;
}
