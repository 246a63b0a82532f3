#pragma once

// The commands that play the host: read, write, run and session. Each sets up the machine,
// and the first three a whole synchronization run around it: profile and range, the simulated
// GroupWise, the module's resource libraries, the progress object and the plug-in.

#include <string>

#include "tools/gwsync/command_line.h"
#include "tools/gwsync/console.h"
#include "tools/gwsync/host_sequence.h"

namespace gwsync {

// What a run takes from outside the command line: the real program's or a test's.
struct HostParts {
  PluginFactory plugin;
  std::string modulePath;  // the plug-in's module, beside its resource libraries
};

// Runs a read, write or run command (options.command) and returns the exit status: 0 when
// every host method returned Value 0, 1 when one returned Value 1 or the run could not be set
// up (an unreadable profile, store or registry file), 2 when the command's input cannot be
// read (the record of a write, the script of a run) or a script line is wrong.
int RunHostCommand(const Options& options, const HostParts& parts, Console console);

// `gwsync session`.
int RunSessionCommand(const Options& options, const HostParts& parts, Console console);

}  // namespace gwsync
