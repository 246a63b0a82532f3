#include "tools/gwsync/console.h"

#include <cstdio>

#include "platform/file_io.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace gwsync {

std::string ReadInput(const std::string& path, std::istream& in, std::size_t limit) {
  if (path.empty()) return platform::ReadStreamWithin(in, limit, "standard input");
  return platform::ReadFileWithin(path, limit);
}

bool OutputArrived(std::ostream& out) {
  out.flush();
  return !out.fail();
}

void UseBinaryStandardStreams() {
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace gwsync
