#pragma once

// The portable registry kept in a JSON file between runs (docs/registry-file.md).

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/portable/memory_registry.h"

namespace gwsync {

// The largest registry file that is read (docs/registry-file.md).
inline constexpr std::size_t kRegistryFileLimit = std::size_t{16} << 20;

// The keys and values of a registry file's text, added to `registry`. Raises platform::Exception
// saying what is wrong (sim::json::ParseError with the line and column for a fault in the JSON).
void ReadRegistryText(std::string_view text, platform::MemoryRegistry& registry);
// The text of a registry file holding `registry`; reading it gives the same registry.
std::string WriteRegistryText(const platform::MemoryRegistry& registry);

// The same on a file. A file that does not exist gives an empty registry; the file is replaced
// atomically (platform/file_io.h), so a failed save leaves the old one whole. Both raise
// platform::Exception naming the file and the fault.
void LoadRegistryFile(const std::string& path, platform::MemoryRegistry& registry);
void SaveRegistryFile(const std::string& path, const platform::MemoryRegistry& registry);

}  // namespace gwsync
