#pragma once

// The few globals of a plug-in module, shared by every object the module creates.

#include <string>

namespace framework {

// The argument of every progress text; each plug-in's Init sets it to "GroupWise".
extern std::string PIMName;

// A progress text of the framework's string library; empty while that library is not loaded
// or lacks the id.
std::string LoadFrameworkString(int id);

}  // namespace framework
