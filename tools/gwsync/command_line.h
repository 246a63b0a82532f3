#pragma once

// gwsync's command line: the options before the command, the command and its arguments.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/automation_date.h"
#include "platform/environment.h"
#include "platform/exception.h"

namespace gwsync {

// What the program prints after the message of a usage error, and for --help.
extern const std::string_view kUsage;

// A command line that cannot be used; the message says why (without "gwsync: ").
class UsageError : public platform::Exception {
 public:
  using Exception::Exception;
};

struct ParseCommand {
  std::string file;  // empty: standard input
};
struct SessionCommand {};
struct ReadCommand {
  int16_t type = 0;
};
struct WriteCommand {
  int16_t type = 0;
  int16_t op = 0;
  std::string file;  // empty: standard input
};
struct RunCommand {
  std::string script;
};
// `setup COMPONENT ACTION`: gwsync plays the host for a data setup component; `setup wizard
// COMPONENT=FILE...` runs the host's whole setup wizard over several.
enum class SetupComponent { kEmail, kCalendar, kContacts };
enum class SetupAction { kInvisible, kShow, kWizard };
struct SetupTarget {
  SetupComponent component = SetupComponent::kEmail;
  std::string profileFile;  // empty: --profile's
  friend bool operator==(const SetupTarget&, const SetupTarget&) = default;
};
struct SetupCommand {
  // One for `setup COMPONENT ACTION`; one or more, each with its file, for `setup wizard`.
  std::vector<SetupTarget> targets;
  SetupAction action = SetupAction::kInvisible;
};
using Command =
    std::variant<ParseCommand, SessionCommand, ReadCommand, WriteCommand, RunCommand, SetupCommand>;

// The plug-ins gwsync hosts: pimsync (calendar and contacts) and mailsync (mail).
enum class PluginKind { kPimsync, kMailsync };

struct Options {
  std::string registryFile;
  std::optional<platform::OsVersion> os;
  std::string storeFile;
  std::string profileFile;
  std::string traceFile;  // tracing is on when this is set
  // The first and the last synchronized day, both included.
  std::optional<platform::AutomationDate> rangeFirst;
  std::optional<platform::AutomationDate> rangeLast;
  std::optional<platform::AutomationDate> today;
  int abortAfter = 0;                // 0: Aborted never answers true
  std::optional<PluginKind> plugin;  // nothing: the requests' data types choose
  // Typed into mailsync's folder-name dialog, then OK pressed; may be empty.
  std::optional<std::string> folderName;
  Command command;
};

// The options and command of argv without the program name; raises UsageError. The options of
// `setup` may also follow its arguments (`setup email invisible --profile FILE`).
// Nothing when the command line asks for the usage text (--help or -h first).
std::optional<Options> ParseCommandLine(const std::vector<std::string>& argv);

// APT, EVE, ANN, TODO, CON, EMAIL (in any case) or a number from -32768 to 32767, which goes to
// the plug-in unchanged even when it is no data-type code. Raises UsageError.
int16_t ParseTypeCode(std::string_view text);
// insert, modify, delete (in any case) or a number, as for ParseTypeCode.
int16_t ParseOperationCode(std::string_view text);
// pimsync or mailsync (in any case). Raises UsageError.
PluginKind ParsePluginName(std::string_view text);
// YYYYMMDD, a real day; 00:00 of it. Raises UsageError.
platform::AutomationDate ParseDay(std::string_view text);

}  // namespace gwsync
