#pragma once

// The setup wizard's data as CommitPages receives it: a VARIANT whose array slot holds a
// one-dimensional array of two BSTRs, the GroupWise user name and its start-up parameters.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <optional>

#include "setup/common/profile_session.h"

namespace setup::com {

// The host hands on what the wizard's WizardData produced under whatever type tag its caller
// gave it, so the array slot is read whatever the tag says. What is there is checked before
// anything of it is read: nothing for a null pointer, an array of other than one dimension or
// of other elements than BSTRs, or one of fewer than two elements. Only the first two elements
// are read; a null BSTR is the empty text.
std::optional<WizardData> ReadWizardData(const VARIANT& profileName);

}  // namespace setup::com
