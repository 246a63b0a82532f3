#pragma once

#include "framework/host_progress.h"

namespace framework {

// Puts the host's secondary progress line and bar back to rest when an operation ends, however
// it ends. A progress object that fails here has failed the operation already.
class ProgressReset {
 public:
  explicit ProgressReset(const HostProgress& progress) : progress_(progress) {}
  ~ProgressReset() {
    try {
      progress_.SetAppText("");
      progress_.SetRange(0, 0);
      progress_.SetValue(0);
    } catch (const std::exception&) {
      // Nothing more to tell the host: the operation's own result stands.
    }
  }
  ProgressReset(const ProgressReset&) = delete;
  ProgressReset& operator=(const ProgressReset&) = delete;

 private:
  HostProgress progress_;
};

}  // namespace framework
