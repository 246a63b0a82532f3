// gwsync: the host's side of a synchronization run, on the command line.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "framework/module_globals.h"
#include "platform/portable/console_user_interface.h"
#include "platform/portable/portable_platform.h"
#include "tools/gwsync/parse_command.h"
#include "tools/gwsync/registry_file.h"
#include "tools/gwsync/session_command.h"

namespace {

constexpr int kUsageError = 2;

constexpr const char* kUsage =
    "usage: gwsync [OPTIONS] COMMAND\n"
    "\n"
    "commands:\n"
    "  parse [FILE]      parse one record text (standard input without FILE) as the plug-ins\n"
    "                    parse a record written by the host, and print one line per property:\n"
    "                    name, parameters and value, separated by tabs\n"
    "  session           show what a plug-in learns of this machine when it starts\n"
    "\n"
    "options:\n"
    "  --registry FILE   the machine's registry, kept in a JSON file (docs/registry-file.md);\n"
    "                    saved back when the run changed it\n"
    "  --os NAME         the operating system to report: 95, 98, me, nt4, 2000 or xp (default)\n";

struct Options {
  std::string registryFile;
  std::optional<platform::OsVersion> os;
  std::string command;
  std::vector<std::string> args;
};

std::optional<platform::OsVersion> OsByName(const std::string& name) {
  using platform::OsVersion;
  if (name == "95") return OsVersion{OsVersion::kWindows9x, 4, 0, 950};
  if (name == "98") return OsVersion{OsVersion::kWindows9x, 4, 10, 1998};
  if (name == "me") return OsVersion{OsVersion::kWindows9x, 4, 90, 3000};
  if (name == "nt4") return OsVersion{OsVersion::kWindowsNT, 4, 0, 1381};
  if (name == "2000") return OsVersion{OsVersion::kWindowsNT, 5, 0, 2195};
  if (name == "xp") return OsVersion{OsVersion::kWindowsNT, 5, 1, 2600};
  return std::nullopt;
}

// Nothing (after printing why) when the command line cannot be used.
std::optional<Options> ParseOptions(const std::vector<std::string>& argv) {
  Options options;
  std::size_t i = 0;
  for (; i < argv.size() && argv[i].rfind("--", 0) == 0; ++i) {
    const std::string& option = argv[i];
    if (i + 1 >= argv.size()) {
      std::cerr << "gwsync: " << option << " needs a value\n" << kUsage;
      return std::nullopt;
    }
    const std::string& value = argv[++i];
    if (option == "--registry") {
      options.registryFile = value;
    } else if (option == "--os") {
      options.os = OsByName(value);
      if (!options.os) {
        std::cerr << "gwsync: unknown operating system '" << value << "'\n" << kUsage;
        return std::nullopt;
      }
    } else {
      std::cerr << "gwsync: unknown option " << option << "\n" << kUsage;
      return std::nullopt;
    }
  }
  if (i >= argv.size()) {
    std::cerr << kUsage;
    return std::nullopt;
  }
  options.command = argv[i];
  options.args.assign(argv.begin() + static_cast<std::ptrdiff_t>(i) + 1, argv.end());
  return options;
}

std::optional<std::string> ReadAll(const std::string& path) {
  if (path.empty()) {
#if defined(_WIN32)
    _setmode(_fileno(stdin), _O_BINARY);  // a record's CR LF must arrive as it was sent
#endif
    std::ostringstream buffer;
    buffer << std::cin.rdbuf();
    return buffer.str();
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

int Parse(const std::vector<std::string>& args) {
  if (args.size() > 1) {
    std::cerr << kUsage;
    return kUsageError;
  }
  const std::string path = args.empty() ? std::string() : args[0];
  std::optional<std::string> record = ReadAll(path);
  if (!record) {
    std::cerr << "gwsync: cannot read " << path << "\n";
    return kUsageError;
  }
#if defined(_WIN32)
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  return gwsync::RunParse(*record, std::cout, std::cerr);
}

// The plug-in this program plays: a module beside the program, with its resource libraries.
std::string PluginModulePath(const char* argv0) {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) program = std::filesystem::absolute(argv0, error);
  return (program.parent_path() / "pimsync.dll").string();
}

int RunWithMachine(const Options& options, const char* argv0) {
  platform::PortablePlatformOf<platform::ConsoleUserInterface> platform(std::cerr);
  platform.env.modulePath = PluginModulePath(argv0);
  if (options.os) platform.env.osVersion = *options.os;
  if (!options.registryFile.empty())
    gwsync::LoadRegistryFile(options.registryFile, platform.registry);
  const int changesBefore = platform.registry.changes;

  framework::ModuleResourcesScope resources(platform.env, platform.resources, platform.ui);
  int status = kUsageError;
  if (options.command == "session") {
    if (!options.args.empty()) {
      std::cerr << kUsage;
      return kUsageError;
    }
    status = gwsync::RunSession(platform, std::cout);
  }
  if (!options.registryFile.empty() && platform.registry.changes != changesBefore) {
    gwsync::SaveRegistryFile(options.registryFile, platform.registry);
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> argvList(argv + 1, argv + argc);
  if (!argvList.empty() && (argvList[0] == "--help" || argvList[0] == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  const std::optional<Options> options = ParseOptions(argvList);
  if (!options) return kUsageError;
  try {
    if (options->command == "parse") return Parse(options->args);
    if (options->command == "session") return RunWithMachine(*options, argv[0]);
  } catch (const std::exception& failure) {
    std::cerr << "gwsync: " << failure.what() << "\n";
    return 1;
  }
  std::cerr << "gwsync: unknown command '" << options->command << "'\n" << kUsage;
  return kUsageError;
}
