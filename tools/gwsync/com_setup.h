#pragma once

// `gwsync setup COMPONENT ACTION --profile FILE` in gwsync.exe: the host for the registered
// setup component (emailsetup.dll, "emailsetup.EmailSetup.1"), created through COM and called
// through IDispatch, against the simulated host's engine object (hostsim.dll) over the profile
// file. `invisible` answers the component's message boxes as the portable build does and prints
// what the portable build prints; `show` and `wizard` leave the windows to a person: the
// Settings sheet, and the host's wizard sheet of the component's pages followed by CommitPages.

#include "tools/gwsync/command_line.h"
#include "tools/gwsync/console.h"

namespace gwsync {

// The exit status of RunSetupCommand (setup_command.h); for `show` and `wizard` 0 when the
// component was called through, whether or not the user closed with OK, and 1 when it could not
// be created or called.
int RunComSetupCommand(const Options& options, Console console);

}  // namespace gwsync
