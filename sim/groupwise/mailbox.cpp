#include "sim/groupwise/mailbox.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <string>

#include "platform/exception.h"

namespace sim {
namespace {

struct ClassInfo {
  ItemClass itemClass;
  std::u16string_view name;
};
constexpr std::array<ClassInfo, 6> kClasses = {{
    {ItemClass::kAppointment, u"GW.MESSAGE.APPOINTMENT"},
    {ItemClass::kTask, u"GW.MESSAGE.TASK"},
    {ItemClass::kNote, u"GW.MESSAGE.NOTE"},
    {ItemClass::kMail, u"GW.MESSAGE.MAIL"},
    {ItemClass::kPhoneMessage, u"GW.MESSAGE.PHONE"},
    {ItemClass::kDocumentReference, u"GW.MESSAGE.DOCUMENTREFERENCE"},
}};

constexpr std::array<std::string_view, 4> kBoxNames = {"INCOMING", "OUTGOING", "PERSONAL", "DRAFT"};

// Custom fields get identifiers of the same shape as the standard ones (a text property tag,
// low word 0x001E) from a range the standard fields do not use.
constexpr int32_t kFirstCustomFieldId = 0x7F00001E;
constexpr int32_t kCustomFieldIdStep = 0x10000;

char16_t FoldAscii(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// What SameTextIgnoringCase compares, as a key: equal keys for texts it takes for the same.
std::u16string FoldedAscii(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded)
    c = FoldAscii(c);
  return folded;
}

}  // namespace

std::u16string_view ClassNameOf(ItemClass itemClass) {
  for (const ClassInfo& info : kClasses) {
    if (info.itemClass == itemClass) return info.name;
  }
  return u"";
}

std::optional<ItemClass> ItemClassFromName(std::u16string_view className) {
  for (const ClassInfo& info : kClasses) {
    if (SameTextIgnoringCase(info.name, className)) return info.itemClass;
  }
  return std::nullopt;
}

bool IsCalendarClass(ItemClass itemClass) {
  return itemClass == ItemClass::kAppointment || itemClass == ItemClass::kTask ||
         itemClass == ItemClass::kNote;
}

bool IsMailClass(ItemClass itemClass) {
  return itemClass == ItemClass::kMail || itemClass == ItemClass::kPhoneMessage;
}

int32_t BoxTypeNumber(BoxType box) {
  return static_cast<int32_t>(box) + 1;
}

std::string_view BoxTypeName(BoxType box) {
  return kBoxNames[static_cast<std::size_t>(box)];
}

std::optional<BoxType> BoxTypeFromName(std::string_view name) {
  for (std::size_t i = 0; i < kBoxNames.size(); ++i) {
    if (kBoxNames[i] == name) return static_cast<BoxType>(i);
  }
  return std::nullopt;
}

bool HasField(ItemClass itemClass, ClassField field) {
  switch (field) {
    case ClassField::kEndDate:
    case ClassField::kPlace:
      return itemClass == ItemClass::kAppointment;
    case ClassField::kDueDate:
    case ClassField::kAssignedDate:
    case ClassField::kCompleted:
    case ClassField::kTaskPriority:
    case ClassField::kTaskCategory:
      return itemClass == ItemClass::kTask;
    case ClassField::kCaller:
      return itemClass == ItemClass::kPhoneMessage;
    case ClassField::kDocument:
      return itemClass == ItemClass::kDocumentReference;
  }
  return false;
}

uint64_t NewPartKey() {
  static std::atomic<uint64_t> next{1};
  return next++;
}

AttachedItem::AttachedItem(MailMessage item)
    : item_(std::make_unique<MailMessage>(std::move(item))) {}

AttachedItem::AttachedItem(const AttachedItem& other)
    : item_(other.item_ ? std::make_unique<MailMessage>(*other.item_) : nullptr) {}

AttachedItem& AttachedItem::operator=(const AttachedItem& other) {
  if (this != &other) item_ = other.item_ ? std::make_unique<MailMessage>(*other.item_) : nullptr;
  return *this;
}

AttachedItem::~AttachedItem() = default;

bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

const FieldDefinition* AddressBook::FindDefinition(std::u16string_view wanted) const {
  for (const FieldDefinition& definition : definitions) {
    if (SameTextIgnoringCase(definition.name, wanted)) return &definition;
  }
  return nullptr;
}

const FieldDefinition& AddressBook::AddDefinition(std::u16string_view wanted) {
  if (FindDefinition(wanted)) {
    throw platform::Exception("The address book already defines a field of that name");
  }
  int32_t fieldId = kFirstCustomFieldId;
  for (const FieldDefinition& definition : definitions) {
    if (definition.fieldId >= fieldId) {
      if (definition.fieldId > INT32_MAX - kCustomFieldIdStep) {
        throw platform::Exception("The address book has no room for another custom field");
      }
      fieldId = definition.fieldId + kCustomFieldIdStep;
    }
  }
  definitions.push_back({fieldId, std::u16string(wanted)});
  return definitions.back();
}

std::vector<FieldDefinition> StandardFieldDefinitions() {
  return {
      {805371934, u"Display Name"},
      {973471774, u"First Name"},
      {974192670, u"Last Name"},
      {805437470, u"E-Mail Type"},
      {805503006, u"E-Mail Address"},
      {974520350, u"Organization"},
      {974585886, u"Title"},
      {974651422, u"Department"},
      {974716958, u"Office"},
      {975568926, u"Country"},
      {975634462, u"City"},
      {975699998, u"State"},
      {975765534, u"Address"},
      {975831070, u"ZIP Code"},
      {1611333662, u"Prefix"},
      {973602846, u"Office Phone Number"},
      {973668382, u"Home Phone Number"},
      {974913566, u"Mobile Phone Number"},
      {975372318, u"Fax Number"},
      {805568542, u"Comments"},
  };
}

Mailbox::Mailbox() {
  MailFolder mailbox;
  mailbox.folderId = kMailboxFolderId;
  mailbox.name = kMailboxFolderName;
  folders.push_back(std::move(mailbox));
  topFolders.emplace_back(kMailboxFolderId);
  mailboxFolderId = kMailboxFolderId;
  nextFolderNumber = 2;
}

namespace {

// "SIM.DOM.PO.<kind>.<number>.1"; messages are of kind 100, folders of kind 200.
std::u16string NumberedId(std::u16string_view kind, int64_t number) {
  const std::string digits = std::to_string(number);
  std::u16string id = u"SIM.DOM.PO.";
  id.append(kind);
  id += u'.';
  id.append(digits.begin(), digits.end());
  id += u".1";
  return id;
}

}  // namespace

std::u16string Mailbox::NewMessageId() {
  for (;;) {
    std::u16string id = NumberedId(u"100", nextMessageNumber++);
    if (!calendar.Contains(id) && !messages.Contains(id)) return id;
  }
}

MailMessage* Mailbox::FindMessage(std::u16string_view messageId) {
  return messages.Find(std::u16string(messageId));
}

bool Mailbox::RemoveMessage(std::u16string_view messageId) {
  const std::u16string id(messageId);
  if (!messages.Erase(id)) return false;
  readFlipped_.erase(id);
  NoteChange();
  return true;
}

MailMessage& Mailbox::AddNewMessage(MailMessage message) {
  message.messageId = NewMessageId();
  MailMessage& added = messages.push_back(std::move(message));
  NoteChange();
  return added;
}

MailMessage& Mailbox::SendDraft(MailMessage& draft, platform::AutomationDate now) {
  if (draft.boxType != BoxType::kDraft) throw platform::Exception("Only a draft can be sent");
  if (draft.recipients.empty()) throw platform::Exception("No recipients");
  // The sent copy is a new item: GroupWise gives what it sends an identity of its own.
  MailMessage sent = draft;
  sent.boxType = BoxType::kOutgoing;
  sent.folders = {mailboxFolderId};
  sent.read = true;
  sent.creationDate = now;
  sent.sender = {ownerName, ownerEmailAddress};
  sent.fromText = ownerName;
  const std::u16string draftId = draft.messageId;
  MailMessage& added = AddNewMessage(std::move(sent));
  RemoveMessage(draftId);
  return added;
}

void Mailbox::MoveMessage(MailMessage& message, const std::u16string& from,
                          const std::u16string& to) {
  auto at = std::find(message.folders.begin(), message.folders.end(), from);
  if (at == message.folders.end()) throw platform::Exception("The message is not in this folder");
  if (!FindFolder(to)) throw platform::Exception("No folder has the id of the destination");
  if (from == to) return;
  if (std::find(message.folders.begin(), message.folders.end(), to) != message.folders.end()) {
    message.folders.erase(at);
  } else {
    *at = to;
  }
  NoteFiling();
}

const MailAddress* Mailbox::FindKnownAddress(std::u16string_view emailAddress) const {
  const KnownAddress* known = knownAddresses.Find(FoldedAscii(emailAddress));
  return known ? &known->address : nullptr;
}

void Mailbox::AddKnownAddress(MailAddress address) {
  if (address.emailAddress.empty()) throw platform::Exception("A known address cannot be empty");
  std::u16string key = FoldedAscii(address.emailAddress);
  if (knownAddresses.Contains(key)) throw platform::Exception("The address is known already");
  knownAddresses.push_back({std::move(key), std::move(address)});
}

std::u16string Mailbox::NewFolderId() {
  for (;;) {
    std::u16string id = NumberedId(u"200", nextFolderNumber++);
    if (!folders.Contains(id)) return id;
  }
}

MailFolder* Mailbox::FindFolder(std::u16string_view folderId) {
  return folders.Find(std::u16string(folderId));
}

const MailFolder* Mailbox::FindFolder(std::u16string_view folderId) const {
  return folders.Find(std::u16string(folderId));
}

MailFolder* Mailbox::FindSubfolder(const MailFolder* parent, std::u16string_view name) {
  for (const std::u16string& id : parent ? parent->subfolders : topFolders) {
    MailFolder* folder = FindFolder(id);
    if (folder && SameTextIgnoringCase(folder->name, name)) return folder;
  }
  return nullptr;
}

MailFolder& Mailbox::AddFolder(std::u16string_view name, const MailFolder* parent) {
  if (name.empty()) throw platform::Exception("A folder needs a name");
  if (FindSubfolder(parent, name)) {
    throw platform::Exception("A folder of that name is there already");
  }
  MailFolder folder;
  folder.folderId = NewFolderId();
  folder.name = name;
  if (parent) folder.parentId = parent->folderId;
  const std::u16string id = folder.folderId;
  MailFolder& added = folders.push_back(std::move(folder));
  if (parent) {
    FindFolder(added.parentId)->subfolders.push_back(id);
  } else {
    topFolders.push_back(id);
  }
  NoteChange();
  return added;
}

const std::vector<MailMessage*>& Mailbox::FolderContents(const std::u16string& folderId) {
  ContentsCache& cache = contents_;
  if (!cache.valid || cache.generation != messages.Generation() || cache.size != messages.size() ||
      cache.filings != filings_) {
    cache.Clear();
    for (MailMessage& message : messages) {
      for (const std::u16string& folder : message.folders)
        cache.lists[folder].push_back(&message);
    }
    cache.valid = true;
    cache.generation = messages.Generation();
    cache.size = messages.size();
    cache.filings = filings_;
  }
  static const std::vector<MailMessage*> kNone;
  auto found = cache.lists.find(folderId);
  return found == cache.lists.end() ? kNone : found->second;
}

void Mailbox::SetRead(MailMessage& message, bool read) {
  if (message.read == read) return;
  message.read = read;
  if (!readFlipped_.erase(message.messageId)) readFlipped_.insert(message.messageId);
}

CalendarItem* Mailbox::FindItem(std::u16string_view messageId) {
  return calendar.Find(std::u16string(messageId));
}

const CalendarItem* Mailbox::FindItem(std::u16string_view messageId) const {
  return calendar.Find(std::u16string(messageId));
}

CalendarItem& Mailbox::AddNewItem(CalendarItem item) {
  item.messageId = NewMessageId();
  CalendarItem& added = calendar.push_back(std::move(item));
  NoteChange();
  return added;
}

bool Mailbox::RemoveItem(std::u16string_view messageId) {
  if (!calendar.Erase(std::u16string(messageId))) return false;
  NoteChange();
  return true;
}

bool Mailbox::HasFieldIds() const {
  const std::string version = std::to_string(majorVersion) + "." + std::to_string(minorVersion);
  return version >= "2.0";
}

AddressBook* Mailbox::FindBook(std::u16string_view name) {
  for (AddressBook& book : addressBooks) {
    if (SameTextIgnoringCase(book.name, name)) return &book;
  }
  return nullptr;
}

}  // namespace sim
