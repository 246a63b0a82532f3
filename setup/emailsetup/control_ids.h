#pragma once

// The ids of the controls of emailsetup's pages whose texts the page models give: the
// static texts made of strings of the component's table, and the delete caption. The dialog
// templates use the same numbers.

namespace setup::email::control {

inline constexpr int kAccountIntro = 245;         // General: strings 122 and 123
inline constexpr int kRangeIntro = 249;           // Date Range: strings 115 and 116
inline constexpr int kDeleteOldIntro = 705;       // Date Range, wizard range: string 307
inline constexpr int kDeleteOldCheck = 706;       // Date Range, wizard range: the delete caption
inline constexpr int kSizeIntro = 251;            // Restrictions: string 124
inline constexpr int kFoldersIntro = 266;         // Restrictions: string 125
inline constexpr int kConflictIntro = 248;        // Conflict Resolution: strings 113 and 114
inline constexpr int kDeleteIntro = 140;          // Delete Options: strings 136 and 311
inline constexpr int kWizardAccountIntro = 270;   // strings 127 and 128
inline constexpr int kWizardAccountUse = 271;     // strings 129 and 144
inline constexpr int kWizardRangeIntro = 301;     // string 132
inline constexpr int kWizardSizeIntro = 311;      // string 302
inline constexpr int kViewableAttachments = 203;  // wizard size: string 57345

}  // namespace setup::email::control
