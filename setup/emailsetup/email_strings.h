#pragma once

// The ids of emailsetup's string table (resources/emailsetup.strings): the texts its values,
// pages and messages are made of.

namespace setup::email::string_id {

inline constexpr int kProfileTitle = 104;
inline constexpr int kSheetCaption = 106;
inline constexpr int kConflictIntro = 113;
inline constexpr int kConflictIntroEnd = 114;
inline constexpr int kRangeIntro = 115;
inline constexpr int kRangeIntroEnd = 116;
inline constexpr int kYears = 117;
inline constexpr int kMonths = 118;
inline constexpr int kDays = 119;
inline constexpr int kWeeks = 120;
inline constexpr int kAccountIntro = 122;
inline constexpr int kAccountIntroEnd = 123;
inline constexpr int kSizeIntro = 124;
inline constexpr int kFoldersIntro = 125;
inline constexpr int kWorkAccount = 126;
inline constexpr int kWizardAccountIntro = 127;
inline constexpr int kWizardAccountIntroEnd = 128;
inline constexpr int kWizardAccountUse = 129;
inline constexpr int kWizardRangeIntro = 132;
inline constexpr int kDeleteIntro = 136;
inline constexpr int kBlank = 140;
inline constexpr int kWizardAccountMore = 144;
inline constexpr int kAccountSuffix = 145;
inline constexpr int kWizardSizeIntro = 302;
inline constexpr int kDeleteOldBefore = 305;
inline constexpr int kDeleteOldAfter = 306;
inline constexpr int kDeleteOldIntro = 307;
inline constexpr int kDeleteIntroEnd = 311;
// The account-change question is these five joined.
inline constexpr int kAccountChangedFirst = 312;
inline constexpr int kAccountChangedLast = 316;
inline constexpr int kViewableAttachments = 57345;

}  // namespace setup::email::string_id
