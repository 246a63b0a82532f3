#pragma once

// The program's standard streams, and reading the input a command names.

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

namespace gwsync {

struct Console {
  std::istream& in;   // a record to write, when no file is named
  std::ostream& out;  // records and reports, byte for byte
  std::ostream& err;  // progress, log, message boxes, notes
  bool live = false;  // err is a terminal: one progress line redrawn in place
};

// The largest record that is read, from a file or standard input (docs/gwsync.md, "Limits"): a
// record with attachments as large as a handheld holds stays far below it.
inline constexpr std::size_t kRecordLimit = std::size_t{64} << 20;

// The whole file, or all of `in` when `path` is empty, within `limit` bytes. Raises
// platform::FileError naming the file ("standard input" for `in`).
std::string ReadInput(const std::string& path, std::istream& in, std::size_t limit);

// Flushes standard output and tells whether everything written to it arrived: a closed pipe or
// a full disk must not pass for a run whose results were seen.
bool OutputArrived(std::ostream& out);

// A record's CR LF must cross standard input and output as it is, also on Windows.
void UseBinaryStandardStreams();

}  // namespace gwsync
