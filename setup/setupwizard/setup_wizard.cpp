#include "setup/setupwizard/setup_wizard.h"

namespace setup::wizard {

void SetupWizard::FindHelpFile() {
  helpFile_ = HelpFilePath(registry_);
}

bool SetupWizard::IsPIMInstalled() const {
  return setup::IsPIMInstalled(registry_);
}

}  // namespace setup::wizard
