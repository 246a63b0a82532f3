#include "setup/common/machine_settings.h"

#include <memory>

namespace setup {
namespace {

std::unique_ptr<platform::RegistryKey> OpenMachineKey(platform::Registry& registry,
                                                      std::string_view key) {
  return registry.OpenKey(platform::RegistryRoot::kLocalMachine, key,
                          platform::registry_access::kRead, false);
}

}  // namespace

std::optional<std::string> ReadMachineString(platform::Registry& registry, std::string_view key,
                                             std::string_view value) {
  const auto opened = OpenMachineKey(registry, key);
  std::optional<std::string> text = opened ? opened->ReadString(value) : std::nullopt;
  // The text and its NUL must fit; RegQueryValueEx refuses a value longer than the buffer
  // rather than cutting it.
  if (text && text->size() + 1 > kStringValueLimit) return std::nullopt;
  return text;
}

int16_t ReadLogLevel(platform::Registry& registry) {
  const auto key = OpenMachineKey(registry, kHostSettingsKey);
  const std::optional<uint32_t> level = key ? key->ReadDword("LogLevel") : std::nullopt;
  return level ? static_cast<int16_t>(*level & 0xFFFF) : kDefaultLogLevel;
}

std::string HelpFilePath(platform::Registry& registry) {
  const std::optional<std::string> folder = ReadMachineString(registry, kHostSettingsKey, "AppDir");
  return folder ? *folder + "\\" + std::string(kHelpFileName) : std::string(kHelpFileName);
}

bool IsPIMInstalled(platform::Registry& registry) {
  return ReadMachineString(registry, kGroupWiseAppPathKey, "Path").has_value();
}

}  // namespace setup
