#include "tools/gwsync/machine.h"

#include "setup/common/machine_settings.h"
#include "tools/gwsync/registry_file.h"

namespace gwsync {

Machine::Machine(const Options& options, std::string modulePath, ProgressPrinter& printer)
    : platform(printer), registryFile_(options.registryFile) {
  platform.env.modulePath = std::move(modulePath);
  if (options.os) platform.env.osVersion = *options.os;
  if (options.today) platform.env.fixedNow = *options.today;
  platform.env.ctrlKeyDown = !options.traceFile.empty();
  if (!registryFile_.empty()) LoadRegistryFile(registryFile_, platform.registry);
  changesBefore_ = platform.registry.changes;
}

platform::AutomationDate Machine::Today() {
  return platform::DateOnly(platform.env.Now());
}

int16_t HostLogLevel(platform::Registry& registry) {
  return setup::ReadLogLevel(registry);
}

std::u16string Machine::ComputerName() {
  const auto key =
      platform.registry.OpenKey(platform::RegistryRoot::kLocalMachine, kComputerNameKey,
                                platform::registry_access::kRead, false);
  const std::optional<std::string> name = key ? key->ReadString(kComputerNameValue) : std::nullopt;
  return name ? platform.ansi.ToWide(*name) : std::u16string();
}

void Machine::SaveRegistry() {
  if (!registryFile_.empty() && platform.registry.changes != changesBefore_)
    SaveRegistryFile(registryFile_, platform.registry);
}

}  // namespace gwsync
