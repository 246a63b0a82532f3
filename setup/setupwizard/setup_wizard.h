#pragma once

// The portable half of setupwizard's COM object (class SetupWizard). It has no profile: it
// keeps the GroupWise logon its page collects once for the whole host wizard, which the host
// reads through WizardData and hands to every data component's CommitPages
// (setup/common/profile_session.h stores it there), and the help file its page opens.

#include <string>
#include <string_view>
#include <utility>

#include "platform/registry.h"
#include "setup/common/component_strings.h"
#include "setup/common/machine_settings.h"
#include "setup/common/profile_session.h"

namespace setup::wizard {

// The versioned ProgID of the class; the source of the error objects its members leave.
inline constexpr std::string_view kProgId = "setupwizard.SetupWizard.1";

class SetupWizard {
 public:
  // `registry` must outlive this object.
  SetupWizard(platform::Registry& registry, ComponentStrings strings)
      : registry_(registry), strings_(strings) {}

  // ShowDialog, AddPages and InvisibleDialog look the help file up each time: the host's
  // settings may name another folder by then.
  void FindHelpFile();
  // The plain name until FindHelpFile has run.
  const std::string& HelpFile() const { return helpFile_; }
  bool IsPIMInstalled() const;

  const ComponentStrings& Strings() const { return strings_; }

  // The user name and start-up parameters as the logon page's Next left them; both empty
  // until then.
  const WizardData& Logon() const { return logon_; }
  void StoreLogon(WizardData logon) { logon_ = std::move(logon); }

 private:
  platform::Registry& registry_;
  ComponentStrings strings_;
  std::string helpFile_{kHelpFileName};
  WizardData logon_;
};

}  // namespace setup::wizard
