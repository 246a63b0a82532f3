#pragma once

// The portable registry kept in a JSON file between runs (docs/registry-file.md).

#include <string>

#include "platform/portable/memory_registry.h"

namespace gwsync {

// A file that does not exist gives an empty registry. Raises platform::Exception naming the
// file and the fault.
void LoadRegistryFile(const std::string& path, platform::MemoryRegistry& registry);
void SaveRegistryFile(const std::string& path, const platform::MemoryRegistry& registry);

}  // namespace gwsync
