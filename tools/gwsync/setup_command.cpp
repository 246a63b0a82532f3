#include "tools/gwsync/setup_command.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "setup/common/profile_session.h"
#include "sim/host/profile.h"
#include "sim/host/sync_engine_sim.h"
#include "tools/gwsync/machine.h"
#include "tools/gwsync/progress_printer.h"
#include "tools/gwsync/setup_components.h"

namespace gwsync {
namespace {

constexpr int kRunError = 1;
constexpr int kUsageError = 2;

std::string_view ActionName(SetupAction action) {
  switch (action) {
    case SetupAction::kInvisible:
      return "invisible";
    case SetupAction::kShow:
      return "show";
    case SetupAction::kWizard:
      return "wizard";
  }
  return "?";
}

}  // namespace

const std::string& SetupProfileFile(const SetupTarget& target, const Options& options) {
  return target.profileFile.empty() ? options.profileFile : target.profileFile;
}

std::optional<int> RefuseSetupProfiles(const Options& options, Console console) {
  for (const SetupTarget& target : std::get<SetupCommand>(options.command).targets) {
    const std::string& file = SetupProfileFile(target, options);
    if (file.empty()) {
      console.err << "gwsync: setup needs --profile FILE, the control file the component writes\n";
      return kUsageError;
    }
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored)) {
      console.err << "gwsync: " << file << ": is a folder\n";
      return kRunError;
    }
  }
  return std::nullopt;
}

int RunSetupCommand(const Options& options, Console console) {
  const auto& command = std::get<SetupCommand>(options.command);
  const SetupComponentInfo& component = SetupComponentOf(command.targets.front().component);
  if (command.action != SetupAction::kInvisible || command.targets.size() != 1) {
    console.err << "gwsync: setup " << component.name << " " << ActionName(command.action)
                << " shows the components' own windows and needs the Windows build "
                   "(gwsync.exe with the setup components registered); this build plays only "
                   "`setup COMPONENT invisible`\n";
    return kUsageError;
  }
  if (const std::optional<int> refused = RefuseSetupProfiles(options, console)) return *refused;

  ProgressPrinter printer(console.err, false);
  const auto note = [&printer](std::string_view line) {
    printer.Note("gwsync: " + std::string(line));
  };
  try {
    Machine machine(options, std::string(), printer);
    sim::SimulatedEngines engines(component.profileKind, note);
    const std::unique_ptr<platform::ResourceLibrary> strings = component.strings();
    setup::ProfileSession session(component.values,
                                  {machine.platform.ui,
                                   machine.platform.registry,
                                   {*strings, machine.platform.ansi},
                                   engines.Factory(),
                                   [&machine] { return machine.ComputerName(); }});
    session.SetControlFile(sim::WideControlFilePath(options.profileFile));
    const bool result = session.RunInvisible();
    console.out << "bResult: " << (result ? "TRUE" : "FALSE") << "\n";
    console.out.flush();
    if (!result) {
      note(std::string(component.description) + " could not open the profile " +
           options.profileFile + "; nothing was written");
      return kRunError;
    }
    if (engines.failedSaves > 0) {
      note("the profile " + options.profileFile + " was not saved");
      return kRunError;
    }
  } catch (const std::exception& failure) {
    note(failure.what());
    return kRunError;
  }
  if (!OutputArrived(console.out)) {
    note("cannot write standard output");
    return kRunError;
  }
  return 0;
}

}  // namespace gwsync
