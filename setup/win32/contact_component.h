#pragma once

// contactsetup on Windows: its portable half (profile session over the component's table) with
// the host's engine object and the DLL's own texts.

#include "platform/win32/windows_api.h"

#include "setup/contactsetup/contact_setup.h"
#include "setup/win32/data_component.h"
#include "setup/win32/win32_setup_services.h"

namespace setup::win32 {

class ContactComponent final : public DataComponent {
 public:
  // module: contactsetup.dll, whose resources the texts and pages come from.
  explicit ContactComponent(HMODULE module);

  ProfileSession& Session() override { return setup_.Session(); }
  std::vector<std::unique_ptr<PropertyPage>> SettingsPages() override;
  std::vector<std::unique_ptr<PropertyPage>> WizardPages() override;

 private:
  HMODULE module_;
  Win32SetupServices services_;  // before setup_, which refers to it
  contact::ContactSetup setup_;
};

}  // namespace setup::win32
