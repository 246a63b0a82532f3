#pragma once

// The host's synchronization engine object ("EPOCU.Symbian.SYNCH.ISYNCHU") as the setup
// components use it: it opens a profile's control file, hands out a stream for each of the
// three setup blocks and saves the file. The host's object is reached through IDispatch by
// dispatch identifiers 1 to 4 (platform/win32 adapts it); tools and tests use a simulated one
// over a profile file.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/byte_stream.h"

namespace setup {

// Block indexes of BlockStream.
inline constexpr int16_t kBlockA = -1;
inline constexpr int16_t kBlockB = 0;
inline constexpr int16_t kBlockC = 1;

class SyncEngine {
 public:
  virtual ~SyncEngine() = default;
  // Dispatch identifier 1 (path, 0): opens the control file; 0 or more is success.
  virtual int32_t OpenControlFile(const std::u16string& path) = 0;
  // 2: closes, just before the object is released.
  virtual void Close() = 0;
  // 3: the stream of block A (kBlockA), B (kBlockB) or C (kBlockC). It lives as long as the
  // engine. Raises platform::Exception when the engine gives none.
  virtual platform::ByteStream& BlockStream(int16_t index) = 0;
  // 4: saves the control file; 0 is success.
  virtual int32_t Save() = 0;
};

// Creates an engine object; raises platform::Exception when none can be created (the host's
// engine is not installed).
using SyncEngineFactory = std::function<std::unique_ptr<SyncEngine>()>;

}  // namespace setup
