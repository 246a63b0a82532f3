#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "framework/versit_property.h"

namespace gwsync {

// One line per property: name, tab, parameters, tab, value, each shown with
// framework::EscapeForDisplay.
std::string FormatProperties(const framework::TvProperties& properties);

// `gwsync parse`: parses one record text exactly as a write from the host is parsed and
// prints its properties. Message boxes of the parser go to `err`. Returns the exit status:
// 0 when at least one property was parsed, 1 when none.
int RunParse(std::string_view record, std::ostream& out, std::ostream& err);

}  // namespace gwsync
