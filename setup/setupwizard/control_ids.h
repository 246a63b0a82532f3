#pragma once

// The ids of the logon page's controls, shared by its model and its dialog template
// (setup/win32/logon_resources.h uses the same numbers).

namespace setup::wizard::control {

inline constexpr int kManualLogin = 6000;  // check box
inline constexpr int kUserName = 6001;     // edit
inline constexpr int kParams = 6003;       // edit
inline constexpr int kLogonIntro = 6004;   // text: string 1

}  // namespace setup::wizard::control
