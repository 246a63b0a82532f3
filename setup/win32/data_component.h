#pragma once

// One data setup component (emailsetup, calsetup, contactsetup) on Windows: its profile session
// and the pages it shows. The shared IEECDIALOG methods (setup/com/data_dialog.h) run on it.

#include <memory>
#include <vector>

#include "setup/common/profile_session.h"
#include "setup/win32/property_page.h"

namespace setup::win32 {

class DataComponent {
 public:
  virtual ~DataComponent() = default;
  virtual ProfileSession& Session() = 0;
  // New pages of the Settings sheet, in tab order.
  virtual std::vector<std::unique_ptr<PropertyPage>> SettingsPages() = 0;
  // New pages for the host's setup wizard, in the order it shows them.
  virtual std::vector<std::unique_ptr<PropertyPage>> WizardPages() = 0;
};

}  // namespace setup::win32
