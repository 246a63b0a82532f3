#pragma once

// The host's synchronization engine object behind the setup components' seam
// (setup/sync_engine.h). The host documents it by dispatch identifiers only, so every call
// goes through IDispatch::Invoke by number; the block streams it hands out are IStreams.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <array>
#include <optional>

#include "platform/win32/com_ptr.h"
#include "platform/win32/dispatch_object.h"
#include "platform/win32/stream_adapter.h"
#include "setup/sync_engine.h"

namespace setup::win32 {

inline constexpr char kEngineProgId[] = "EPOCU.Symbian.SYNCH.ISYNCHU";

class DispatchSyncEngine final : public SyncEngine {
 public:
  explicit DispatchSyncEngine(platform::win32::ComPtr<IDispatch> engine)
      : engine_(std::move(engine)) {}

  // Each raises platform::AutomationError when the call fails.
  int32_t OpenControlFile(const std::u16string& path) override;
  void Close() override;
  // The first call for a block asks the engine; later ones hand back the same stream, so that a
  // commit writes each block into the stream it was read from. Raises platform::Exception when
  // the engine's answer is not a stream.
  platform::ByteStream& BlockStream(int16_t index) override;
  int32_t Save() override;

 private:
  platform::win32::DispatchObject engine_;
  // Blocks A, B and C; released before the engine.
  std::array<std::optional<platform::win32::StreamAdapter>, 3> streams_;
};

// Creates the host's engine object by its ProgID for each open; raises
// platform::AutomationError when it is not registered or cannot be created. The calling thread
// must be in an apartment.
SyncEngineFactory HostSyncEngines();

}  // namespace setup::win32
