#pragma once

// What a plug-in knows of its surroundings: where the host suite is installed, which handheld
// is attached, and whether the DCOM update the host needs on the 9x family is there.

#include <cstdint>
#include <string>

#include "platform/byte_stream.h"
#include "platform/platform.h"

namespace framework {

enum class DeviceKind : uint8_t { kUnknown = 0, kEpoc32R4 = 1, kEpoc32R5 = 2 };

// Reads the two registry values at creation. Missing keys or values leave the defaults; an
// unexpected registry failure is shown in a message box and the session keeps what it read.
class TSyncSession {
 public:
  explicit TSyncSession(platform::Platform& platform);

  // The host suite's installation folder, ending in "\"; empty when unknown.
  std::string ConnectLocation;
  DeviceKind Device = DeviceKind::kUnknown;
};

// The device generation a machine name stands for; later tests in the list win, and case
// matters.
DeviceKind DeviceKindFromMachineName(std::string_view machineName);

struct DcomCheck {
  bool ok = false;       // the installed version is recent enough
  bool applies = false;  // the check means something on this system (the 9x family from 98 on)
};

inline constexpr std::string_view kDcomMinimumVersion = "4.71.0.3328";
extern const std::string_view kDcomNotice;

DcomCheck CheckDCOM98(platform::Platform& platform);

// The trace line that names the device generation ("Device: EPOC32 R5").
const char* DeviceTraceLine(DeviceKind kind);

// A setup stream the host handed over; raises when it gave none.
platform::ByteStream& RequireSetupStream(platform::ByteStream* stream);

class HostProgress;
// Logs the DCOM98 notice when the check applies and fails, once per session: `shown` says
// whether it was logged already and is set when it is.
void LogDcomNoticeOnce(platform::Platform& platform, const HostProgress& progress, bool& shown);

}  // namespace framework
