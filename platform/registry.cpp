#include "platform/registry.h"

#include "platform/automation.h"

namespace platform {
namespace {

constexpr std::pair<RegistryRoot, std::string_view> kRoots[] = {
    {RegistryRoot::kClassesRoot, "HKEY_CLASSES_ROOT"},
    {RegistryRoot::kCurrentUser, "HKEY_CURRENT_USER"},
    {RegistryRoot::kLocalMachine, "HKEY_LOCAL_MACHINE"},
    {RegistryRoot::kUsers, "HKEY_USERS"},
};

}  // namespace

std::string_view RootName(RegistryRoot root) {
  for (const auto& [value, name] : kRoots) {
    if (value == root) return name;
  }
  return "?";
}

std::optional<RegistryRoot> RootFromName(std::string_view name) {
  for (const auto& [value, rootName] : kRoots) {
    if (SameMemberName(rootName, name)) return value;
  }
  return std::nullopt;
}

}  // namespace platform
