#pragma once

#include "tools/gwsync/in_process_plugin.h"

namespace gwsync {

// The calendar and contacts plug-in (pimsync), the one gwsync plays the host for.
PluginFactory CalendarPluginFactory();

}  // namespace gwsync
