#pragma once

// What every data setup component writes when it prepares a profile it has opened (before any
// page is shown or default applied): the host's log and work paths named after the control
// file, and the fixed values of block A that the host expects from all of them. The
// component's own identity follows through its table (component.h).

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/setup_blocks.h"
#include "setup/common/component.h"

namespace setup {

// The control file's path in upper case with every ".BIN" replaced by `extension` (".LOG",
// ".WKF"); empty for an empty path. Only ASCII letters are upper-cased and the replacement is
// case-sensitive on the upper-cased text, so a derived name never depends on the machine's
// locale and "c:\profiles\mail.bin" always names C:\PROFILES\MAIL.LOG.
std::u16string DerivedPath(std::u16string_view controlFile, std::u16string_view extension);
ProfilePaths DeriveProfilePaths(std::u16string_view controlFile);

// Version, LogLevel and the unnamed constants of block A that every component writes alike
// (3666 as 0: the calendar components write their 1 over it with their identity).
void WriteFixedValues(framework::SetupBlock& a, int16_t logLevel);

// The fixed values, then the component's identity: what a load leaves in the blocks.
void WriteLoadValues(const Component& component, Blocks& blocks, int16_t logLevel,
                     const ValueContext& context);

}  // namespace setup
