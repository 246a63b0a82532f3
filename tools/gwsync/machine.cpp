#include "tools/gwsync/machine.h"

#include "sim/host/profile.h"
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
  const auto key =
      registry.OpenKey(platform::RegistryRoot::kLocalMachine, "Software\\Didodudo\\Z380\\Settings",
                       platform::registry_access::kRead, false);
  const std::optional<uint32_t> level = key ? key->ReadDword("LogLevel") : std::nullopt;
  // The setup components keep the low 16 bits of the value.
  return level ? static_cast<int16_t>(*level & 0xFFFF) : sim::kDefaultLogLevel;
}

void Machine::SaveRegistry() {
  if (!registryFile_.empty() && platform.registry.changes != changesBefore_)
    SaveRegistryFile(registryFile_, platform.registry);
}

}  // namespace gwsync
