#pragma once

// The Windows build's site: the real computer (its clock, registry and version), the plug-in
// registered as "PIMSYNC.ISYNCHAPPU" or "MAILSYNC.ISYNCHAPPU" and the simulated GroupWise of
// gwsim.dll, all through COM. The servers must be registered (regsvr32). gwsync.exe can only
// play the host here, so the options that play the computer are refused (docs/gwsync.md,
// "gwsync.exe"): --registry, --os and --trace. --today is the host's day: it sets the range and
// the sample mailbox, while the plug-in reads the computer's clock. mailsync's folder-name
// dialog is its real window, which gwsync.exe answers as the portable build does
// (com_folder_name.h).

#include "tools/gwsync/host_site.h"

namespace gwsync {

SiteFactory ComSite();

}  // namespace gwsync
