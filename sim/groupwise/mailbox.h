#pragma once

// The state of a simulated GroupWise mailbox: what the automation objects of
// simulated_groupwise.h show and change, and what store.h keeps in a file between runs.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/automation_date.h"
#include "sim/groupwise/indexed_list.h"

namespace sim {

// A document reference is only ever met attached to a mail.
enum class ItemClass { kAppointment, kTask, kNote, kMail, kPhoneMessage, kDocumentReference };

// GroupWise's class names: "GW.MESSAGE.APPOINTMENT", "GW.MESSAGE.TASK", ...
std::u16string_view ClassNameOf(ItemClass itemClass);
std::optional<ItemClass> ItemClassFromName(std::u16string_view className);
// Which classes Messages.Add creates in the calendar.
bool IsCalendarClass(ItemClass itemClass);
// Which classes lie in the mail folders: mail and phone messages.
bool IsMailClass(ItemClass itemClass);

// Which of GroupWise's boxes an item lies in, as the query's BOX_TYPE names them.
enum class BoxType { kIncoming, kOutgoing, kPersonal, kDraft };
std::string_view BoxTypeName(BoxType box);  // "INCOMING", ...
std::optional<BoxType> BoxTypeFromName(std::string_view name);
// What an item's BoxType member answers: 1 incoming and 2 outgoing, the two numbers the
// e-mail plug-in tells apart; 3 personal and 4 draft.
int32_t BoxTypeNumber(BoxType box);

// Members that only some classes have. The rest (MessageID, ClassName, Subject, BodyText,
// StartDate, Private, Personal, OnCalendar, FromText, Refresh, Delete) every calendar item
// has; mail_objects.cpp lists what every mail-side item has.
enum class ClassField {
  kEndDate,
  kPlace,
  kDueDate,
  kAssignedDate,
  kCompleted,
  kTaskPriority,
  kTaskCategory,
  kCaller,    // a phone message's caller, number and seven flags
  kDocument,  // a document reference's library and document
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

// --- Mail ------------------------------------------------------------------------------------

// A message's sender: an address whose EmailAddress may be empty (FromText then holds it).
struct MailAddress {
  std::u16string displayName;
  std::u16string emailAddress;
};

// A part of a message (a recipient, an attachment) gets a key of its own when it is made, so
// that the objects of the others still find theirs when one is deleted before them. Keys are
// not kept in the store; a copied part keeps its key.
uint64_t NewPartKey();

// TargetType of a recipient.
inline constexpr int32_t kTo = 0;
inline constexpr int32_t kCc = 1;
inline constexpr int32_t kBc = 2;

// Resolved of a recipient: what Resolve made of its address. A recipient the store or a sample
// gives is kNotResolved unless it says otherwise.
inline constexpr int32_t kNotResolved = 0;     // Resolve has not been called
inline constexpr int32_t kUnknownAddress = 2;  // no known address has it
inline constexpr int32_t kResolved = 3;        // a known address: DisplayName is its name
inline constexpr int32_t kLargestResolved = 3;

struct Recipient {
  uint64_t key = NewPartKey();
  int32_t targetType = kTo;
  std::u16string displayName;
  std::u16string emailAddress;
  int32_t resolved = kNotResolved;
};

// An address Recipient.Resolve knows, found by its e-mail address without regard to case.
struct KnownAddress {
  std::u16string key;  // the e-mail address with its ASCII letters in upper case
  MailAddress address;
};

struct MailMessage;

// The item a message attachment holds: owned by its attachment and copied with it, so a copy
// of a mailbox shares nothing that can change.
class AttachedItem {
 public:
  AttachedItem() = default;
  explicit AttachedItem(MailMessage item);
  AttachedItem(const AttachedItem& other);
  AttachedItem& operator=(const AttachedItem& other);
  AttachedItem(AttachedItem&&) noexcept = default;
  AttachedItem& operator=(AttachedItem&&) noexcept = default;
  ~AttachedItem();

  MailMessage* get() const { return item_.get(); }
  explicit operator bool() const { return item_ != nullptr; }

