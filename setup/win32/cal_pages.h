#pragma once

// calsetup's pages on Windows: the four of its Settings sheet and the one of the host's setup
// wizard, each a dialog procedure that moves values between the template's controls and its
// page model (setup/calsetup/settings_pages.h, wizard_pages.h).

#include "platform/win32/windows_api.h"

#include <memory>
#include <vector>

#include "setup/calsetup/cal_setup.h"
#include "setup/win32/property_page.h"

namespace setup::win32 {

// New pages over `setup` for one sheet, in tab order: General, Date Range, Conflict
// Resolution, Delete Options.
std::vector<std::unique_ptr<PropertyPage>> CalSettingsPages(HMODULE module, cal::CalSetup& setup);
// The wizard's one page: the range.
std::vector<std::unique_ptr<PropertyPage>> CalWizardPages(HMODULE module, cal::CalSetup& setup);

}  // namespace setup::win32
