#pragma once

// The ids of setupwizard's string table (resources/setupwizard.strings).

namespace setup::wizard::string_id {

// The logon page's text (control 6004).
inline constexpr int kLogonIntro = 1;

}  // namespace setup::wizard::string_id
