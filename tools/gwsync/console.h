#pragma once

// The program's standard streams, and reading the input a command names.

#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace gwsync {

struct Console {
  std::istream& in;   // a record to write, when no file is named
  std::ostream& out;  // records and reports, byte for byte
  std::ostream& err;  // progress, log, message boxes, notes
  bool live = false;  // err is a terminal: one progress line redrawn in place
};

// The whole file, or all of `in` when `path` is empty; nothing when the file cannot be read.
std::optional<std::string> ReadInput(const std::string& path, std::istream& in);

// A record's CR LF must cross standard input and output as it is, also on Windows.
void UseBinaryStandardStreams();

}  // namespace gwsync
