#pragma once

// Where gwsync's host commands run: the computer, GroupWise and the plug-in. The portable build
// plays all three in this process (portable_site.h); the Windows build meets the real computer,
// the plug-in registered as "PIMSYNC.ISYNCHAPPU" and the simulated GroupWise of gwsim.dll
// through COM (com_site.h). Everything else, from the options to the output, is the same.
// A site hosts the one plug-in its run chose.

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/automation_date.h"
#include "platform/user_interface.h"
#include "tools/gwsync/command_line.h"
#include "tools/gwsync/host_plugin.h"
#include "tools/gwsync/progress_printer.h"

namespace gwsync {

class HostSite {
 public:
  virtual ~HostSite() = default;

  // The day the run takes as today, 00:00.
  virtual platform::AutomationDate Today() = 0;
  // The host's log level, as the setup components read it from the machine's settings.
  virtual int16_t LogLevel() = 0;
  // The computer's network name, which names the device's mail account of a new e-mail
  // profile; empty when it has none.
  virtual std::u16string ComputerName() = 0;
  // GroupWise's mailbox for the run: the store file, or without one the sample mailbox built
  // around today. Raises platform::Exception naming the file when it cannot be read.
  virtual void UseStore(const std::string& storeFile, platform::AutomationDate today) = 0;
  // The plug-in, as the host creates it; raises when it cannot be created.
  virtual std::unique_ptr<HostPlugin> CreatePlugin() = 0;
  // After the run: the store and the registry file written back when the run changed them.
  virtual void SaveStore() = 0;
  virtual void SaveRegistry() = 0;
  // `gwsync session`: what a plug-in learns of this computer when it starts.
  virtual int ShowSession(std::ostream& out) = 0;
};

// What a run asks of its site besides the options.
struct SitePlugin {
  PluginKind kind = PluginKind::kPimsync;
  // How the user answers the plug-in's folder-name dialog: by default Enter on the proposed name.
  platform::FolderNameAnswers folderNames{{}, true};
};

// Sets a site up from the options for the plug-in (raises platform::Exception, or UsageError for
// an option or a plug-in the site cannot honour). Message boxes and notes go through the printer.
using SiteFactory = std::function<std::unique_ptr<HostSite>(
    const Options& options, const SitePlugin& plugin, ProgressPrinter& printer)>;

}  // namespace gwsync
