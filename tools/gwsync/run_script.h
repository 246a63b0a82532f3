#pragma once

// `gwsync run SCRIPT`: the requests of one run, one per line of a script (docs/run-script.md).

#include <cstddef>
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

// What a script holds besides its requests: the names its `answer folder-name` lines type into
// the plug-in's folder-name dialog, in order. The plug-in asks at Open, before the first request,
// so these lines must come before every request.
struct Script {
  std::vector<std::string> folderNames;
  std::vector<ScriptStep> steps;
};

// Every line of a script, paths made relative to `folder`. Raises ScriptError for the first
// line that cannot be understood, so that a mistake stops a script before anything runs.
Script ParseRunScript(std::string_view text, const std::filesystem::path& folder);
// Only the requests of ParseRunScript.
std::vector<ScriptStep> ParseScript(std::string_view text, const std::filesystem::path& folder);

// A record or result file that is a folder can never be read or written, whatever the lines
// before it do: refused before the run (ScriptError naming the line), so that no request is
// sent whose result would have nowhere to go.
void RefuseFolders(const std::vector<ScriptStep>& steps);

// The largest script that is read (docs/run-script.md): thousands of lines.
inline constexpr std::size_t kScriptLimit = std::size_t{1} << 20;

// What RunScript returns when it stops early (docs/gwsync.md, "Exit status").
inline constexpr int kScriptFileError = 2;  // a record file unreadable, a result file unwritable
inline constexpr int kOutputError = 1;      // standard output cannot be written

// Sends the steps in order; a result goes to its file (replaced atomically) or to `out`. A
// record file read only when its step runs may be one that an earlier step wrote. Returns 0,
// or after saying why through `note` kScriptFileError when a file of the script cannot be read
// (kRecordLimit) or written, kOutputError when `out` fails; the steps after that one are not
// sent.
int RunScript(const std::vector<ScriptStep>& steps, std::string_view scriptName,
              HostSequence& sequence, std::ostream& out,
              const std::function<void(std::string_view)>& note);

}  // namespace gwsync
