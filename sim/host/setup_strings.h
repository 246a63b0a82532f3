#pragma once

// The setup components' string tables as the portable build carries them: compiled in from
// the very files the Windows build compiles into each component's DLL (resources/*.strings),
// so a tool or test that plays a component, or makes a profile as one does, reads its texts.

#include <memory>
#include <string_view>

#include "platform/resource_library.h"

namespace sim {

// The bytes of resources/emailsetup.strings (generated at build time).
std::string_view EmailSetupStringTable();

// emailsetup's strings, as its module's resources serve them.
std::unique_ptr<platform::ResourceLibrary> EmailSetupStrings();

}  // namespace sim
