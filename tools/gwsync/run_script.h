#pragma once

// `gwsync run SCRIPT`: the requests of one run, one per line of a script (docs/run-script.md).

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/exception.h"
#include "tools/gwsync/host_sequence.h"

namespace gwsync {

// A line that cannot be understood; the message begins with the line's number.
class ScriptError : public platform::Exception {
 public:
  using Exception::Exception;
};

struct ScriptStep {
  int line = 0;
  Request request;     // the record of a write is read from `input` when the step runs
  std::string input;   // the record file of a write
  std::string output;  // where the result goes; empty: standard output
};

// Every step of a script, paths made relative to `folder`. Raises ScriptError for the first
// line that cannot be understood, so that a mistake stops a script before anything runs.
std::vector<ScriptStep> ParseScript(std::string_view text, const std::filesystem::path& folder);

// Sends the steps in order; a result goes to its file or to `out`. A record file read only
// when its step runs may be one that an earlier step wrote. Returns 0, or 2 when a file of
// the script cannot be read or written, after saying why through `note`; the steps after that
// one are not sent.
int RunScript(const std::vector<ScriptStep>& steps, std::string_view scriptName,
              HostSequence& sequence, std::ostream& out,
              const std::function<void(std::string_view)>& note);

}  // namespace gwsync
