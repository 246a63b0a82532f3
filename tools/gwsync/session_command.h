#pragma once

#include <iosfwd>

#include "platform/platform.h"
#include "tools/gwsync/plugin_choice.h"

namespace gwsync {

// `gwsync session`: what a plug-in learns of the machine when it starts: the host suite's
// folder, the attached device, the DCOM98 check and its resource libraries.
int RunSession(platform::Platform& platform, std::ostream& out, const PluginInfo& plugin);

}  // namespace gwsync
