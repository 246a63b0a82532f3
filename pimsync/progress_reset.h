#pragma once

#include "framework/base_isync.h"
#include "framework/entry.h"
#include "platform/exception.h"

namespace pimsync {

// Puts the host's secondary progress line and bar back to rest when an operation ends, however
// it ends. A progress object that fails here has failed the operation already.
class ProgressReset {
 public:
  explicit ProgressReset(const framework::HostProgress& progress) : progress_(progress) {}
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
  framework::HostProgress progress_;
};

// The shape every write keeps: the progress put to rest before and after, and an entry that
// must hold something.
class WriteScope {
 public:
  WriteScope(const framework::HostProgress& progress, const framework::TEntry& entry)
      : reset_(progress) {
    progress.SetAppText("");
    progress.SetRange(0, 0);
    progress.SetValue(0);
    if (entry.Properties.Count() == 0) throw platform::Exception("The entry holds no properties");
  }

 private:
  ProgressReset reset_;
};

}  // namespace pimsync
