#pragma once

// What emailsetup writes into a profile, the one home of its values: on every load (its
// identity and its variations of the fixed values), as defaults (InvisibleDialog, and what
// gwsync's new e-mail profiles hold) and as commit values (CommitPages). kEmailSetup bundles
// them with the rest of the component's table for the shared profile logic.

#include <cstdint>
#include <string>
#include <string_view>

#include "setup/common/component.h"
#include "setup/common/units.h"
#include "setup/emailsetup/email_strings.h"

namespace setup::email {

extern const Component kEmailSetup;

// DeleteRule and DeleteOldTypes: the bit of the EMAIL type.
inline constexpr int16_t kEmailTypeBit = 64;
// MailFolders: Inbox and Outbox, or all four folders.
inline constexpr uint32_t kInboxAndOutbox = 10;
inline constexpr uint32_t kAllFolders = 15;

// Day(s), Week(s), Month(s), Year(s) as emailsetup names them.
inline constexpr UnitTable kUnits =
    UnitsNamedBy(string_id::kDays, string_id::kWeeks, string_id::kMonths, string_id::kYears);

// The computer's name, or "Work" (string 126) when it has none.
std::u16string DefaultAccountName(const ComponentStrings& strings,
                                  std::u16string_view computerName);
// What DeviceAccount holds for an account name: the name and " (PC mail)" (string 145).
std::u16string DeviceAccountOf(const ComponentStrings& strings, std::u16string_view accountName);

void WriteIdentity(Blocks& blocks, const ValueContext& context);
void ApplyDefaults(Blocks& blocks, const ValueContext& context);
void ApplyCommitValues(Blocks& blocks);

}  // namespace setup::email
