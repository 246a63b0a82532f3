#pragma once

// What calsetup writes into a profile, the one home of its values: on every load (its identity,
// the device-side values it shares with contactsetup and its variations of the fixed values),
// as defaults (InvisibleDialog, and what the host simulator's new calendar profiles hold) and
// as commit values (CommitPages). kCalSetup bundles them with the rest of the component's
// table for the shared profile logic.

#include <cstdint>

#include "setup/calsetup/cal_strings.h"
#include "setup/common/component.h"
#include "setup/common/units.h"

namespace setup::cal {

extern const Component kCalSetup;

// DeleteRule and DeleteOldTypes: the bits of the four calendar types (APT, EVE, ANN, TODO).
inline constexpr int16_t kCalendarTypeBits = 15;
// The types whose deletion limits (DeleteOldCount, DeleteOldUnit) the calendar sets: 0 to 3.
inline constexpr int kCalendarTypes = 4;

// Day(s), Week(s), Month(s), Year(s) as calsetup names them.
inline constexpr UnitTable kUnits =
    UnitsNamedBy(string_id::kDays, string_id::kWeeks, string_id::kMonths, string_id::kYears);

// Where a new range starts: one month back, six months ahead.
inline constexpr int kDefaultPastCount = 1;
inline constexpr int kDefaultFutureCount = 6;
inline constexpr int16_t kDefaultUnit = 30;

void WriteIdentity(Blocks& blocks, const ValueContext& context);
void ApplyDefaults(Blocks& blocks, const ValueContext& context);
void ApplyCommitValues(Blocks& blocks);

// The deletion of old items as the Date Range and wizard pages store it: on, DeleteOldTypes
// 15 and every calendar type's limit `count` x `unit`; off, DeleteOldTypes 0 and the limits
// left as they were.
void StoreDeleteOld(framework::SetupBlock& a, bool on, int16_t count, int16_t unit);

}  // namespace setup::cal
