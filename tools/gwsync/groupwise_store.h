#pragma once

// The simulated GroupWise a run of gwsync logs into, and the file it is kept in between runs.
// This is the one place that knows how the simulator keeps its mailbox.

#include <optional>
#include <string>

#include "platform/automation_date.h"
#include "platform/portable/object_registry.h"
#include "sim/groupwise/simulated_groupwise.h"
#include "sim/groupwise/store.h"

namespace gwsync {

class GroupWiseStore {
 public:
  // From `file` (one that does not exist yet is an empty mailbox, created by SaveIfChanged),
  // or, when `file` is empty, the built-in sample mailbox for `today`, which is never saved.
  // The post office's clock, which dates the mail a run sends, stands at `clock` when given
  // (a run with a day of its own writes the same mail each time), else it is the machine's.
  // Raises platform::Exception naming the file when it cannot be read.
  GroupWiseStore(const std::string& file, platform::AutomationDate today,
                 std::optional<platform::AutomationDate> clock = std::nullopt);

  // Makes GroupWise's objects creatable by their ProgIDs.
  void RegisterWith(platform::ObjectRegistry& registry) const;
  // Writes the mailbox back to its file when the run changed it, or when the file does not
  // exist yet.
  void SaveIfChanged();

 private:
  std::optional<sim::StoreFile> file_;
  sim::GroupWise groupwise_;
};

}  // namespace gwsync
