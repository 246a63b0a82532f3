#pragma once

// The identities hostsim.dll registers: the host's engine object and GroupWise's folder
// picker, under their ProgIDs, served by classes of our own (the coclasses of hostsim.idl).

#include "sim/common/com/simulated_classes.h"

namespace sim::hostsim {

inline constexpr com::SimulatedClass kEngineClass = {
    {0xbb49e5da, 0xb153, 0x4682, {0x9c, 0x08, 0xe8, 0x63, 0xdb, 0x85, 0xfb, 0x00}},
    "{BB49E5DA-B153-4682-9C08-E863DB85FB00}",
    "EPOCU.Symbian.SYNCH.ISYNCHU",
    "Simulated synchronization engine object"};

inline constexpr com::SimulatedClass kFolderBrowserClass = {
    {0xc4472ae5, 0xb560, 0x4dd5, {0x92, 0xf9, 0x45, 0x2b, 0x45, 0x9c, 0x40, 0xf2}},
    "{C4472AE5-B560-4DD5-92F9-452B459C40F2}",
    "gwfoldpick.FolderBrowser",
    "Simulated GroupWise folder picker"};

inline constexpr const com::SimulatedClass* kClasses[] = {&kEngineClass, &kFolderBrowserClass};

}  // namespace sim::hostsim
