#pragma once

// What contactsetup writes into a profile, the one home of its values: on every load (its
// identity, the device-side values it shares with calsetup, and its variations of the fixed
// values), as defaults (InvisibleDialog) and as commit values (CommitPages). kContactSetup
// bundles them with the rest of the component's table for the shared profile logic.

#include <cstdint>
#include <string_view>

#include "setup/common/component.h"
#include "setup/contactsetup/contact_strings.h"

namespace setup::contact {

extern const Component kContactSetup;

// DeleteRule: the bit of the CON type, set when deletions on the device stay in GroupWise.
inline constexpr int16_t kContactTypeBit = 16;
// The book pimsync synchronizes when AddressBook is empty, and the one a new profile names.
inline constexpr std::u16string_view kDefaultAddressBook = u"Didodudo Z380";

void WriteIdentity(Blocks& blocks, const ValueContext& context);
void ApplyDefaults(Blocks& blocks, const ValueContext& context);
void ApplyCommitValues(Blocks& blocks);

}  // namespace setup::contact
