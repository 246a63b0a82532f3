#pragma once

// `gwsync setup COMPONENT ACTION --profile FILE`: gwsync plays the host for a data setup
// component (setup_components.h). The portable build runs the component's portable half
// against the simulated engine object over the profile file: `invisible` calls
// InvisibleDialog. `show` and `wizard` (also `setup wizard COMPONENT=FILE...`) show the
// components' own windows and so need the Windows build with the registered DLLs.

#include <optional>

#include "tools/gwsync/command_line.h"
#include "tools/gwsync/console.h"

namespace gwsync {

// The exit status (docs/gwsync.md, "gwsync setup"): 0 when InvisibleDialog reported TRUE and
// the profile was saved; 1 when it reported FALSE, the profile could not be saved or the
// registry file cannot be read; 2 for an ACTION this build cannot play or a missing --profile.
int RunSetupCommand(const Options& options, Console console);

// The control file of one component of the command: its own, or --profile's.
const std::string& SetupProfileFile(const SetupTarget& target, const Options& options);

// What both builds check of the control files before a component sees them: the exit status,
// after its message, when the run cannot go on (no --profile, or a file names a folder).
std::optional<int> RefuseSetupProfiles(const Options& options, Console console);

}  // namespace gwsync
