#pragma once

#include "tools/gwsync/in_process_plugin.h"

namespace gwsync {

// The calendar and contacts plug-in (pimsync).
PluginFactory CalendarPluginFactory();
// The mail plug-in (mailsync).
PluginFactory MailPluginFactory();

}  // namespace gwsync
