#pragma once

// The Windows build's site: the real computer (its clock, registry and version), the plug-in
// registered as "PIMSYNC.ISYNCHAPPU" and the simulated GroupWise of gwsim.dll, both through COM.
// Both servers must be registered (regsvr32). gwsync.exe can only play the host here, so the
// options that play the computer are refused (docs/gwsync.md, "gwsync.exe"): --registry, --os
// and --trace. --today is the host's day: it sets the range and the sample mailbox, while the
// plug-in reads the computer's clock. mailsync has no COM server yet, so its runs are refused.

#include "tools/gwsync/host_site.h"

namespace gwsync {

SiteFactory ComSite();

}  // namespace gwsync
