// gwsync: the host's side of a synchronization run, on the command line.

#include <cstdio>
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

#include "tools/gwsync/parse_command.h"

namespace {

constexpr int kUsageError = 2;

constexpr const char* kUsage =
    "usage: gwsync parse [FILE]\n"
    "\n"
    "  parse [FILE]   parse one record text (standard input without FILE) as the plug-ins\n"
    "                 parse a record written by the host, and print one line per property:\n"
    "                 name, parameters and value, separated by tabs\n";

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

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    (args.empty() ? std::cerr : std::cout) << kUsage;
    return args.empty() ? kUsageError : 0;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  if (command == "parse") return Parse(args);
  std::cerr << "gwsync: unknown command '" << command << "'\n" << kUsage;
  return kUsageError;
}
