#pragma once

// What the calendar and contacts components (calsetup, contactsetup) both write on every load
// of a profile, after the fixed values: block B's device-side values, which are the host's to
// interpret (its to-do list's name, the labels of its contact fields and the value at 17034),
// and the 1 at block A's 3666 that tells the host the profile is a PIM one.

#include "setup/common/component.h"

namespace setup {

void WritePimDeviceValues(Blocks& blocks);

}  // namespace setup
