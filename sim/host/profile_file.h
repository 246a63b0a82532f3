#pragma once

// The host's control file of one profile as a JSON text that a person can read and edit and
// that gives back every byte of the three setup blocks (docs/profile-file.md).

#include <string>
#include <string_view>

#include "sim/host/profile.h"

namespace sim {

// The text written for a profile; loading it gives a profile equal byte for byte.
std::string WriteProfileText(const Profile& profile);
// Raises platform::Exception naming the block, the field or offset, and the fault.
Profile ReadProfileText(std::string_view text);

// The same, on a file. Both raise platform::Exception naming the file.
Profile LoadProfileFile(const std::string& path);
void SaveProfileFile(const std::string& path, const Profile& profile);

}  // namespace sim
