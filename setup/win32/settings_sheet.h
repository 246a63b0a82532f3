#pragma once

// CPropertySheetFrame: the Settings sheet of a data setup component, a comctl32 property sheet
// of the component's pages with its caption, a Help button and no Apply button.

#include "platform/win32/windows_api.h"

#include <memory>
#include <string>
#include <vector>

#include "setup/win32/property_page.h"

namespace setup::win32 {

// How far the sheet's buttons move to the left when it opens, in pixels, keeping their size.
inline constexpr int kOkButtonShift = 140;
inline constexpr int kCancelButtonShift = 100;
inline constexpr int kHelpButtonShift = 60;

// Shows the sheet modally over `owner` (none: over nothing) with the pages in tab order; true
// when the user closed it with OK. A page's failure closes the sheet and is raised here once it
// has returned; platform::Exception when the sheet cannot be shown.
bool RunSettingsSheet(HWND owner, const std::u16string& caption,
                      const std::vector<std::unique_ptr<PropertyPage>>& pages);

}  // namespace setup::win32
