#pragma once

// The host's whole setup wizard, as gwsync.exe plays it: the setup wizard component's GroupWise
// logon page first, then the wizard pages of each data component for its own control file; on
// Finish the logon the setup wizard collected (WizardData) goes to every data component's
// CommitPages; then RemovePages on all, the setup wizard last, because the data it handed out
// is its own until then. The calling thread must be in an apartment.

#include <string>
#include <vector>

namespace gwsync {

struct WizardProfile {
  std::string progId;  // the data component's
  std::u16string controlFile;
};

// True when the user finished the wizard and the components committed their profiles; false
// when it was cancelled and nothing was written. Raises platform::Exception when a component
// cannot be created or a call fails; RemovePages is called on every component that was given
// pages either way.
bool RunSetupWizard(const std::vector<WizardProfile>& profiles);

}  // namespace gwsync
