#pragma once

// The setup components' string tables as the portable build carries them: compiled in from
// the very files the Windows build compiles into each component's DLL (resources/*.strings),
// so a tool or test that plays a component, or makes a profile as one does, reads its texts.

#include <memory>
#include <string_view>

#include "platform/resource_library.h"

namespace sim {

// The bytes of resources/emailsetup.strings, calsetup.strings, contactsetup.strings and
// setupwizard.strings (generated at build time).
std::string_view EmailSetupStringTable();
std::string_view CalSetupStringTable();
std::string_view ContactSetupStringTable();
std::string_view SetupWizardStringTable();

// Each component's strings, as its module's resources serve them.
std::unique_ptr<platform::ResourceLibrary> EmailSetupStrings();
std::unique_ptr<platform::ResourceLibrary> CalSetupStrings();
std::unique_ptr<platform::ResourceLibrary> ContactSetupStrings();
std::unique_ptr<platform::ResourceLibrary> SetupWizardStrings();

}  // namespace sim
