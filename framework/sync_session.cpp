#include "framework/sync_session.h"

#include <algorithm>

#include "framework/host_progress.h"
#include "framework/registry_nt.h"
#include "framework/text_util.h"

namespace framework {
namespace {

using platform::RegistryRoot;
namespace access = platform::registry_access;

constexpr std::string_view kConnectKey = "\\SOFTWARE\\Psion\\PsiWin32";
constexpr std::string_view kConnectValue = "Installation Directory";
constexpr std::string_view kUserKey = "\\Software\\Psion\\CurrentUser";
constexpr std::string_view kMachineValue = "MachineName";
constexpr std::string_view kDcomVersionKey =
    "CLSID\\{bdc67890-4fc0-11d0-a805-00aa006d2ea4}\\InstalledVersion";

}  // namespace

const std::string_view kDcomNotice =
    "Your computer does not appear to have Microsoft DCOM98 1.3 installed.\r\n"
    "If DCOM98 1.3 is not installed, the synchronization process may not\r\n"
    "be reliable.  You can learn more about DCOM98 1.3, and download a free update\r\n"
    "from the support web site of your operating system's vendor.";

DeviceKind DeviceKindFromMachineName(std::string_view machineName) {
  DeviceKind kind = DeviceKind::kUnknown;
  if (Contains(machineName, "SERIES5 R")) kind = DeviceKind::kEpoc32R4;
  if (Contains(machineName, "SERIES5 MX")) kind = DeviceKind::kEpoc32R5;
  if (Contains(machineName, "REVO")) kind = DeviceKind::kEpoc32R5;
  return kind;
}

TSyncSession::TSyncSession(platform::Platform& platform) {
  try {
    TRegistryNT registry(platform.Reg());
    registry.SetRoot(RegistryRoot::kLocalMachine);
    registry.SetAccess(access::kRead);
    if (registry.OpenKey(kConnectKey, false)) {
      // An empty value is as good as none: "\" alone would send the host to the drive's root.
      if (auto folder = registry.ReadString(kConnectValue); folder && !folder->empty()) {
        ConnectLocation = *folder;
        if (ConnectLocation.back() != '\\') ConnectLocation.push_back('\\');
      }
    }
    registry.SetRoot(RegistryRoot::kCurrentUser);
    std::string machineName;
    if (registry.OpenKey(kUserKey, false)) {
      machineName = registry.ReadString(kMachineValue).value_or(std::string());
    }
    Device = DeviceKindFromMachineName(machineName);
  } catch (const std::exception& failure) {
    platform.Ui().MessageBox(0, failure.what(), "TSyncSession.Create",
                             platform::mb::kSetForeground);
  }
}

DcomCheck CheckDCOM98(platform::Platform& platform) {
  DcomCheck check;
  try {
    const platform::OsVersion os = platform.Env().GetOsVersion();
    const bool from98On = os.major > 4 || (os.major == 4 && os.minor >= 10);
    if (os.platformId != platform::OsVersion::kWindows9x || !from98On) return check;
    check.applies = true;
    TRegistryNT registry(platform.Reg());
    registry.SetRoot(RegistryRoot::kClassesRoot);
    registry.SetAccess(access::kRead);
    std::string installed;
    if (registry.OpenKey(kDcomVersionKey, false)) {
      installed = registry.ReadString("").value_or(std::string());
    }
    if (installed.empty()) return check;
    std::replace(installed.begin(), installed.end(), ',', '.');
    // Compared as text, character by character, as the version has always been compared.
    check.ok = installed >= kDcomMinimumVersion;
  } catch (const std::exception&) {
    check = DcomCheck{};
  }
  return check;
}

const char* DeviceTraceLine(DeviceKind kind) {
  switch (kind) {
    case DeviceKind::kEpoc32R4:
      return "Device: EPOC32 R4";
    case DeviceKind::kEpoc32R5:
      return "Device: EPOC32 R5";
    case DeviceKind::kUnknown:
      break;
  }
  return "Device : UNKNOWN";
}

platform::ByteStream& RequireSetupStream(platform::ByteStream* stream) {
  if (!stream) throw platform::Exception("A setup stream does not support IStream");
  return *stream;
}

void LogDcomNoticeOnce(platform::Platform& platform, const HostProgress& progress, bool& shown) {
  const DcomCheck dcom = CheckDCOM98(platform);
  if (dcom.ok || !dcom.applies || shown) return;
  progress.Log(kDcomNotice, "\r\nI M P O R T A N T   I N F O R M A T I O N\r\n", 1);
  shown = true;
}

}  // namespace framework
