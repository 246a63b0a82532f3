#pragma once

// GroupWise's automation objects over a Mailbox: the session ("NovellGroupWareSession"), the
// commander ("GroupWiseCommander") and everything reached from them (the account, its
// calendar folder and messages, appointments, tasks and notes, queries, address books).
// Every member call is logged in the context as "Class.Member" and checked against its fault
// plan; the classes are Session, Commander, Account, Address (the owner), Folder, Messages,
// Appointment, Task, Note, FormattedText, Query, QueryMessages, AddressBooks, AddressBook,
// AddressBookEntries, AddressBookEntry, Fields, Field, FieldDefinitions and FieldDefinition.

#include <memory>
#include <string_view>

#include "platform/portable/object_registry.h"
#include "sim/common/sim_object.h"
#include "sim/groupwise/mailbox.h"

namespace sim {

inline constexpr std::string_view kSessionProgId = "NovellGroupWareSession";
inline constexpr std::string_view kCommanderProgId = "GroupWiseCommander";

// One simulated GroupWise: the mailbox and the log and fault plan its objects share. Copies
// share both.
struct GroupWise {
  std::shared_ptr<Mailbox> mailbox = std::make_shared<Mailbox>();
  std::shared_ptr<SimContext> context = std::make_shared<SimContext>();

  platform::Object CreateSession() const;
  platform::Object CreateCommander() const;
  // Makes the session and the commander creatable by their ProgIDs through the registry.
  void RegisterWith(platform::ObjectRegistry& registry) const;
};

}  // namespace sim
