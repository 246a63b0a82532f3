#pragma once

// A registry walker whose key opening honours an access mask chosen by the caller, so that
// users without administrator rights can open keys for reading.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace framework {

class TRegistryNT {
 public:
  // Full access under HKEY_CURRENT_USER until the caller chooses otherwise.
  explicit TRegistryNT(platform::Registry& registry) : registry_(registry) {}

  void SetRoot(platform::RegistryRoot root) {
    CloseKey();
    root_ = root;
  }
  void SetAccess(uint32_t access) { access_ = access; }

  // A path starting with "\" is taken from the root; any other is relative to the current key.
  // With mayCreate and a non-empty path a missing key is created. On success the key becomes
  // the current one.
  bool OpenKey(std::string_view path, bool mayCreate);
  void CloseKey();

  // Nothing when no key is open, or the value is missing or not text.
  std::optional<std::string> ReadString(std::string_view name) const;
  std::optional<uint32_t> ReadDword(std::string_view name) const;
  // Raise when no key is open or the key refuses the write.
  void WriteString(std::string_view name, std::string_view value);
  void WriteDword(std::string_view name, uint32_t value);

  const std::string& CurrentPath() const { return currentPath_; }
  uint32_t Access() const { return access_; }

 private:
  platform::RegistryKey& Current() const;

  platform::Registry& registry_;
  platform::RegistryRoot root_ = platform::RegistryRoot::kCurrentUser;
  uint32_t access_ = platform::registry_access::kAllAccess;
  std::unique_ptr<platform::RegistryKey> current_;
  std::string currentPath_;
};

}  // namespace framework
