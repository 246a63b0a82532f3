#include "tools/gwsync/setup_command.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "setup/emailsetup/email_setup.h"
#include "sim/host/profile.h"
#include "sim/host/setup_strings.h"
#include "sim/host/sync_engine_sim.h"
#include "tools/gwsync/machine.h"
#include "tools/gwsync/progress_printer.h"

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

std::optional<int> RefuseSetupProfile(const Options& options, Console console) {
  if (options.profileFile.empty()) {
    console.err << "gwsync: setup needs --profile FILE, the control file the component writes\n";
    return kUsageError;
  }
  std::error_code ignored;
  if (std::filesystem::is_directory(options.profileFile, ignored)) {
    console.err << "gwsync: " << options.profileFile << ": is a folder\n";
    return kRunError;
  }
  return std::nullopt;
}

int RunSetupCommand(const Options& options, Console console) {
  const auto& command = std::get<SetupCommand>(options.command);
  if (command.action != SetupAction::kInvisible) {
    console.err << "gwsync: setup email " << ActionName(command.action)
                << " shows the component's own windows and needs the Windows build "
                   "(gwsync.exe with emailsetup.dll registered); this build plays only "
                   "`setup email invisible`\n";
    return kUsageError;
  }
  if (const std::optional<int> refused = RefuseSetupProfile(options, console)) return *refused;

  ProgressPrinter printer(console.err, false);
  const auto note = [&printer](std::string_view line) {
    printer.Note("gwsync: " + std::string(line));
  };
  try {
    Machine machine(options, std::string(), printer);
    sim::SimulatedEngines engines(sim::ProfileKind::kEmail, note);
    const std::unique_ptr<platform::ResourceLibrary> strings = sim::EmailSetupStrings();
    setup::email::EmailSetup component({machine.platform.ui,
                                        machine.platform.registry,
                                        {*strings, machine.platform.ansi},
                                        engines.Factory(),
                                        [&machine] { return machine.ComputerName(); }},
                                       nullptr);
    setup::ProfileSession& session = component.Session();
    session.SetControlFile(sim::WideControlFilePath(options.profileFile));
    const bool result = session.RunInvisible();
    console.out << "bResult: " << (result ? "TRUE" : "FALSE") << "\n";
    console.out.flush();
    if (!result) {
      note("the e-mail setup could not open the profile " + options.profileFile +
           "; nothing was written");
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