 private:
  std::unique_ptr<MailMessage> item_;
};

// ObjType of an attachment: 0 unknown, 1 file, 2 message, 3 movie, 4 OLE embedded, 5 OLE
// linked, 6 sound.
inline constexpr int32_t kFileAttachment = 1;
inline constexpr int32_t kMessageAttachment = 2;
inline constexpr int32_t kLargestObjType = 6;

struct Attachment {
  uint64_t key = NewPartKey();
  int32_t objType = kFileAttachment;
  std::u16string fileName;
  std::u16string displayName;
  // What Save writes, for every kind but a message. Shared by the copies of a mailbox and never
  // changed, since an attachment can be several megabytes: an attachment that gets other bytes
  // gets another buffer. Null holds nothing.
  std::shared_ptr<const std::string> data;
  // A message attachment's item.
  AttachedItem item;
};

// A mail or phone message in the mail folders, or an item attached to one (which may be of any
// class). Members that only some classes have are used by those alone (HasField,
// IsCalendarClass); an attached item lies in no folder and has no read state of its own.
struct MailMessage {
  std::u16string messageId;  // may be empty for an attached item
  ItemClass itemClass = ItemClass::kMail;
  BoxType boxType = BoxType::kIncoming;
  // The folders that hold the message, in the order EnclosingFolders shows them. Change them
  // through the mailbox (Mailbox::NoteFiling), which keeps the folders' contents.
  std::vector<std::u16string> folders;
  // Change it through Mailbox::SetRead.
  bool read = false;
  int32_t priority = 2;
  platform::AutomationDate creationDate{};
  std::u16string subject;
  std::u16string bodyText;
  std::u16string fromText;
  MailAddress sender;
  std::vector<Recipient> recipients;
  std::vector<Attachment> attachments;
  // Appointments, tasks and notes (attached): their StartDate, and EndDate or DueDate.
  platform::AutomationDate startDate{};
  platform::AutomationDate endDate{};
  platform::AutomationDate dueDate{};
  // Phone messages.
  std::u16string callerName;
  std::u16string callerCompany;
  std::u16string phoneNumber;
  bool telephoned = false;
  bool willCall = false;
  bool wantsToSee = false;
  bool urgent = false;
  bool pleaseCall = false;
  bool returnedCall = false;
  bool cameToSee = false;
  // Document references: DocumentLibrary.Name and Document.Subject.
  std::u16string documentLibrary;
  std::u16string documentSubject;
};

// A folder of the account's folder tree. The mailbox folder (Account.MailBox) is one of the
// top-level folders; the calendar is not in the tree.
struct MailFolder {
  std::u16string folderId;
  std::u16string name;
  std::u16string parentId;                 // empty for a top-level folder
  std::vector<std::u16string> subfolders;  // ids, in the order Folders.Item shows them
};

// The id and name of a new mailbox's mailbox folder.
inline constexpr std::u16string_view kMailboxFolderId = u"SIM.DOM.PO.200.1.1";
inline constexpr std::u16string_view kMailboxFolderName = u"Mailbox";

// What Login answers.
enum class LoginOutcome {
  kAccount,         // the account object
  kNoAccountNull,   // Null: GroupWise refused the user or the user cancelled
  kNoAccountEmpty,  // an empty value, the other way GroupWise reports no account
  kRaise,           // an automation error with loginError as its text
};

struct Mailbox {
  // An empty mailbox: no items, no books, and of folders only the mailbox folder
  // (kMailboxFolderId, "Mailbox").
  Mailbox();

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
  // Owner.EmailAddress, and the Sender of the mail Send makes. Empty: the owner has none, as in
  // the stores written before the simulator sent mail.
  std::u16string ownerEmailAddress;
  // What Recipient.Resolve resolves to, in the order the store keeps them.
  IndexedList<KnownAddress, &KnownAddress::key> knownAddresses;
  Calendar calendar;
  std::vector<AddressBook> addressBooks;
  int64_t nextMessageNumber = 1;
  // The account's PathToHost: where its post office is.
  std::u16string pathToHost = u"gwpo.example.com:1677";
  // Every folder by its id; the top-level ones in order; which of them is the mailbox.
  IndexedList<MailFolder, &MailFolder::folderId> folders;
  std::vector<std::u16string> topFolders;
  std::u16string mailboxFolderId;
  int64_t nextFolderNumber = 1;
  // Mail and phone messages, each in one folder or more, in the order a folder shows them.
  IndexedList<MailMessage, &MailMessage::messageId> messages;

