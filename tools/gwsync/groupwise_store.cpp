#include "tools/gwsync/groupwise_store.h"

#include "sim/groupwise/sample_mailbox.h"

namespace gwsync {

GroupWiseStore::GroupWiseStore(const std::string& file, platform::AutomationDate today,
                               std::optional<platform::AutomationDate> clock) {
  groupwise_.context->log.enabled = false;
  if (clock) groupwise_.now = [at = *clock] { return at; };
  if (file.empty()) {
    *groupwise_.mailbox = sim::BuildSampleMailbox(today);
    return;
  }
  file_.emplace(file);
  groupwise_.mailbox = file_->State();
}

void GroupWiseStore::RegisterWith(platform::ObjectRegistry& registry) const {
  groupwise_.RegisterWith(registry);
}

void GroupWiseStore::SaveIfChanged() {
  if (file_) file_->SaveIfChanged();
}

}  // namespace gwsync
