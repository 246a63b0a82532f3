#include "tools/gwsync/plugin_factory.h"

#include "pimsync/pim_plugin.h"

namespace gwsync {

PluginFactory CalendarPluginFactory() {
  return [](platform::Platform& platform) -> std::unique_ptr<framework::TBaseIsync> {
    return std::make_unique<pimsync::TISYNCHAPPU>(platform);
  };
}

}  // namespace gwsync
