#include "tools/gwsync/com_setup.h"

#include <optional>

#include "platform/win32/ole_owners.h"
#include "sim/host/profile.h"
#include "tools/gwsync/com_message_answerer.h"
#include "tools/gwsync/com_server.h"
#include "tools/gwsync/com_setup_host.h"
#include "tools/gwsync/com_setup_wizard.h"
#include "tools/gwsync/setup_command.h"
#include "tools/gwsync/setup_components.h"

namespace gwsync {
namespace {

constexpr int kRunError = 1;
constexpr int kUsageError = 2;

// Why the simulated engine could not open or save the file: its notes, in order.
std::vector<std::string> EngineNotes(const std::string& calls, bool& saveFailed) {
  std::vector<std::string> notes;
  std::size_t start = 0;
  bool afterSave = false;
  saveFailed = false;
  while (start < calls.size()) {
    const std::size_t end = calls.find('\n', start);
    const std::string line = calls.substr(start, end - start);
    if (line == "save") afterSave = true;
    if (line.rfind("note: ", 0) == 0) {
      notes.push_back(line.substr(6));
      saveFailed = saveFailed || afterSave;
    }
    start = end == std::string::npos ? calls.size() : end + 1;
  }
  return notes;
}

int Invisible(const SetupComponentInfo& info, SetupComponentHost& component, HostModule& host,
              const std::string& profileFile, Console& console) {
  std::optional<MessageAnswerer> answerer(std::in_place, GetCurrentThreadId(),
                                          SetupMessageTitle(info));
  const bool result = component.InvisibleDialog();
  std::vector<std::string> messages = answerer->TakeLines();
  answerer.reset();
  bool saveFailed = false;
  for (const std::string& note : EngineNotes(host.TakeEngineCalls(), saveFailed))
    console.err << "gwsync: " << note << "\n";
  for (const std::string& message : messages) {
    console.err << message << "\n";
    saveFailed = saveFailed || message.find("Could not write control file") != std::string::npos;
  }
  console.out << "bResult: " << (result ? "TRUE" : "FALSE") << "\n";
  console.out.flush();
  if (!result) {
    console.err << "gwsync: " << info.description << " could not open the profile " << profileFile
                << "; nothing was written\n";
    return kRunError;
  }
  if (saveFailed) {
    console.err << "gwsync: the profile " << profileFile << " was not saved\n";
    return kRunError;
  }
  return OutputArrived(console.out) ? 0 : kRunError;
}

int Wizard(const SetupCommand& command, const Options& options, Console& console) {
  std::vector<WizardProfile> profiles;
  std::string files;
  for (const SetupTarget& target : command.targets) {
    const std::string& file = SetupProfileFile(target, options);
    profiles.push_back({std::string(SetupComponentOf(target.component).values.progId),
                        sim::WideControlFilePath(file)});
    files += (files.empty() ? "" : ", ") + file;
  }
  if (!RunSetupWizard(profiles)) {
    console.err << "gwsync: the wizard was cancelled; " << files << " not written\n";
  }
  return 0;
}

}  // namespace

int RunComSetupCommand(const Options& options, Console console) {
  for (const auto& [given, name] : {std::pair{!options.registryFile.empty(), "--registry"},
                                    std::pair{options.os.has_value(), "--os"},
                                    std::pair{!options.traceFile.empty(), "--trace"}}) {
    if (given) {
      console.err << "gwsync: " << name
                  << " is not available in gwsync.exe: the component sees the real computer\n";
      return kUsageError;
    }
  }
  if (const std::optional<int> refused = RefuseSetupProfiles(options, console)) return *refused;
  const auto& command = std::get<SetupCommand>(options.command);
  const SetupComponentInfo& info = SetupComponentOf(command.targets.front().component);
  platform::win32::ComApartment apartment;
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    HostModule host;
    // The wizard may write profiles of both kinds; a new file then takes its component's.
    host.UseProfileKind(command.action == SetupAction::kWizard
                            ? "any"
                            : std::string(sim::ProfileKindName(info.profileKind)));
    host.TakeEngineCalls();
    if (command.action == SetupAction::kWizard) return Wizard(command, options, console);
    SetupComponentHost component(info.values.progId);
    component.SetControlFile(sim::WideControlFilePath(options.profileFile));
    if (command.action == SetupAction::kInvisible)
      return Invisible(info, component, host, options.profileFile, console);
    component.ShowDialog();
    return 0;
  } catch (const std::exception& failure) {
    console.err << "gwsync: " << failure.what() << "\n";
  }
  return kRunError;
}

}  // namespace gwsync
