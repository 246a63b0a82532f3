#pragma once

// The host's control file of one profile as a JSON text that a person can read and edit and
// that gives back every byte of the three setup blocks (docs/profile-file.md).

#include <cstddef>
#include <string>
#include <string_view>

#include "sim/host/profile.h"

namespace sim {

// The text written for a profile; loading it gives a profile equal byte for byte.
std::string WriteProfileText(const Profile& profile);
// Raises platform::Exception naming the block, the field or offset, and the fault.
Profile ReadProfileText(std::string_view text);

// The largest profile file that is read: the three blocks take a few kilobytes as JSON, so
// anything near this is no profile (docs/profile-file.md).
inline constexpr std::size_t kProfileFileLimit = std::size_t{1} << 20;

// The same, on a file. Both raise platform::Exception naming the file. The file is replaced
// atomically (platform/file_io.h): a failed save leaves the old file whole.
Profile LoadProfileFile(const std::string& path);
void SaveProfileFile(const std::string& path, const Profile& profile);

}  // namespace sim
