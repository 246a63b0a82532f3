#pragma once

// A plug-in object of this process as the host's plug-in: what the portable build plays.

#include <functional>
#include <memory>
#include <string>

#include "framework/base_isync.h"
#include "platform/platform.h"
#include "tools/gwsync/host_plugin.h"

namespace gwsync {

// Makes the plug-in object of a run, as the host creates it by its ProgID.
using PluginFactory =
    std::function<std::unique_ptr<framework::TBaseIsync>(platform::Platform& platform)>;

// The host's streams are memory streams. traceFile: where Term saves the trace; empty for the
// plug-in's own choice.
std::unique_ptr<HostPlugin> MakeInProcessPlugin(std::unique_ptr<framework::TBaseIsync> plugin,
                                                const std::string& traceFile);

}  // namespace gwsync
