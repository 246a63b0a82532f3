#pragma once

// The ids of the controls of contactsetup's pages that the page models name: the static texts
// made of strings of the component's table, and the Restrictions page's radio buttons, whose
// order decides which group a page with several checked stores. The dialog templates use the
// same numbers.

namespace setup::contact::control {

inline constexpr int kRestrictionsIntro = 606;  // Restrictions: string 57347
inline constexpr int kAllFields = 607;          // Restrictions' buttons, in this order
inline constexpr int kNameAndNumbers = 608;
inline constexpr int kNameAndWork = 609;
inline constexpr int kNameWorkAndNotes = 610;
inline constexpr int kNameAndHome = 611;             // hidden
inline constexpr int kConflictIntro = 238;           // Conflict Resolution: strings 113 and 114
inline constexpr int kDeleteIntro = 136;             // Delete Options: strings 131 and 138
inline constexpr int kWizardAddressBookIntro = 613;  // string 57348

}  // namespace setup::contact::control
