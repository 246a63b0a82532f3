#include "tools/gwsync/console.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace gwsync {

std::optional<std::string> ReadInput(const std::string& path, std::istream& in) {
  if (path.empty()) {
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) return std::nullopt;
  return text;
}

void UseBinaryStandardStreams() {
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace gwsync
