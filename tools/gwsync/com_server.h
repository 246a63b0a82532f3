#pragma once

// The in-process COM servers gwsync.exe meets: the module COM loads for a ProgID, and the
// simulated GroupWise's own functions in gwsim.dll (docs/groupwise-store.md).

#include <string>
#include <string_view>

#include "platform/automation_date.h"
#include "platform/win32/ole_owners.h"
#include "sim/groupwise/com/gwsim_exports.h"
#include "sim/host/com/hostsim_exports.h"

namespace gwsync {

// The module that serves the ProgID's class, loaded as COM loads it, and kept loaded while the
// result lives. Raises platform::Exception when the ProgID is not registered or its server
// cannot be loaded in process. The calling thread must be in an apartment.
platform::win32::UniqueModule LoadServerModule(std::string_view progId);

// gwsim.dll, found as the server of "NovellGroupWareSession": the very module whose objects the
// plug-in will create, so that the mailbox chosen here is the one they work on.
class GroupWiseModule {
 public:
  // Raises platform::Exception when GroupWise's session is not registered, or registered to a
  // server that is not the simulator.
  GroupWiseModule();

  // Raise platform::Exception with the simulator's message (a store that cannot be read names
  // the file, the line and the column).
  void UseStore(const std::string& path);
  void UseSample(platform::AutomationDate today);
  void SaveIfChanged();
  // The post office's clock stands at the start of `day`, which dates the mail a run sends.
  void SetClock(platform::AutomationDate day);

 private:
  platform::win32::UniqueModule module_;
  GwsimUseStoreFunction* useStore_ = nullptr;
  GwsimUseSampleFunction* useSample_ = nullptr;
  GwsimSaveIfChangedFunction* saveIfChanged_ = nullptr;
  GwsimSetClockFunction* setClock_ = nullptr;
};

// hostsim.dll, found as the server of the host's engine object ("EPOCU.Symbian.SYNCH.ISYNCHU"):
// the very module whose engine objects and folder pickers the setup component will create.
class HostModule {
 public:
  // Raises platform::Exception when the engine object is not registered, or registered to a
  // server that is not the simulator.
  HostModule();

  // Each raises platform::Exception with the simulator's message; hostsim_exports.h says what
  // they set.
  void SetEngineFaults(uint32_t faults, int32_t shortStreams = -1);
  void UseProfileKind(const std::string& kind);
  void SetFolderPicker(uint32_t faults, int32_t choice);
  std::string TakeEngineCalls();
  std::string TakePickerCalls();

 private:
  platform::win32::UniqueModule module_;
  HostsimSetEngineFaultsFunction* setEngineFaults_ = nullptr;
  HostsimUseProfileKindFunction* useProfileKind_ = nullptr;
  HostsimSetFolderPickerFunction* setFolderPicker_ = nullptr;
  HostsimTakeCallsFunction* takeEngineCalls_ = nullptr;
  HostsimTakeCallsFunction* takePickerCalls_ = nullptr;
};

}  // namespace gwsync
