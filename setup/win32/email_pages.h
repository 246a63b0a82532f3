#pragma once

// emailsetup's pages on Windows: the five of its Settings sheet and the three of the host's
// setup wizard, each a dialog procedure that moves values between the template's controls and
// its page model (setup/emailsetup/settings_pages.h, wizard_pages.h).

#include "platform/win32/windows_api.h"

#include <memory>
#include <vector>

#include "setup/emailsetup/email_setup.h"
#include "setup/win32/property_page.h"

namespace setup::win32 {

// New pages over `setup` for one sheet, in tab order: General, Date Range, Restrictions,
// Conflict Resolution, Delete Options.
std::vector<std::unique_ptr<PropertyPage>> EmailSettingsPages(HMODULE module,
                                                              email::EmailSetup& setup);
// The wizard's pages, in the order the host shows them: account, range, size.
std::vector<std::unique_ptr<PropertyPage>> EmailWizardPages(HMODULE module,
                                                            email::EmailSetup& setup);

}  // namespace setup::win32
