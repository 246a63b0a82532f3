// gwsync: the host's side of a synchronization run, on the command line.

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <variant>
#include <vector>

#include "platform/file_io.h"
#include "tools/gwsync/command_line.h"
#include "tools/gwsync/console.h"
#include "tools/gwsync/host_command.h"
#include "tools/gwsync/parse_command.h"
#include "tools/gwsync/progress_printer.h"
#include "tools/gwsync/setup_command.h"

#if defined(_WIN32)
#include "tools/gwsync/com_setup.h"
#include "tools/gwsync/com_site.h"
#else
#include "tools/gwsync/plugin_choice.h"
#include "tools/gwsync/plugin_factory.h"
#include "tools/gwsync/portable_site.h"
#endif

namespace {

constexpr int kUsageError = 2;

// Where the host's commands run; the one place where the two builds differ. On Windows the
// plug-in and GroupWise are the registered COM servers; elsewhere gwsync plays each plug-in as a
// module beside the program, with its resource libraries, and GroupWise in process.
gwsync::SiteFactory Site([[maybe_unused]] const char* argv0) {
#if defined(_WIN32)
  return gwsync::ComSite();
#else
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) program = std::filesystem::absolute(argv0, error);
  const auto beside = [&program](gwsync::PluginKind kind) {
    return (program.parent_path() / gwsync::InfoOf(kind).moduleFile).string();
  };
  return gwsync::PortableSite(
      {gwsync::CalendarPluginFactory(), beside(gwsync::PluginKind::kPimsync)},
      {gwsync::MailPluginFactory(), beside(gwsync::PluginKind::kMailsync)});
#endif
}

int Parse(const gwsync::ParseCommand& command, gwsync::Console& console) {
  std::string record;
  try {
    record = gwsync::ReadInput(command.file, console.in, gwsync::kRecordLimit);
  } catch (const platform::FileError& error) {
    console.err << "gwsync: " << error.what() << "\n";
    return kUsageError;
  }
  int status = gwsync::RunParse(record, console.out, console.err);
  if (!gwsync::OutputArrived(console.out)) {
    console.err << "gwsync: cannot write standard output\n";
    status = std::max(status, 1);
  }
  return status;
}

// A reader that goes away early (`gwsync read APT | head -c1`) must not kill the run before
// the store is saved: with SIGPIPE ignored the write fails instead, and the run goes on to
// save what the plug-in did and to say that the output was cut short.
void SurviveClosedOutput() {
#if defined(SIGPIPE)
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  SurviveClosedOutput();
  std::optional<gwsync::Options> options;
  try {
    options = gwsync::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const gwsync::UsageError& error) {
    std::cerr << "gwsync: " << error.what() << "\n" << gwsync::kUsage;
    return kUsageError;
  }
  if (!options) {
    std::cout << gwsync::kUsage;
    return gwsync::OutputArrived(std::cout) ? 0 : 1;
  }
  gwsync::UseBinaryStandardStreams();
  gwsync::Console console{std::cin, std::cout, std::cerr, gwsync::StandardErrorIsTerminal()};
  const gwsync::HostParts parts(Site(argv[0]));
  try {
    if (const auto* parse = std::get_if<gwsync::ParseCommand>(&options->command))
      return Parse(*parse, console);
    if (std::holds_alternative<gwsync::SessionCommand>(options->command))
      return gwsync::RunSessionCommand(*options, parts, console);
    if (std::holds_alternative<gwsync::SetupCommand>(options->command)) {
#if defined(_WIN32)
      return gwsync::RunComSetupCommand(*options, console);
#else
      return gwsync::RunSetupCommand(*options, console);
#endif
    }
    return gwsync::RunHostCommand(*options, parts, console);
  } catch (const std::exception& failure) {
    std::cerr << "gwsync: " << failure.what() << "\n";
    return 1;
  }
}
