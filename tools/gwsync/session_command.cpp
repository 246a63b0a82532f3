#include "tools/gwsync/session_command.h"

#include <ostream>

#include "framework/module_globals.h"
#include "framework/sync_session.h"

namespace gwsync {
namespace {

const char* DeviceName(framework::DeviceKind kind) {
  switch (kind) {
    case framework::DeviceKind::kEpoc32R4:
      return "EPOC32 R4";
    case framework::DeviceKind::kEpoc32R5:
      return "EPOC32 R5";
    case framework::DeviceKind::kUnknown:
      break;
  }
  return "unknown";
}

}  // namespace

int RunSession(platform::Platform& platform, std::ostream& out, const PluginInfo& plugin) {
  const framework::TSyncSession session(platform);
  const framework::DcomCheck dcom = framework::CheckDCOM98(platform);
  out << "Host suite folder: "
      << (session.ConnectLocation.empty() ? "(unknown)" : session.ConnectLocation) << "\n"
      << "Device: " << DeviceName(session.Device) << "\n"
      << "DCOM98 1.3: "
      << (!dcom.applies ? "not needed on this system"
          : dcom.ok     ? "installed"
                        : "missing (the mail and calendar plug-ins log a notice)")
      << "\n"
      << "Framework strings (fwres.dll): "
      << (framework::LoadFrameworkString(2).empty() ? "missing" : "loaded") << "\n"
      << "Module strings (" << plugin.moduleLibrary
      << "): " << (framework::LoadModuleString(plugin.libraryString).empty() ? "missing" : "loaded")
      << "\n";
  return 0;
}

}  // namespace gwsync
