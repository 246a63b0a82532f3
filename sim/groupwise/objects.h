#pragma once

// Inside the simulated GroupWise: how its automation objects make one another. Every object
// holds the mailbox and the shared log and fault plan, and finds its state in the mailbox on
// each call, so an object whose item was deleted fails instead of showing stale data.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/automation.h"
#include "platform/automation_date.h"
#include "platform/code_page.h"
#include "sim/common/sim_object.h"
#include "sim/groupwise/mailbox.h"

namespace sim::groupwise {

struct Shared {
  std::shared_ptr<SimContext> context;
  std::shared_ptr<Mailbox> mailbox;
  // How a path given as automation text becomes the 8-bit path of the file functions
  // (GroupWise::ansi); Windows-1252 when not given.
  std::shared_ptr<const platform::CodePage> ansi;
  // GroupWise::now; the machine's local time when not given.
  std::function<platform::AutomationDate()> now = nullptr;
};

// The time GroupWise dates a new message with, in whole seconds as the store keeps dates, so
// that a message saved and loaded again has the date it had.
platform::AutomationDate Now(const Shared& shared);

// The failure GroupWise reports from inside a member (DISP_E_EXCEPTION with its text).
[[noreturn]] void Raise(std::string_view member, std::string_view text);

// How items show in the call log and the fault plan: "Appointment", "Task", "Note", ...
std::string LogClassOf(ItemClass itemClass);

platform::Object MakeSession(const Shared& shared);
platform::Object MakeCommander(const Shared& shared);
platform::Object MakeAccount(const Shared& shared);
// The object of `item`, an item of shared.mailbox's calendar.
platform::Object MakeItem(const Shared& shared, CalendarItem& item);
platform::Object MakeQuery(const Shared& shared);
platform::Object MakeAddressBooks(const Shared& shared);
// Mail: a folder of shared.mailbox, all of them, and a message of shared.mailbox.messages.
platform::Object MakeFolder(const Shared& shared, const MailFolder& folder);
platform::Object MakeAllFolders(const Shared& shared);
platform::Object MakeMessage(const Shared& shared, MailMessage& message);

}  // namespace sim::groupwise
