#pragma once

// The plug-in as the Windows build's host meets it: the COM class registered under its ProgID,
// created with CoCreateInstance and called through IDispatch by member name; the progress object
// goes out as a real IDispatch, the setup blocks and the record stream as real IStreams on
// global memory.

#include <memory>
#include <string_view>

#include "tools/gwsync/host_plugin.h"

namespace gwsync {

inline constexpr std::string_view kCalendarPluginProgId = "PIMSYNC.ISYNCHAPPU";

// Raises platform::Exception when the class cannot be created. The calling thread must be in
// an apartment for the plug-in's lifetime.
std::unique_ptr<HostPlugin> CreateComPlugin(std::string_view progId);

}  // namespace gwsync
