#pragma once

// The ids of the controls of calsetup's pages whose texts the page models give: the static
// texts made of strings of the component's table, and the delete caption. The dialog
// templates use the same numbers.

namespace setup::cal::control {

inline constexpr int kRangeIntro = 239;        // Date Range: strings 115 and 116
inline constexpr int kDeleteOldIntro = 602;    // Date Range, wizard range: string 132
inline constexpr int kDeleteOldCheck = 256;    // Date Range, wizard range: the delete caption
inline constexpr int kConflictIntro = 238;     // Conflict Resolution: strings 113 and 114
inline constexpr int kDeleteIntro = 136;       // Delete Options: strings 131 and 138
inline constexpr int kWizardRangeIntro = 301;  // string 125

}  // namespace setup::cal::control
