#include "tools/gwsync/plugin_factory.h"

#include "mailsync/mail_plugin.h"
#include "pimsync/pim_plugin.h"

namespace gwsync {

PluginFactory CalendarPluginFactory() {
  return [](platform::Platform& platform) -> std::unique_ptr<framework::TBaseIsync> {
    return std::make_unique<pimsync::TISYNCHAPPU>(platform);
  };
}

PluginFactory MailPluginFactory() {
  return [](platform::Platform& platform) -> std::unique_ptr<framework::TBaseIsync> {
    return std::make_unique<mailsync::TISYNCHAPPU>(platform);
  };
}

}  // namespace gwsync
