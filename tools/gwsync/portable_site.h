#pragma once

// The portable build's site: gwsync plays the whole computer (the registry file, --os, --today,
// the Ctrl key of --trace, the user at the folder-name dialog), the simulated GroupWise and its
// store in this process, and creates the plug-in object itself, as a module beside the program
// with its resource libraries.

#include <string>

#include "tools/gwsync/host_site.h"
#include "tools/gwsync/in_process_plugin.h"

namespace gwsync {

// One plug-in as this process plays it.
struct PluginModule {
  PluginFactory create;
  // The plug-in's module, beside its resource libraries.
  std::string modulePath;
};

SiteFactory PortableSite(PluginModule pimsync, PluginModule mailsync);

}  // namespace gwsync
