#pragma once

// The ids of contactsetup's string table (resources/contactsetup.strings): the texts its values,
// pages and messages are made of.

namespace setup::contact::string_id {

inline constexpr int kProfileTitle = 104;
inline constexpr int kSheetCaption = 106;
inline constexpr int kConflictIntro = 113;
inline constexpr int kConflictIntroEnd = 114;
// The table's one blank: the end of the conflict text, and of a numeric field's message.
inline constexpr int kBlank = 114;
inline constexpr int kDeleteIntro = 131;
inline constexpr int kDeleteIntroEnd = 138;
inline constexpr int kRestrictionsIntro = 57347;
inline constexpr int kWizardAddressBookIntro = 57348;

}  // namespace setup::contact::string_id
