#include "host/plugin.h"

namespace tunora::host {

Plugin::Plugin(const PluginRecord& record)
    : mainWindow_(record.hostMainWindow),
      libraryParent_(record.libraryParentWindow),
      module_(record.moduleInstance) {}

Plugin::~Plugin() = default;

INT_PTR Plugin::onPluginMessage(int, INT_PTR, INT_PTR, INT_PTR) {
  return 0;
}

}  // namespace tunora::host
