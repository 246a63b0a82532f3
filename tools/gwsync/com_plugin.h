#pragma once

// The plug-in as the Windows build's host meets it: the COM class registered under its ProgID,
// created with CoCreateInstance and called through IDispatch by member name; the progress object
// goes out as a real IDispatch, the setup blocks and the record stream as real IStreams on
// global memory.

#include <functional>
#include <memory>
#include <string_view>

#include "tools/gwsync/host_plugin.h"

namespace gwsync {

// Raises platform::Exception when the class cannot be created. The calling thread must be in
// an apartment for the plug-in's lifetime. `afterEachCall`, when given, runs on that thread
// each time one of the plug-in's methods has returned or raised.
std::unique_ptr<HostPlugin> CreateComPlugin(std::string_view progId,
                                            std::function<void()> afterEachCall = nullptr);

}  // namespace gwsync
