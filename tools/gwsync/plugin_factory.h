#pragma once

#include "tools/gwsync/host_sequence.h"

namespace gwsync {

// The calendar and contacts plug-in (pimsync), the one gwsync plays the host for.
PluginFactory CalendarPluginFactory();

}  // namespace gwsync
