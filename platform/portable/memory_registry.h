#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace platform {

// A registry held in memory: a tree of keys under the four roots, names matched without regard
// to case like the real one, each key with its values in the order written. Tests fill it
// directly; tools load it from and save it to a file.
//
// Each key holds only its own name, so a path of N parts costs N small nodes and one walk, not
// N copies of ever longer paths. Paths are at most kMaxDepth keys deep, as in the real registry.
class MemoryRegistry final : public Registry {
 public:
  struct Value {
    enum class Type { kString, kDword };
    Type type = Type::kString;
    std::string text;
    uint32_t dword = 0;
  };
  struct Key {
    std::string name;  // this key's own name, as first written
    std::vector<std::pair<std::string, Value>> values;
    std::map<std::string, std::unique_ptr<Key>> subkeys;  // by upper-case name
  };

  // The most keys a path may hold below its root.
  static constexpr std::size_t kMaxDepth = 512;

  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, uint32_t access,
                                       bool create) override;
  bool DeleteKeyTree(RegistryRoot root, std::string_view path) override;

  // For tests and tools: write a value, making the key as needed.
  void SetString(RegistryRoot root, std::string_view path, std::string_view name,
                 std::string_view value);
  void SetDword(RegistryRoot root, std::string_view path, std::string_view name, uint32_t value);
  // The key at a path, or nullptr.
  const Key* Find(RegistryRoot root, std::string_view path) const;
  // Adds a key under its full path ("HKEY_LOCAL_MACHINE\SOFTWARE\..."), with the keys above it;
  // raises RegistryError for an unknown root or a path deeper than kMaxDepth.
  Key& AddKey(std::string_view fullPath);
  // Every key, each before the keys below it and those in order of their upper-case names,
  // with its full path as first written ("HKEY_CURRENT_USER\Software"). A root is visited only
  // when something was made at or below it.
  void VisitKeys(const std::function<void(std::string_view fullPath, const Key& key)>& visit) const;
  bool Empty() const { return roots_.subkeys.empty(); }

  // When set, every OpenKey raises RegistryError with this text: a registry that fails in an
  // unexpected way.
  std::optional<std::string> failure;
  // Bumped by every change, so a tool can tell whether to save.
  int changes = 0;

 private:
  friend class MemoryRegistryKey;
  // The key at a full path (the root's name first), or nullptr.
  Key* FindKey(std::string_view fullPath);
  const Key* FindKey(std::string_view fullPath) const;
  Key& MakeKey(std::string_view fullPath);

  Key roots_;  // the four roots are its subkeys, by their names
};

}  // namespace platform
