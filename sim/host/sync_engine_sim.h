#pragma once

// A simulated synchronization engine object ("EPOCU.Symbian.SYNCH.ISYNCHU") over a profile
// file (docs/profile-file.md), for tools and tests that play a setup component natively. It
// opens the file named by the control-file path, hands out a memory stream per block holding
// that block's bytes, and at Save writes what the streams then hold back into the file,
// atomically. A file that does not exist yet opens as a new, empty control file of the
// engine's kind (every stream empty) and is created at Save. Faults can be injected for each
// step, and every call is logged.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/sync_engine.h"
#include "sim/host/profile.h"

namespace sim {

struct EngineFaults {
  bool cannotCreate = false;  // the factory raises, as when the host's engine is not installed
  bool openFails = false;     // OpenControlFile returns -1
  bool saveFails = false;     // Save returns 1 and writes nothing
  bool streamsFail = false;   // every Seek, Read and Write of a block stream raises
  // Each stream holds at most this many bytes of its block when it is handed out.
  std::optional<std::size_t> shortStreams;
};

class SimulatedEngines {
 public:
  // Engines of the profile kind a new control file gets. `note` hears why an open or a save
  // failed beyond the injected faults (a file of another kind, one that cannot be read).
  // Without a kind, as for a host whose wizard writes profiles of several kinds at once, an
  // existing file of either kind opens, and a new one takes the kind of the block B that its
  // component writes.
  explicit SimulatedEngines(std::optional<ProfileKind> kind,
                            std::function<void(std::string_view)> note = nullptr)
      : kind_(kind), note_(std::move(note)) {}

  // The factory a ProfileSession takes; it refers to this object, which must outlive it.
  setup::SyncEngineFactory Factory();

  EngineFaults faults;
  // "create", "open C:\x.bin", "stream -1", "close", "save" ... in order, over all engines.
  std::vector<std::string> calls;
  // Saves that returned a failure, injected or not.
  int failedSaves = 0;
  // How many engines are alive.
  int alive = 0;

 private:
  friend class SimulatedEngine;
  std::optional<ProfileKind> kind_;
  std::function<void(std::string_view)> note_;
};

}  // namespace sim
