#pragma once

// The commands that play the host: read, write, run and session. Each sets up its site (the
// computer, GroupWise and the plug-in, host_site.h), and the first three a whole
// synchronization run in it: profile and range, the store, the progress object and the plug-in.

#include <string>

#include "tools/gwsync/command_line.h"
#include "tools/gwsync/console.h"
#include "tools/gwsync/host_site.h"
#include "tools/gwsync/in_process_plugin.h"
#include "tools/gwsync/portable_site.h"

namespace gwsync {

// What a run takes from outside the command line: the real program's or a test's.
struct HostParts {
  // The portable site with plug-in objects of this process.
  HostParts(PluginModule pimsync, PluginModule mailsync);
  // The same, with one module playing both plug-ins, for runs that need not tell them apart.
  HostParts(PluginFactory plugin, std::string modulePath);
  explicit HostParts(SiteFactory site) : site(std::move(site)) {}

  SiteFactory site;
};

// Runs a read, write or run command (options.command) and returns the exit status
// (docs/gwsync.md): 0 when every host method returned Value 0 and every result arrived; 1 when
// one returned Value 1, the run could not be set up (a profile, store or registry file that
// cannot be read, a profile of the other plug-in's kind, a store in use by another run), or
// what it produced could not be kept (a file that cannot be saved, standard output that cannot
// be written); 2 when the command's input cannot be read (the record of a write, the script of
// a run or a file it names), a script line is wrong, its requests need both plug-ins, or the
// site refuses an option or the plug-in.
//
// The store is locked for the whole run, and whatever ends the run once the plug-in was
// created, the store and the registry file are saved as the plug-in left them.
int RunHostCommand(const Options& options, const HostParts& parts, Console console);

// `gwsync session`.
int RunSessionCommand(const Options& options, const HostParts& parts, Console console);

}  // namespace gwsync
