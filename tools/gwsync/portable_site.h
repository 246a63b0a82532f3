#pragma once

// The portable build's site: gwsync plays the whole computer (the registry file, --os, --today,
// the Ctrl key of --trace), the simulated GroupWise and its store in this process, and creates
// the plug-in object itself, as a module beside the program with its resource libraries.

#include <string>

#include "tools/gwsync/host_site.h"
#include "tools/gwsync/in_process_plugin.h"

namespace gwsync {

// modulePath: the plug-in's module, beside its resource libraries.
SiteFactory PortableSite(PluginFactory plugin, std::string modulePath);

}  // namespace gwsync
