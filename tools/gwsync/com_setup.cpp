#include "tools/gwsync/com_setup.h"

#include <optional>

#include "platform/win32/ole_owners.h"
#include "sim/host/profile.h"
#include "tools/gwsync/com_message_answerer.h"
#include "tools/gwsync/com_server.h"
#include "tools/gwsync/com_setup_host.h"
#include "tools/gwsync/setup_command.h"

namespace gwsync {
namespace {

constexpr int kRunError = 1;
constexpr int kUsageError = 2;

constexpr char kEmailSetupProgId[] = "emailsetup.EmailSetup.1";
// The caption of emailsetup's message boxes (its string 57344).
constexpr char kEmailSetupTitle[] = "E-mail Options for Novell GroupWise";

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

int Invisible(SetupComponentHost& component, HostModule& host, const Options& options,
              Console& console) {
  std::optional<MessageAnswerer> answerer(std::in_place, GetCurrentThreadId(), kEmailSetupTitle);
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
    console.err << "gwsync: the e-mail setup could not open the profile " << options.profileFile
                << "; nothing was written\n";
    return kRunError;
  }
  if (saveFailed) {
    console.err << "gwsync: the profile " << options.profileFile << " was not saved\n";
    return kRunError;
  }
  return OutputArrived(console.out) ? 0 : kRunError;
}

int Wizard(SetupComponentHost& component, const Options& options, Console& console) {
  const std::vector<HPROPSHEETPAGE> pages = component.AddPages();
  const bool finished = RunHostWizard(pages);
  if (finished) {
    // No setup wizard hands over a login yet: the component keeps the profile's.
    VARIANT nothing{};
    component.CommitPages(nothing);
  } else {
    console.err << "gwsync: the wizard was cancelled; " << options.profileFile
                << " was not written\n";
  }
  component.RemovePages();
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
  if (const std::optional<int> refused = RefuseSetupProfile(options, console)) return *refused;
  const auto& command = std::get<SetupCommand>(options.command);
  platform::win32::ComApartment apartment;
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    HostModule host;
    host.UseProfileKind("email");
    host.TakeEngineCalls();
    SetupComponentHost component(kEmailSetupProgId);
    component.SetControlFile(sim::WideControlFilePath(options.profileFile));
    switch (command.action) {
      case SetupAction::kInvisible:
        return Invisible(component, host, options, console);
      case SetupAction::kShow:
        component.ShowDialog();
        return 0;
      case SetupAction::kWizard:
        return Wizard(component, options, console);
    }
  } catch (const std::exception& failure) {
    console.err << "gwsync: " << failure.what() << "\n";
  }
  return kRunError;
}

}  // namespace gwsync
