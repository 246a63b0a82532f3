#pragma once

// The one simulated host of a process that loaded hostsim.dll.
//
// This is module-level mutable state, as in gwsim.dll and for the same reason: COM makes the
// engine objects and folder pickers through class factories that cannot be handed anything,
// yet a test or gwsync.exe must choose their faults and read their calls. The product keeps
// nothing of the kind. Everything here runs on the thread of the apartment that created the
// objects (ThreadingModel Apartment), so it needs no lock.

#include <memory>
#include <string>
#include <vector>

#include "sim/host/folder_picker_sim.h"
#include "sim/host/sync_engine_sim.h"

namespace sim::hostsim {

struct ModuleState {
  std::unique_ptr<SimulatedEngines> engines;
  SimulatedFolderPickers pickers;
};

ModuleState& State();

// The exports' work; each raises platform::Exception for what it cannot take.
void UseProfileKind(std::string_view kind);
void SetEngineFaults(uint32_t faults, int32_t shortStreams);
void SetFolderPicker(uint32_t faults, int32_t choice);
// The lines of the log, which is then emptied.
std::string TakeCalls(std::vector<std::string>& calls);

}  // namespace sim::hostsim
