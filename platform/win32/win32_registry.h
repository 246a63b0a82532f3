#pragma once

#include "platform/registry.h"

namespace platform::win32 {

// The system registry through its ANSI functions, so that names and text convert in the ANSI
// code page exactly as every other 8-bit text of the plug-ins does.
//
// Beyond the interface's contract: OpenKey and the reads raise RegistryError for a failure
// other than a missing key or value or a denied open (a broken registry should not look like
// an empty one), and DeleteKeyTree refuses an empty path rather than empty a whole root.
class Win32Registry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, uint32_t access,
                                       bool create) override;
  bool DeleteKeyTree(RegistryRoot root, std::string_view path) override;
};

}  // namespace platform::win32
