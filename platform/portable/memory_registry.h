#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace platform {

// A registry held in memory: keys by full path (matched without regard to case, like the real
// one), each with its values in the order written. Tests fill it directly; tools load it from
// and save it to a file.
class MemoryRegistry final : public Registry {
 public:
  struct Value {
    enum class Type { kString, kDword };
    Type type = Type::kString;
    std::string text;
    uint32_t dword = 0;
  };
  struct Key {
    std::string path;  // "HKEY_CURRENT_USER\Software\..." as first written
    std::vector<std::pair<std::string, Value>> values;
  };

  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, uint32_t access,
                                       bool create) override;
  bool DeleteKeyTree(RegistryRoot root, std::string_view path) override;

  // For tests and tools: write a value, making the key as needed.
  void SetString(RegistryRoot root, std::string_view path, std::string_view name,
                 std::string_view value);
  void SetDword(RegistryRoot root, std::string_view path, std::string_view name, uint32_t value);
  // The key at a full path, or nullptr.
  const Key* Find(RegistryRoot root, std::string_view path) const;
  // Every key, in order of their full paths.
  const std::map<std::string, Key>& Keys() const { return keys_; }
  // Adds a key under its full path ("HKEY_LOCAL_MACHINE\SOFTWARE\..."); raises RegistryError
  // for an unknown root.
  Key& AddKey(std::string_view fullPath);

  // When set, every OpenKey raises RegistryError with this text: a registry that fails in an
  // unexpected way.
  std::optional<std::string> failure;
  // Bumped by every change, so a tool can tell whether to save.
  int changes = 0;

 private:
  friend class MemoryRegistryKey;
  Key* FindKey(const std::string& id);
  Key& MakeKey(RegistryRoot root, std::string_view path);

  std::map<std::string, Key> keys_;  // by upper-case full path
};

}  // namespace platform
