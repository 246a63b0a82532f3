#include "sim/groupwise/simulated_groupwise.h"

#include "sim/groupwise/objects.h"

namespace sim {

platform::Object GroupWise::CreateSession() const {
  return groupwise::MakeSession({context, mailbox, ansi, now});
}

platform::Object GroupWise::CreateCommander() const {
  return groupwise::MakeCommander({context, mailbox, ansi, now});
}

void GroupWise::RegisterWith(platform::ObjectRegistry& registry) const {
  registry.Register(std::string(kSessionProgId), [copy = *this] { return copy.CreateSession(); });
  registry.Register(std::string(kCommanderProgId),
                    [copy = *this] { return copy.CreateCommander(); });
}

}  // namespace sim
