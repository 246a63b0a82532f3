#pragma once

// The computer a gwsync command plays: the portable platform set up from the options, with
// the registry kept in its file.

#include <string>
#include <string_view>

#include "platform/portable/portable_platform.h"
#include "platform/registry.h"
#include "tools/gwsync/command_line.h"
#include "tools/gwsync/progress_printer.h"

namespace gwsync {

// Where Windows keeps the computer's network name; the registry file may name one.
inline constexpr std::string_view kComputerNameKey =
    "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
inline constexpr std::string_view kComputerNameValue = "ComputerName";

// The host's log level, as the setup components read it from the machine's settings: the low
// 16 bits of a DWORD value, the default without one.
int16_t HostLogLevel(platform::Registry& registry);

class Machine {
 public:
  // Loads the registry file, if any (raises platform::Exception when it cannot be read), and
  // sets the operating system, the clock (--today), the Ctrl key (held with --trace) and the
  // module path the plug-in finds its resource libraries by.
  Machine(const Options& options, std::string modulePath, ProgressPrinter& printer);
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // Today's date, 00:00.
  platform::AutomationDate Today();
  int16_t LogLevel() { return HostLogLevel(platform.registry); }
  // The computer's network name, as the registry file names it (kComputerNameKey); empty
  // without one.
  std::u16string ComputerName();
  // Writes the registry file back when the run changed the registry.
  void SaveRegistry();

  platform::PortablePlatformOf<PrinterUserInterface> platform;

 private:
  std::string registryFile_;
  int changesBefore_ = 0;
};

}  // namespace gwsync
