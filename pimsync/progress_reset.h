#pragma once

#include "framework/base_isync.h"
#include "framework/entry.h"
#include "framework/progress_reset.h"
#include "platform/exception.h"

namespace pimsync {

using framework::ProgressReset;

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
