#pragma once

// GroupWise's automation objects over a Mailbox: the session ("NovellGroupWareSession"), the
// commander ("GroupWiseCommander") and everything reached from them (the account, its
// calendar folder and messages, appointments, tasks and notes, queries, address books, the
// mail folders with their mail and phone messages, recipients and attachments). Every member
// call is logged in the context as "Class.Member" and checked against its fault plan; the
// classes are Session, Commander, Account, Address (the owner, a sender), Folder (the calendar
// and the mail folders), Messages, Appointment, Task, Note, FormattedText, Query,
// QueryMessages, AddressBooks, AddressBook, AddressBookEntries, AddressBookEntry, Fields,
// Field, FieldDefinitions, FieldDefinition, AllFolders, Folders, EnclosingFolders,
// MessageList, Mail, PhoneMessage, DocumentReference, Recipients, Recipient, Attachments,
// Attachment, DocumentLibrary and Document.

#include <functional>
#include <memory>
#include <string_view>

#include "platform/automation_date.h"
#include "platform/code_page.h"
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
  // The code page of the 8-bit paths the host's file functions take, in which an attachment's
  // Save writes its file: the same the plug-in builds its paths in, so that it finds the file.
  // The portable backend's Windows-1252 unless the host says otherwise (gwsim.dll: the
  // system's ANSI code page).
  std::shared_ptr<const platform::CodePage> ansi = std::make_shared<platform::Windows1252>();
  // The post office's clock, which dates the mail Messages.Add and Send make: the machine's
  // local time when not given. A host with a day of its own (gwsync --today) sets it, so that
  // what a run writes is the same on every run.
  std::function<platform::AutomationDate()> now = nullptr;

  platform::Object CreateSession() const;
  platform::Object CreateCommander() const;
  // Makes the session and the commander creatable by their ProgIDs through the registry.
  void RegisterWith(platform::ObjectRegistry& registry) const;
};

}  // namespace sim
