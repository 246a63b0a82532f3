#include "tools/gwsync/groupwise_store.h"

#include "platform/exception.h"

namespace gwsync {

GroupWiseStore::GroupWiseStore(std::string file, platform::AutomationDate)
    : file_(std::move(file)) {
  // The simulator cannot keep its mailbox in a file yet, nor build a sample one: until it can,
  // a run without --store meets an empty mailbox.
  if (!file_.empty()) {
    throw platform::Exception("--store " + file_ +
                              ": the simulated GroupWise cannot keep its mailbox in a file yet");
  }
}

void GroupWiseStore::RegisterWith(platform::ObjectRegistry& registry) const {
  groupwise_.RegisterWith(registry);
}

void GroupWiseStore::SaveIfChanged() const {}

}  // namespace gwsync
