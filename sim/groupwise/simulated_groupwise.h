#pragma once

// GroupWise's automation objects over a Mailbox: the session ("NovellGroupWareSession"), the
// account it logs into, the calendar folder, its message collection and the items in it.

#include <memory>

#include "platform/portable/object_registry.h"
#include "sim/common/sim_object.h"
#include "sim/groupwise/mailbox.h"

namespace sim {

inline constexpr std::string_view kSessionProgId = "NovellGroupWareSession";

// One simulated GroupWise: the mailbox and the log and fault plan its objects share.
struct GroupWise {
  std::shared_ptr<Mailbox> mailbox = std::make_shared<Mailbox>();
  std::shared_ptr<SimContext> context = std::make_shared<SimContext>();

  platform::Object CreateSession() const;
  // Makes the session creatable by its ProgID through the registry.
  void RegisterWith(platform::ObjectRegistry& registry) const;
};

}  // namespace sim