  // A new identity in GroupWise's style, never one in use by an item or a message; it stays
  // the item's for good.
  std::u16string NewMessageId();
  CalendarItem* FindItem(std::u16string_view messageId);
  const CalendarItem* FindItem(std::u16string_view messageId) const;
  MailMessage* FindMessage(std::u16string_view messageId);
  bool RemoveMessage(std::u16string_view messageId);
  // Files `message` in the folders it names under a new identity (NewMessageId). Counts a change.
  MailMessage& AddNewMessage(MailMessage message);
  // Sends `draft`: a new message, its sent copy, in the mailbox folder, from the owner, dated
  // `now`, and the draft is gone. Raises platform::Exception, leaving everything as it was, when
  // `draft` is no draft or has no recipient.
  MailMessage& SendDraft(MailMessage& draft, platform::AutomationDate now);
  // Files `message` in folder `to` instead of `from`, where it keeps its place among the
  // folders that hold it; a message in both is left in `to` alone. Raises platform::Exception
  // when the message is not in `from` or `to` is no folder.
  void MoveMessage(MailMessage& message, const std::u16string& from, const std::u16string& to);
  // The known address of that e-mail address, without regard to the case of ASCII letters
  // (SameTextIgnoringCase), or none.
  const MailAddress* FindKnownAddress(std::u16string_view emailAddress) const;
  // Raises platform::Exception when the e-mail address is empty or known already in any case.
  void AddKnownAddress(MailAddress address);
  // Files `item` in the calendar under a new identity (NewMessageId).
  CalendarItem& AddNewItem(CalendarItem item);
  bool RemoveItem(std::u16string_view messageId);
  // The book of that name, without regard to case (SameTextIgnoringCase), as GroupWise finds
  // books: no two books differ only in case.
  AddressBook* FindBook(std::u16string_view name);

  // A new folder id in GroupWise's style ("SIM.DOM.PO.200.<n>.1"), never one in use.
  std::u16string NewFolderId();
  MailFolder* FindFolder(std::u16string_view folderId);
  const MailFolder* FindFolder(std::u16string_view folderId) const;
  // A new folder named `name` under `parent`, or at the top level for none. Counts a change.
  // Raises platform::Exception when the name is empty or a sibling has it already (without
  // regard to case).
  MailFolder& AddFolder(std::u16string_view name, const MailFolder* parent);
  // The folder of that name among `parent`'s subfolders (the top-level ones for none),
  // without regard to case.
  MailFolder* FindSubfolder(const MailFolder* parent, std::u16string_view name);

  // The messages `folderId` holds, in the order of `messages`. Kept from one call to the next
  // until a message is added, deleted or filed elsewhere, so a controller's loop over a folder
  // stays linear; the pointers are good until then.
  const std::vector<MailMessage*>& FolderContents(const std::u16string& folderId);
  // A message's folders were changed in place.
  void NoteFiling() {
    ++filings_;
    NoteChange();
  }

  // Marks a message read or unread. A message marked back to what it was when the mailbox was
  // last saved (ReadStatesSaved) is no change: reading a message marks it read, and the e-mail
  // plug-in marks it back, so a run that only reads need not write the store.
  void SetRead(MailMessage& message, bool read);
  bool ReadStatesChanged() const { return !readFlipped_.empty(); }
  void ReadStatesSaved() { readFlipped_.clear(); }

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
  // FolderContents' lists. A copied or moved mailbox starts without: the pointers would be
  // the other mailbox's.
  struct ContentsCache {
    ContentsCache() = default;
    ContentsCache(const ContentsCache&) {}
    ContentsCache& operator=(const ContentsCache&) {
      Clear();
      return *this;
    }
    ContentsCache(ContentsCache&&) noexcept {}
    ContentsCache& operator=(ContentsCache&&) noexcept {
      Clear();
      return *this;
    }
    ~ContentsCache() = default;
    void Clear() {
      lists.clear();
      valid = false;
    }
    std::unordered_map<std::u16string, std::vector<MailMessage*>> lists;
    bool valid = false;
    uint64_t generation = 0;
    std::size_t size = 0;
    uint64_t filings = 0;
  };

  uint64_t nextEntryKey_ = 1;
  uint64_t changes_ = 0;
  uint64_t filings_ = 0;
  ContentsCache contents_;
  // The messages whose read state differs from the one last saved.
  std::unordered_set<std::u16string> readFlipped_;
};

// ASCII letters compared without regard to case, everything else exactly.
bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace sim
