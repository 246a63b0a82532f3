#pragma once

// contactsetup's pages on Windows: the four of its Settings sheet and the one of the host's
// setup wizard, each a dialog procedure that moves values between the template's controls and
// its page model (setup/contactsetup/settings_pages.h, wizard_pages.h).

#include "platform/win32/windows_api.h"

#include <memory>
#include <vector>

#include "setup/contactsetup/contact_setup.h"
#include "setup/win32/property_page.h"

namespace setup::win32 {

// New pages over `setup` for one sheet, in tab order: General, Restrictions, Conflict
// Resolution, Delete Options.
std::vector<std::unique_ptr<PropertyPage>> ContactSettingsPages(HMODULE module,
                                                                contact::ContactSetup& setup);
// The wizard's page: the address book.
std::vector<std::unique_ptr<PropertyPage>> ContactWizardPages(HMODULE module,
                                                              contact::ContactSetup& setup);

}  // namespace setup::win32
