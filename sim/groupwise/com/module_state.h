#pragma once

// The one simulated GroupWise of a process that loaded gwsim.dll.
//
// This is module-level mutable state, the one exception to our rule against global state, and
// only because gwsim.dll is a test stand-in: COM makes the session and the commander through
// class factories that cannot be handed anything, yet every object a process creates must work
// on one mailbox, as GroupWise's objects all work on the mailbox the user is logged in to. The
// product keeps nothing of the kind. Everything here runs on the thread of the apartment that
// created the objects (ThreadingModel Apartment), so it needs no lock.

#include <optional>

#include "platform/automation_date.h"
#include "sim/groupwise/simulated_groupwise.h"
#include "sim/groupwise/store.h"

namespace sim::gwsim {

struct ModuleState {
  // An empty mailbox until the host chooses one.
  GroupWise groupwise;
  // The file of GwsimUseStore; nothing for the sample or the empty mailbox, which are not saved.
  std::optional<StoreFile> store;
};

ModuleState& State();

// The exports' work; each raises StoreError (or platform::Exception) naming the file.
void UseStore(const std::string& path);
void UseSample(platform::AutomationDate today);
void SaveIfChanged();
// Nothing: the machine's clock.
void SetClock(std::optional<platform::AutomationDate> now);

}  // namespace sim::gwsim
