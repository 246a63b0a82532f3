#pragma once

// The state of a simulated GroupWise mailbox: what the automation objects of
// simulated_groupwise.h show and change, and what store.h keeps in a file between runs.
// Mail and phone messages have their classes here so that the query language knows them;
// their folders come with the e-mail plug-in.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation_date.h"
#include "sim/groupwise/indexed_list.h"

namespace sim {

enum class ItemClass { kAppointment, kTask, kNote, kMail, kPhoneMessage };

// GroupWise's class names: "GW.MESSAGE.APPOINTMENT", "GW.MESSAGE.TASK", ...
std::u16string_view ClassNameOf(ItemClass itemClass);
std::optional<ItemClass> ItemClassFromName(std::u16string_view className);
// Which classes Messages.Add creates in the calendar.
bool IsCalendarClass(ItemClass itemClass);

// Which of GroupWise's boxes an item lies in, as the query's BOX_TYPE names them.
enum class BoxType { kIncoming, kOutgoing, kPersonal, kDraft };
std::string_view BoxTypeName(BoxType box);  // "INCOMING", ...
std::optional<BoxType> BoxTypeFromName(std::string_view name);

// Members that only some classes have. The rest (MessageID, ClassName, Subject, BodyText,
// StartDate, Private, Personal, OnCalendar, FromText, Refresh, Delete) every item has.
enum class ClassField {
  kEndDate,
  kPlace,
  kDueDate,
  kAssignedDate,
  kCompleted,
  kTaskPriority,
  kTaskCategory
};
bool HasField(ItemClass itemClass, ClassField field);

struct CalendarItem {
  std::u16string messageId;
  ItemClass itemClass = ItemClass::kAppointment;
  BoxType boxType = BoxType::kPersonal;
  // False for an invitation the user has not accepted yet.
  bool accepted = true;
  // False for a group item someone else sent or assigned.
  bool personal = true;
  bool isPrivate = false;
  // Reading Private raises, as it does for items whose privacy GroupWise will only tell
  // through the commander.
  bool privateReadRaises = false;
  // Commander verbs ("ItemGetAttribute", "ItemSetAttribute") that answer 0 for this item.
  std::vector<std::string> failingTokens;
  std::u16string subject;
  std::u16string bodyText;
  std::u16string fromText;
  bool onCalendar = true;
  platform::AutomationDate startDate{};
  // Appointments only.
  platform::AutomationDate endDate{};
  std::u16string place;
  // Tasks only.
  platform::AutomationDate dueDate{};
  platform::AutomationDate assignedDate{};
  bool completed = false;
  int32_t taskPriority = 0;
  std::u16string taskCategory;
};

using Calendar = IndexedList<CalendarItem, &CalendarItem::messageId>;

// The standard field identifiers GroupWise gives an address book's text fields.
inline constexpr int32_t kDisplayNameFieldId = 805371934;

struct FieldDefinition {
  int32_t fieldId = 0;
  std::u16string name;  // the label in the user's language
};

struct EntryField {
  std::u16string name;
  int32_t fieldId = 0;
  std::u16string value;
};

struct BookEntry {
  // Identifies the entry for the objects of one run; not kept in the store.
  uint64_t key = 0;
  int32_t objType = 1;  // 1: a user; other numbers: groups and resources
  std::vector<EntryField> fields;
};

struct AddressBook {
  std::u16string name;
  std::vector<FieldDefinition> definitions;
  IndexedList<BookEntry, &BookEntry::key> entries;

  const FieldDefinition* FindDefinition(std::u16string_view name) const;
  // A new custom definition, with an identifier no other definition of the book has.
  // Raises platform::Exception when the name is taken.
  const FieldDefinition& AddDefinition(std::u16string_view name);
};

// The definitions a new book starts with: the standard fields with their US labels.
std::vector<FieldDefinition> StandardFieldDefinitions();

// What Login answers.
enum class LoginOutcome {
  kAccount,         // the account object
  kNoAccountNull,   // Null: GroupWise refused the user or the user cancelled
  kNoAccountEmpty,  // an empty value, the other way GroupWise reports no account
  kRaise,           // an automation error with loginError as its text
};

struct Mailbox {
  // Session settings.
  std::u16string fullName = u"GroupWise";
  int16_t majorVersion = 5;
  int16_t minorVersion = 5;
  LoginOutcome login = LoginOutcome::kAccount;
  std::u16string loginError = u"Login failed";
  // When set, a Login naming another user (ignoring case) gets no account; an empty user
  // name always means "whoever is logged in to GroupWise".
  std::u16string userId;
  // How many reads of a query's Completed answer false after Start.
  int queryPolls = 0;

  // The account.
  std::u16string ownerName = u"Test User";
  Calendar calendar;
  std::vector<AddressBook> addressBooks;
  int64_t nextMessageNumber = 1;

  // A new identity in GroupWise's style, never one in use; it stays the item's for good.
  std::u16string NewMessageId();
  CalendarItem* FindItem(std::u16string_view messageId);
  const CalendarItem* FindItem(std::u16string_view messageId) const;
  // Files `item` in the calendar under a new identity (NewMessageId).
  CalendarItem& AddNewItem(CalendarItem item);
  bool RemoveItem(std::u16string_view messageId);
  // The book of that name, without regard to case (SameTextIgnoringCase), as GroupWise finds
  // books: no two books differ only in case.
  AddressBook* FindBook(std::u16string_view name);
  // Whether address-book fields and field definitions have a FieldID. The GroupWise versions
  // whose "major.minor" sorts before "2.0" as plain text ("1.5", but also "10.0") have the old
  // object model, which knows fields by their labels only. The plug-in picks the model by that
  // same comparison of text, so the simulator shows the model the plug-in expects.
  bool HasFieldIds() const;
  // A key for a new address-book entry. Keys are not kept in the store, so taking one is no
  // change.
  uint64_t NewEntryKey() { return nextEntryKey_++; }

  // How many changes have been made to what the store keeps. A store file compares the count
  // with the one it last saved instead of comparing the whole mailbox, whose text costs more
  // than a read of it. AddNewItem and RemoveItem count themselves; whoever else changes the
  // mailbox through its members counts the change with NoteChange or Update. Only the
  // difference between two counts means anything, so filling a mailbox (loading it, the
  // sample) need not count.
  uint64_t Changes() const { return changes_; }
  void NoteChange() { ++changes_; }
  // Writes `value` into `slot`, a member of this mailbox, and counts a change when it differs.
  template <typename T, typename V>
  void Update(T& slot, V&& value) {
    if (slot == value) return;
    slot = std::forward<V>(value);
    NoteChange();
  }

 private:
  uint64_t nextEntryKey_ = 1;
  uint64_t changes_ = 0;
};

// ASCII letters compared without regard to case, everything else exactly.
bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace sim
