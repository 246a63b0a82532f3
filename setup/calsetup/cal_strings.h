#pragma once

// The ids of calsetup's string table (resources/calsetup.strings): the texts its values, pages
// and messages are made of.

namespace setup::cal::string_id {

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
inline constexpr int kWizardRangeIntro = 125;
inline constexpr int kDeleteIntro = 131;
inline constexpr int kDeleteOldIntro = 132;
inline constexpr int kDeleteOldBefore = 133;
inline constexpr int kDeleteOldAfter = 134;
inline constexpr int kDeleteIntroEnd = 138;
inline constexpr int kBlank = 143;

}  // namespace setup::cal::string_id
