#pragma once

// The identities gwsim.dll registers: GroupWise's two ProgIDs, served by classes of our own.

#include "sim/common/com/simulated_classes.h"

namespace sim::gwsim {

using com::SimulatedClass;

inline constexpr SimulatedClass kSessionClass = {
    {0xfbca7969, 0xe8ee, 0x4cdb, {0x9b, 0x24, 0xa4, 0xcb, 0x47, 0x5f, 0x55, 0x8e}},
    "{FBCA7969-E8EE-4CDB-9B24-A4CB475F558E}",
    "NovellGroupWareSession",
    "Simulated GroupWise session"};

inline constexpr SimulatedClass kCommanderClass = {
    {0x5a258c02, 0x96f8, 0x4f6b, {0x8e, 0x73, 0x19, 0x71, 0xba, 0x7a, 0x22, 0x52}},
    "{5A258C02-96F8-4F6B-8E73-1971BA7A2252}",
    "GroupWiseCommander",
    "Simulated GroupWise commander"};

inline constexpr const SimulatedClass* kClasses[] = {&kSessionClass, &kCommanderClass};

}  // namespace sim::gwsim
