#pragma once

// The data setup components gwsync plays the host for, as data: each one's name on the command
// line, its value table, its string table (the DLL's, carried by the portable build) and the
// kind of profile it writes. Both builds choose by this table: the portable one runs the
// component's profile logic, the Windows one creates the component by its table's ProgID.

#include <memory>
#include <string>
#include <string_view>

#include "platform/resource_library.h"
#include "setup/common/component.h"
#include "sim/host/profile.h"
#include "tools/gwsync/command_line.h"

namespace gwsync {

struct SetupComponentInfo {
  std::string_view name;         // "calendar", as the command line names it
  std::string_view description;  // "the calendar setup", for messages
  const setup::Component& values;
  std::unique_ptr<platform::ResourceLibrary> (*strings)();
  sim::ProfileKind profileKind;
};

const SetupComponentInfo& SetupComponentOf(SetupComponent component);

// The title of the component's message boxes (its string 57344), as message boxes show it.
std::string SetupMessageTitle(const SetupComponentInfo& component);

// The ProgID of the component that adds the GroupWise logon page to the host's wizard.
inline constexpr char kSetupWizardProgId[] = "setupwizard.SetupWizard.1";

}  // namespace gwsync
