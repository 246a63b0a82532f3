#pragma once

// What the setup components read from the machine's registry, each with its fallback: none of
// these keys or values is required.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace setup {

// The host's settings key under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kHostSettingsKey = "Software\\Didodudo\\Z380\\Settings";
// GroupWise's application path key under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kGroupWiseAppPathKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\GrpWise.exe";

// The log level a profile gets when the host's settings name none.
inline constexpr int16_t kDefaultLogLevel = 3;
// The help file, found on the search path when the host's settings name no folder.
inline constexpr std::string_view kHelpFileName = "Pmz380.hlp";
// The buffer the components read a string value into, its NUL included: a longer value
// cannot be read.
inline constexpr std::size_t kStringValueLimit = 1000;

// The low 16 bits of the DWORD value "LogLevel" of the host's settings, else kDefaultLogLevel.
int16_t ReadLogLevel(platform::Registry& registry);

// The string value "AppDir" of the host's settings, a backslash and "Pmz380.hlp"; the plain
// name when the key or the value cannot be read. 8-bit text in the ANSI code page, as WinHelp
// takes it.
std::string HelpFilePath(platform::Registry& registry);

// IsPIMInstalled: whether GroupWise's application path names where it is installed (its
// value "Path" can be read).
bool IsPIMInstalled(platform::Registry& registry);

// A string value of a machine key read as into a buffer of kStringValueLimit bytes: nothing
// when the key, the value or the room for it is missing.
std::optional<std::string> ReadMachineString(platform::Registry& registry, std::string_view key,
                                             std::string_view value);

}  // namespace setup
