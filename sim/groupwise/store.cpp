#include "sim/groupwise/store.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <limits>
#include <memory>

#include "platform/file_io.h"
#include "sim/common/json.h"

namespace sim {
namespace {

constexpr std::string_view kFormat = "groupwise-store";
constexpr int kVersion = 1;

constexpr std::array<std::pair<LoginOutcome, std::string_view>, 4> kLoginWords = {{
    {LoginOutcome::kAccount, "account"},
    {LoginOutcome::kNoAccountNull, "null"},
    {LoginOutcome::kNoAccountEmpty, "empty"},
    {LoginOutcome::kRaise, "raise"},
}};

// --- Writing ---------------------------------------------------------------------------------

json::Value Text(std::u16string_view text) {
  return json::Value(json::Utf16ToUtf8(text));
}

json::Value Date(platform::AutomationDate date) {
  const platform::CivilDateTime c = platform::DecodeAutomationDate(date);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day,
                c.hour, c.minute, c.second);
  return json::Value(buffer);
}

json::Value ItemToJson(const CalendarItem& item) {
  json::Object out;
  auto put = [&](const char* key, json::Value value) { out.emplace_back(key, std::move(value)); };
  put("messageId", Text(item.messageId));
  put("className", Text(ClassNameOf(item.itemClass)));
  put("boxType", json::Value(std::string(BoxTypeName(item.boxType))));
  put("accepted", item.accepted);
  put("personal", item.personal);
  put("private", item.isPrivate);
  put("privateReadRaises", item.privateReadRaises);
  json::Array failing;
  for (const std::string& verb : item.failingTokens)
    failing.emplace_back(verb);
  put("failingTokens", json::Value(std::move(failing)));
  put("subject", Text(item.subject));
  put("bodyText", Text(item.bodyText));
  put("fromText", Text(item.fromText));
  put("onCalendar", item.onCalendar);
  put("startDate", Date(item.startDate));
  if (HasField(item.itemClass, ClassField::kEndDate)) put("endDate", Date(item.endDate));
  if (HasField(item.itemClass, ClassField::kPlace)) put("place", Text(item.place));
  if (HasField(item.itemClass, ClassField::kDueDate)) put("dueDate", Date(item.dueDate));
  if (HasField(item.itemClass, ClassField::kAssignedDate)) {
    put("assignedDate", Date(item.assignedDate));
  }
  if (HasField(item.itemClass, ClassField::kCompleted)) put("completed", item.completed);
  if (HasField(item.itemClass, ClassField::kTaskPriority)) put("taskPriority", item.taskPriority);
  if (HasField(item.itemClass, ClassField::kTaskCategory)) {
    put("taskCategory", Text(item.taskCategory));
  }
  return json::Value(std::move(out));
}

constexpr std::string_view kBase64Digits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Attachments can be megabytes, so the bytes are coded straight into a buffer of the final
// size.
std::string Base64(std::string_view bytes) {
  std::string out((bytes.size() + 2) / 3 * 4, '=');
  const char* const digits = kBase64Digits.data();
  char* to = out.data();
  const auto* from = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t whole = bytes.size() / 3 * 3;
  for (std::size_t i = 0; i < whole; i += 3, to += 4) {
    const uint32_t group = uint32_t{from[i]} << 16 | uint32_t{from[i + 1]} << 8 | from[i + 2];
    to[0] = digits[group >> 18];
    to[1] = digits[(group >> 12) & 0x3F];
    to[2] = digits[(group >> 6) & 0x3F];
    to[3] = digits[group & 0x3F];
  }
  if (const std::size_t rest = bytes.size() - whole; rest > 0) {
    uint32_t group = uint32_t{from[whole]} << 16;
    if (rest == 2) group |= uint32_t{from[whole + 1]} << 8;
    to[0] = digits[group >> 18];
    to[1] = digits[(group >> 12) & 0x3F];
    if (rest == 2) to[2] = digits[(group >> 6) & 0x3F];
  }
  return out;
}

json::Value MessageToJson(const MailMessage& message, bool filed);

json::Value AttachmentToJson(const Attachment& attachment) {
  json::Object out{
      {"objType", attachment.objType},
      {"fileName", Text(attachment.fileName)},
      {"displayName", Text(attachment.displayName)},
  };
  if (attachment.objType == kMessageAttachment) {
    out.emplace_back("item", MessageToJson(*attachment.item.get(), false));
  } else {
    out.emplace_back("data", Base64(attachment.data ? *attachment.data : std::string()));
  }
  return json::Value(std::move(out));
}

json::Value MessageToJson(const MailMessage& message, bool filed) {
  json::Object out;
  auto put = [&](const char* key, json::Value value) { out.emplace_back(key, std::move(value)); };
  if (filed || !message.messageId.empty()) put("messageId", Text(message.messageId));
  put("className", Text(ClassNameOf(message.itemClass)));
  put("boxType", json::Value(std::string(BoxTypeName(message.boxType))));
  if (filed) {
    json::Array folders;
    for (const std::u16string& folder : message.folders)
      folders.push_back(Text(folder));
    put("folders", json::Value(std::move(folders)));
    put("read", message.read);
  }
  put("priority", message.priority);
  put("creationDate", Date(message.creationDate));
  put("subject", Text(message.subject));
  put("bodyText", Text(message.bodyText));
  put("fromText", Text(message.fromText));
  put("sender", json::Object{{"displayName", Text(message.sender.displayName)},
                             {"emailAddress", Text(message.sender.emailAddress)}});
  json::Array recipients;
  for (const Recipient& recipient : message.recipients) {
    json::Object out{{"targetType", recipient.targetType},
                     {"displayName", Text(recipient.displayName)},
                     {"emailAddress", Text(recipient.emailAddress)}};
    // Only what Resolve made: the recipients of the stores written before keep their bytes.
    if (recipient.resolved != kNotResolved) out.emplace_back("resolved", recipient.resolved);
    recipients.emplace_back(std::move(out));
  }
  put("recipients", json::Value(std::move(recipients)));
  json::Array attachments;
  for (const Attachment& attachment : message.attachments)
    attachments.push_back(AttachmentToJson(attachment));
  put("attachments", json::Value(std::move(attachments)));
  if (IsCalendarClass(message.itemClass)) put("startDate", Date(message.startDate));
  if (HasField(message.itemClass, ClassField::kEndDate)) put("endDate", Date(message.endDate));
  if (HasField(message.itemClass, ClassField::kDueDate)) put("dueDate", Date(message.dueDate));
  if (HasField(message.itemClass, ClassField::kCaller)) {
    put("callerName", Text(message.callerName));
    put("callerCompany", Text(message.callerCompany));
    put("phoneNumber", Text(message.phoneNumber));
    put("telephoned", message.telephoned);
    put("willCall", message.willCall);
    put("wantsToSee", message.wantsToSee);
    put("urgent", message.urgent);
    put("pleaseCall", message.pleaseCall);
    put("returnedCall", message.returnedCall);
    put("cameToSee", message.cameToSee);
  }
  if (HasField(message.itemClass, ClassField::kDocument)) {
    put("documentLibrary", Text(message.documentLibrary));
    put("documentSubject", Text(message.documentSubject));
  }
  return json::Value(std::move(out));
}

json::Value FolderToJson(const Mailbox& mailbox, const MailFolder& folder) {
  json::Array subfolders;
  for (const std::u16string& id : folder.subfolders)
    subfolders.push_back(FolderToJson(mailbox, *mailbox.FindFolder(id)));
  return json::Value(json::Object{{"folderId", Text(folder.folderId)},
                                  {"name", Text(folder.name)},
                                  {"folders", json::Value(std::move(subfolders))}});
}

// A mailbox without mail keeps the store of one that never had any, so that stores of
// calendars and address books read and write as they always did.
bool HasMail(const Mailbox& mailbox) {
  static const Mailbox kFresh;
  if (!mailbox.messages.empty() || mailbox.folders.size() != 1) return true;
  const MailFolder& only = *mailbox.folders.begin();
  return mailbox.pathToHost != kFresh.pathToHost ||
         mailbox.nextFolderNumber != kFresh.nextFolderNumber ||
         mailbox.mailboxFolderId != kFresh.mailboxFolderId ||
         mailbox.topFolders != kFresh.topFolders || only.folderId != kMailboxFolderId ||
         only.name != kMailboxFolderName || !only.subfolders.empty();
}

json::Value MailToJson(const Mailbox& mailbox) {
  json::Array folders;
  for (const std::u16string& id : mailbox.topFolders)
    folders.push_back(FolderToJson(mailbox, *mailbox.FindFolder(id)));
  json::Array messages;
  for (const MailMessage& message : mailbox.messages)
    messages.push_back(MessageToJson(message, true));
  return json::Value(json::Object{
      {"pathToHost", Text(mailbox.pathToHost)},
      {"nextFolderNumber", mailbox.nextFolderNumber},
      {"mailboxFolder", Text(mailbox.mailboxFolderId)},
      {"folders", json::Value(std::move(folders))},
      {"messages", json::Value(std::move(messages))},
  });
}

json::Value BookToJson(const AddressBook& book) {
  json::Array definitions;
  for (const FieldDefinition& definition : book.definitions) {
    definitions.emplace_back(
        json::Object{{"fieldId", definition.fieldId}, {"name", Text(definition.name)}});
  }
  json::Array entries;
  for (const BookEntry& entry : book.entries) {
    json::Array fields;
    for (const EntryField& field : entry.fields) {
      fields.emplace_back(json::Object{
          {"name", Text(field.name)}, {"fieldId", field.fieldId}, {"value", Text(field.value)}});
    }
    entries.emplace_back(
        json::Object{{"objType", entry.objType}, {"fields", json::Value(std::move(fields))}});
  }
  return json::Value(json::Object{{"name", Text(book.name)},
                                  {"fieldDefinitions", json::Value(std::move(definitions))},
                                  {"entries", json::Value(std::move(entries))}});
}

// --- Reading ---------------------------------------------------------------------------------

// Reads the parsed document, pointing every fault at its place in the text.
class Reader {
 public:
  Reader(std::string_view text, const std::string& file) : text_(text), file_(file) {}

  [[noreturn]] void Fail(const json::Value& at, const std::string& detail) const {
    const json::Location where = json::LocationOf(text_, at.Offset());
    throw StoreError(file_, where.line, where.column, detail);
  }

  // The object's members must be among `allowed`; returns the object for convenience.
  const json::Object& Members(const json::Value& value, std::string_view what,
                              std::initializer_list<std::string_view> allowed) const {
    if (value.GetKind() != json::Value::Kind::kObject) {
      Fail(value, std::string(what) + " must be an object");
    }
    for (const auto& [name, member] : value.AsObject()) {
      bool known = false;
      for (std::string_view candidate : allowed)
        known = known || candidate == name;
      if (!known) Fail(member, "unknown member \"" + name + "\" in " + std::string(what));
    }
    return value.AsObject();
  }

  const json::Value* Optional(const json::Value& object, std::string_view key) const {
    return object.Find(key);
  }
  const json::Value& Required(const json::Value& object, std::string_view key,
                              std::string_view what) const {
    const json::Value* found = object.Find(key);
    if (!found) Fail(object, std::string(what) + " needs the member \"" + std::string(key) + "\"");
    return *found;
  }

  std::u16string Text(const json::Value& value) const {
    if (value.GetKind() != json::Value::Kind::kString) Fail(value, "expected a text");
    std::u16string wide;
    if (!json::Utf8ToUtf16(value.AsString(), wide)) Fail(value, "the text is not UTF-8");
    return wide;
  }
  std::string Word(const json::Value& value) const {
    if (value.GetKind() != json::Value::Kind::kString) Fail(value, "expected a text");
    return value.AsString();
  }
  bool Bool(const json::Value& value) const {
    if (value.GetKind() != json::Value::Kind::kBool) Fail(value, "expected true or false");
    return value.AsBool();
  }
  int64_t Integer(const json::Value& value, int64_t min, int64_t max) const {
    if (value.GetKind() != json::Value::Kind::kNumber) Fail(value, "expected a whole number");
    try {
      return value.AsIntegerIn(min, max);
    } catch (const json::ParseError& error) {
      Fail(value, error.what());
    }
  }
  // "YYYY-MM-DDThh:mm:ss", local time.
  platform::AutomationDate Date(const json::Value& value) const {
    const std::string text = Word(value);
    static constexpr std::string_view kShape = "0000-00-00T00:00:00";
    bool shaped = text.size() == kShape.size();
    for (std::size_t i = 0; shaped && i < text.size(); ++i) {
      shaped = kShape[i] == '0' ? (text[i] >= '0' && text[i] <= '9') : text[i] == kShape[i];
    }
    if (!shaped) Fail(value, "expected a date as YYYY-MM-DDThh:mm:ss, found \"" + text + "\"");
    auto number = [&](std::size_t at, std::size_t length) {
      return std::stoi(text.substr(at, length));
    };
    const platform::CivilDateTime c{
        number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2), number(17, 2), 0};
    if (!platform::IsValidCivilDate(c.year, c.month, c.day) ||
        !platform::IsValidCivilTime(c.hour, c.minute, c.second)) {
      Fail(value, "no such date or time: \"" + text + "\"");
    }
    return platform::EncodeAutomationDate(c);
  }

  void Session(const json::Value& value, Mailbox& mailbox) const {
    Members(value, "the session",
            {"fullName", "majorVersion", "minorVersion", "login", "loginError", "userId",
             "queryPolls"});
    if (auto* v = Optional(value, "fullName")) mailbox.fullName = Text(*v);
    if (auto* v = Optional(value, "majorVersion")) mailbox.majorVersion = Small(*v);
    if (auto* v = Optional(value, "minorVersion")) mailbox.minorVersion = Small(*v);
    if (auto* v = Optional(value, "login")) mailbox.login = Login(*v);
    if (auto* v = Optional(value, "loginError")) mailbox.loginError = Text(*v);
    if (auto* v = Optional(value, "userId")) mailbox.userId = Text(*v);
    if (auto* v = Optional(value, "queryPolls")) {
      mailbox.queryPolls = static_cast<int>(Integer(*v, 0, 1'000'000));
    }
  }

  void Account(const json::Value& value, Mailbox& mailbox) const {
    Members(value, "the account",
            {"owner", "ownerEmailAddress", "nextMessageNumber", "calendar", "addressBooks",
             "knownAddresses", "mail"});
    if (auto* v = Optional(value, "owner")) mailbox.ownerName = Text(*v);
    if (auto* v = Optional(value, "ownerEmailAddress")) mailbox.ownerEmailAddress = Text(*v);
    if (auto* v = Optional(value, "nextMessageNumber")) {
      mailbox.nextMessageNumber = Integer(*v, 1, int64_t{1} << 52);
    }
    if (auto* v = Optional(value, "calendar")) {
      for (const json::Value& item : Array(*v, "the calendar"))
        Item(item, mailbox);
    }
    if (auto* v = Optional(value, "addressBooks")) {
      for (const json::Value& book : Array(*v, "addressBooks"))
        Book(book, mailbox);
    }
    if (auto* v = Optional(value, "knownAddresses")) {
      for (const json::Value& known : Array(*v, "knownAddresses")) {
        Members(known, "a known address", {"displayName", "emailAddress"});
        MailAddress address;
        if (auto* t = Optional(known, "displayName")) address.displayName = Text(*t);
        const json::Value& email = Required(known, "emailAddress", "a known address");
        address.emailAddress = Text(email);
        try {
          mailbox.AddKnownAddress(std::move(address));
        } catch (const platform::Exception& error) {
          Fail(email, error.what());
        }
      }
    }
    // After the calendar, whose ids the messages must not take.
    if (auto* v = Optional(value, "mail")) Mail(*v, mailbox);
  }

 private:
  const json::Array& Array(const json::Value& value, std::string_view what) const {
    if (value.GetKind() != json::Value::Kind::kArray) {
      Fail(value, std::string(what) + " must be an array");
    }
    return value.AsArray();
  }
  int16_t Small(const json::Value& value) const {
    return static_cast<int16_t>(Integer(value, 0, std::numeric_limits<int16_t>::max()));
  }
  int32_t Int32(const json::Value& value) const {
    return static_cast<int32_t>(
        Integer(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  }
  LoginOutcome Login(const json::Value& value) const {
    const std::string word = Word(value);
    for (const auto& [outcome, name] : kLoginWords) {
      if (word == name) return outcome;
    }
    Fail(value, "login must be \"account\", \"null\", \"empty\" or \"raise\"");
  }

  void Item(const json::Value& value, Mailbox& mailbox) const {
    Members(value, "a calendar item",
            {"messageId", "className",         "boxType",       "accepted",     "personal",
             "private",   "privateReadRaises", "failingTokens", "subject",      "bodyText",
             "fromText",  "onCalendar",        "startDate",     "endDate",      "place",
             "dueDate",   "assignedDate",      "completed",     "taskPriority", "taskCategory"});
    CalendarItem item;
    const json::Value& id = Required(value, "messageId", "a calendar item");
    item.messageId = Text(id);
    if (item.messageId.empty()) Fail(id, "a message id cannot be empty");
    if (mailbox.calendar.Contains(item.messageId)) Fail(id, "a second item with this message id");
    const json::Value& className = Required(value, "className", "a calendar item");
    const std::optional<ItemClass> itemClass = ItemClassFromName(Text(className));
    if (!itemClass || !IsCalendarClass(*itemClass)) {
      Fail(className,
           "the calendar holds GW.MESSAGE.APPOINTMENT, GW.MESSAGE.TASK and "
           "GW.MESSAGE.NOTE items");
    }
    item.itemClass = *itemClass;
    if (auto* v = Optional(value, "boxType")) {
      const std::optional<BoxType> box = BoxTypeFromName(Word(*v));
      if (!box) Fail(*v, "boxType must be INCOMING, OUTGOING, PERSONAL or DRAFT");
      item.boxType = *box;
    }
    if (auto* v = Optional(value, "accepted")) item.accepted = Bool(*v);
    if (auto* v = Optional(value, "personal")) item.personal = Bool(*v);
    if (auto* v = Optional(value, "private")) item.isPrivate = Bool(*v);
    if (auto* v = Optional(value, "privateReadRaises")) item.privateReadRaises = Bool(*v);
    if (auto* v = Optional(value, "failingTokens")) {
      for (const json::Value& verb : Array(*v, "failingTokens")) {
        item.failingTokens.push_back(Word(verb));
      }
    }
    if (auto* v = Optional(value, "subject")) item.subject = Text(*v);
    if (auto* v = Optional(value, "bodyText")) item.bodyText = Text(*v);
    if (auto* v = Optional(value, "fromText")) item.fromText = Text(*v);
    if (auto* v = Optional(value, "onCalendar")) item.onCalendar = Bool(*v);
    if (auto* v = Optional(value, "startDate")) item.startDate = Date(*v);
    // A member the class does not have is refused, so a file cannot claim what the objects
    // would never show.
    auto classOnly = [&](const char* key, ClassField field) -> const json::Value* {
      const json::Value* v = Optional(value, key);
      if (v && !HasField(item.itemClass, field)) {
        Fail(*v, std::string("a ") + json::Utf16ToUtf8(ClassNameOf(item.itemClass)) +
                     " item has no " + key);
      }
      return v;
    };
    if (auto* v = classOnly("endDate", ClassField::kEndDate)) item.endDate = Date(*v);
    if (auto* v = classOnly("place", ClassField::kPlace)) item.place = Text(*v);
    if (auto* v = classOnly("dueDate", ClassField::kDueDate)) item.dueDate = Date(*v);
    if (auto* v = classOnly("assignedDate", ClassField::kAssignedDate)) {
      item.assignedDate = Date(*v);
    }
    if (auto* v = classOnly("completed", ClassField::kCompleted)) item.completed = Bool(*v);
    if (auto* v = classOnly("taskPriority", ClassField::kTaskPriority)) {
      item.taskPriority = Int32(*v);
    }
    if (auto* v = classOnly("taskCategory", ClassField::kTaskCategory)) {
      item.taskCategory = Text(*v);
    }
    mailbox.calendar.push_back(std::move(item));
  }

  void Mail(const json::Value& value, Mailbox& mailbox) const {
    Members(value, "the mail",
            {"pathToHost", "nextFolderNumber", "mailboxFolder", "folders", "messages"});
    if (auto* v = Optional(value, "pathToHost")) mailbox.pathToHost = Text(*v);
    if (auto* v = Optional(value, "nextFolderNumber")) {
      mailbox.nextFolderNumber = Integer(*v, 1, int64_t{1} << 52);
    }
    if (auto* v = Optional(value, "folders")) {
      mailbox.folders = {};
      mailbox.topFolders.clear();
      for (const json::Value& folder : Array(*v, "folders"))
        Folder(folder, nullptr, mailbox);
      if (mailbox.topFolders.empty()) Fail(*v, "the account needs its mailbox folder at least");
      mailbox.mailboxFolderId = mailbox.topFolders.front();
    }
    if (auto* v = Optional(value, "mailboxFolder")) {
      mailbox.mailboxFolderId = Text(*v);
      if (!mailbox.FindFolder(mailbox.mailboxFolderId)) Fail(*v, "no folder has this id");
    }
    if (auto* v = Optional(value, "messages")) {
      for (const json::Value& message : Array(*v, "messages")) {
        MailMessage read = Message(message, true, mailbox);
        mailbox.messages.push_back(std::move(read));
      }
    }
  }

  void Folder(const json::Value& value, MailFolder* parent, Mailbox& mailbox) const {
    Members(value, "a folder", {"folderId", "name", "folders"});
    MailFolder folder;
    const json::Value& id = Required(value, "folderId", "a folder");
    folder.folderId = Text(id);
    if (folder.folderId.empty()) Fail(id, "a folder id cannot be empty");
    if (mailbox.FindFolder(folder.folderId)) Fail(id, "a second folder with this id");
    const json::Value& name = Required(value, "name", "a folder");
    folder.name = Text(name);
    if (folder.name.empty()) Fail(name, "a folder needs a name");
    if (mailbox.FindSubfolder(parent, folder.name)) {
      Fail(name, "a second folder of this name beside it");
    }
    if (parent) {
      folder.parentId = parent->folderId;
      parent->subfolders.push_back(folder.folderId);
    } else {
      mailbox.topFolders.push_back(folder.folderId);
    }
    MailFolder& added = mailbox.folders.push_back(std::move(folder));
    if (auto* v = Optional(value, "folders")) {
      for (const json::Value& subfolder : Array(*v, "folders"))
        Folder(subfolder, &added, mailbox);
    }
  }

  // A message of the mailbox (`filed`), or an item attached to one.
  MailMessage Message(const json::Value& value, bool filed, const Mailbox& mailbox) const {
    const std::string_view what = filed ? "a message" : "an attached item";
    Members(value, what,
            {"messageId", "className",       "boxType",        "folders",     "read",
             "priority",  "creationDate",    "subject",        "bodyText",    "fromText",
             "sender",    "recipients",      "attachments",    "startDate",   "endDate",
             "dueDate",   "callerName",      "callerCompany",  "phoneNumber", "telephoned",
             "willCall",  "wantsToSee",      "urgent",         "pleaseCall",  "returnedCall",
             "cameToSee", "documentLibrary", "documentSubject"});
    MailMessage message;
    if (filed) {
      const json::Value& id = Required(value, "messageId", what);
      message.messageId = Text(id);
      if (message.messageId.empty()) Fail(id, "a message id cannot be empty");
      if (mailbox.messages.Contains(message.messageId) || mailbox.FindItem(message.messageId)) {
        Fail(id, "a second item with this message id");
      }
    } else if (auto* v = Optional(value, "messageId")) {
      message.messageId = Text(*v);
    }
    const json::Value& className = Required(value, "className", what);
    const std::optional<ItemClass> itemClass = ItemClassFromName(Text(className));
    if (!itemClass) Fail(className, "not a class of GroupWise's items");
    if (filed && !IsMailClass(*itemClass)) {
      Fail(className, "the mail folders hold GW.MESSAGE.MAIL and GW.MESSAGE.PHONE messages");
    }
    message.itemClass = *itemClass;
    if (auto* v = Optional(value, "boxType")) {
      const std::optional<BoxType> box = BoxTypeFromName(Word(*v));
      if (!box) Fail(*v, "boxType must be INCOMING, OUTGOING, PERSONAL or DRAFT");
      message.boxType = *box;
    }
    auto filedOnly = [&](const char* key) -> const json::Value* {
      const json::Value* v = Optional(value, key);
      if (v && !filed) Fail(*v, std::string("an attached item has no ") + key);
      return v;
    };
    if (auto* v = filedOnly("folders")) {
      for (const json::Value& folder : Array(*v, "folders")) {
        std::u16string id = Text(folder);
        if (!mailbox.FindFolder(id)) Fail(folder, "no folder has this id");
        for (const std::u16string& other : message.folders) {
          if (other == id) Fail(folder, "the message is in this folder already");
        }
        message.folders.push_back(std::move(id));
      }
    }
    if (auto* v = filedOnly("read")) message.read = Bool(*v);
    if (auto* v = Optional(value, "priority")) message.priority = Int32(*v);
    if (auto* v = Optional(value, "creationDate")) message.creationDate = Date(*v);
    if (auto* v = Optional(value, "subject")) message.subject = Text(*v);
    if (auto* v = Optional(value, "bodyText")) message.bodyText = Text(*v);
    if (auto* v = Optional(value, "fromText")) message.fromText = Text(*v);
    if (auto* v = Optional(value, "sender")) {
      Members(*v, "a sender", {"displayName", "emailAddress"});
      if (auto* t = Optional(*v, "displayName")) message.sender.displayName = Text(*t);
      if (auto* t = Optional(*v, "emailAddress")) message.sender.emailAddress = Text(*t);
    }
    if (auto* v = Optional(value, "recipients")) {
      for (const json::Value& r : Array(*v, "recipients")) {
        Members(r, "a recipient", {"targetType", "displayName", "emailAddress", "resolved"});
        Recipient recipient;
        if (auto* t = Optional(r, "targetType")) {
          recipient.targetType = static_cast<int32_t>(Integer(*t, kTo, kBc));
        }
        if (auto* t = Optional(r, "resolved")) {
          recipient.resolved = static_cast<int32_t>(Integer(*t, kNotResolved, kLargestResolved));
        }
        if (auto* t = Optional(r, "displayName")) recipient.displayName = Text(*t);
        if (auto* t = Optional(r, "emailAddress")) recipient.emailAddress = Text(*t);
        message.recipients.push_back(std::move(recipient));
      }
    }
    if (auto* v = Optional(value, "attachments")) {
      for (const json::Value& a : Array(*v, "attachments"))
        message.attachments.push_back(AttachmentOf(a, mailbox));
    }
    auto classOnly = [&](const char* key, bool has) -> const json::Value* {
      const json::Value* v = Optional(value, key);
      if (v && !has) {
        Fail(*v, std::string("a ") + json::Utf16ToUtf8(ClassNameOf(message.itemClass)) +
                     " item has no " + key);
      }
      return v;
    };
    const ItemClass c = message.itemClass;
    if (auto* v = classOnly("startDate", IsCalendarClass(c))) message.startDate = Date(*v);
    if (auto* v = classOnly("endDate", HasField(c, ClassField::kEndDate))) {
      message.endDate = Date(*v);
    }
    if (auto* v = classOnly("dueDate", HasField(c, ClassField::kDueDate))) {
      message.dueDate = Date(*v);
    }
    const bool caller = HasField(c, ClassField::kCaller);
    if (auto* v = classOnly("callerName", caller)) message.callerName = Text(*v);
    if (auto* v = classOnly("callerCompany", caller)) message.callerCompany = Text(*v);
    if (auto* v = classOnly("phoneNumber", caller)) message.phoneNumber = Text(*v);
    const std::pair<const char*, bool MailMessage::*> flags[] = {
        {"telephoned", &MailMessage::telephoned}, {"willCall", &MailMessage::willCall},
        {"wantsToSee", &MailMessage::wantsToSee}, {"urgent", &MailMessage::urgent},
        {"pleaseCall", &MailMessage::pleaseCall}, {"returnedCall", &MailMessage::returnedCall},
        {"cameToSee", &MailMessage::cameToSee},
    };
    for (const auto& [key, flag] : flags) {
      if (auto* v = classOnly(key, caller)) message.*flag = Bool(*v);
    }
    const bool document = HasField(c, ClassField::kDocument);
    if (auto* v = classOnly("documentLibrary", document)) message.documentLibrary = Text(*v);
    if (auto* v = classOnly("documentSubject", document)) message.documentSubject = Text(*v);
    return message;
  }

  Attachment AttachmentOf(const json::Value& value, const Mailbox& mailbox) const {
    Members(value, "an attachment", {"objType", "fileName", "displayName", "data", "item"});
    Attachment attachment;
    if (auto* v = Optional(value, "objType")) {
      attachment.objType = static_cast<int32_t>(Integer(*v, 0, kLargestObjType));
    }
    if (auto* v = Optional(value, "fileName")) attachment.fileName = Text(*v);
    if (auto* v = Optional(value, "displayName")) attachment.displayName = Text(*v);
    const json::Value* data = Optional(value, "data");
    const json::Value* item = Optional(value, "item");
    if (attachment.objType == kMessageAttachment) {
      if (data) Fail(*data, "a message attachment holds an item, not data");
      if (!item) Fail(value, "a message attachment needs the member \"item\"");
      attachment.item = AttachedItem(Message(*item, false, mailbox));
    } else {
      if (item) Fail(*item, "only a message attachment (objType 2) holds an item");
      if (data) attachment.data = std::make_shared<const std::string>(Bytes(*data));
    }
    return attachment;
  }

  // Base64 as RFC 4648 writes it: with its padding, no line breaks, and nothing in the bits
  // the padding leaves over, so that every text is the only one for its bytes.
  std::string Bytes(const json::Value& value) const {
    static const std::array<int8_t, 256> kDigitValues = [] {
      std::array<int8_t, 256> values{};
      values.fill(-1);
      for (std::size_t i = 0; i < kBase64Digits.size(); ++i)
        values[static_cast<unsigned char>(kBase64Digits[i])] = static_cast<int8_t>(i);
      return values;
    }();
    if (value.GetKind() != json::Value::Kind::kString) Fail(value, "expected a text");
    const std::string& text = value.AsString();
    if (text.size() % 4 != 0) Fail(value, "base64 comes in groups of four characters");
    std::size_t padding = 0;
    while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=')
      ++padding;
    std::string bytes(text.size() / 4 * 3 - padding, '\0');
    char* to = bytes.data();
    const auto* from = reinterpret_cast<const unsigned char*>(text.data());
    const int8_t* const values = kDigitValues.data();
    const std::size_t digits = text.size() - padding;
    uint32_t group = 0;
    for (std::size_t i = 0; i < digits; ++i) {
      const int8_t digit = values[from[i]];
      if (digit < 0) Fail(value, "not base64: the character at " + std::to_string(i + 1));
      group = group << 6 | static_cast<uint32_t>(digit);
      if (i % 4 == 3) {
        *to++ = static_cast<char>(group >> 16);
        *to++ = static_cast<char>(group >> 8 & 0xFF);
        *to++ = static_cast<char>(group & 0xFF);
        group = 0;
      }
    }
    if (padding == 1) {
      if ((group & 0x3) != 0) Fail(value, "not base64: the last group has bits left over");
      *to++ = static_cast<char>(group >> 10);
      *to++ = static_cast<char>(group >> 2 & 0xFF);
    } else if (padding == 2) {
      if ((group & 0xF) != 0) Fail(value, "not base64: the last group has bits left over");
      *to++ = static_cast<char>(group >> 4);
    }
    return bytes;
  }

  void Book(const json::Value& value, Mailbox& mailbox) const {
    Members(value, "an address book", {"name", "fieldDefinitions", "entries"});
    AddressBook book;
    const json::Value& name = Required(value, "name", "an address book");
    book.name = Text(name);
    if (book.name.empty()) Fail(name, "an address book needs a name");
    for (const AddressBook& other : mailbox.addressBooks) {
      if (SameTextIgnoringCase(other.name, book.name)) Fail(name, "a second book of this name");
    }
    if (auto* v = Optional(value, "fieldDefinitions")) {
      for (const json::Value& definition : Array(*v, "fieldDefinitions")) {
        Members(definition, "a field definition", {"fieldId", "name"});
        const json::Value& label = Required(definition, "name", "a field definition");
        book.definitions.push_back(
            {Int32(Required(definition, "fieldId", "a field definition")), Text(label)});
      }
    }
    if (auto* v = Optional(value, "entries")) {
      for (const json::Value& entryValue : Array(*v, "entries")) {
        Members(entryValue, "an address book entry", {"objType", "fields"});
        BookEntry entry;
        entry.key = mailbox.NewEntryKey();
        if (auto* t = Optional(entryValue, "objType")) entry.objType = Int32(*t);
        if (auto* f = Optional(entryValue, "fields")) {
          for (const json::Value& field : Array(*f, "fields")) {
            Members(field, "a field", {"name", "fieldId", "value"});
            entry.fields.push_back({Text(Required(field, "name", "a field")),
                                    Int32(Required(field, "fieldId", "a field")),
                                    Text(Required(field, "value", "a field"))});
          }
        }
        book.entries.push_back(std::move(entry));
      }
    }
    mailbox.addressBooks.push_back(std::move(book));
  }

  std::string_view text_;
  const std::string& file_;
};

std::string Located(const std::string& file, std::size_t line, std::size_t column,
                    const std::string& detail) {
  if (line == 0) return file + ": " + detail;
  return file + ", line " + std::to_string(line) + ", column " + std::to_string(column) + ": " +
         detail;
}

void WriteText(const std::string& path, const std::string& text) {
  try {
    platform::ReplaceFile(path, text);
  } catch (const platform::FileError& error) {
    throw StoreError(path, 0, 0, error.Detail());
  }
}

}  // namespace

StoreError::StoreError(std::string file, std::size_t line, std::size_t column, std::string detail)
    : Exception(Located(file, line, column, detail)),
      file_(std::move(file)),
      line_(line),
      column_(column),
      detail_(std::move(detail)) {}

std::string StoreToJson(const Mailbox& mailbox) {
  json::Object session{
      {"fullName", Text(mailbox.fullName)},
      {"majorVersion", int{mailbox.majorVersion}},
      {"minorVersion", int{mailbox.minorVersion}},
      {"login",
       json::Value(std::string(kLoginWords[static_cast<std::size_t>(mailbox.login)].second))},
      {"loginError", Text(mailbox.loginError)},
      {"userId", Text(mailbox.userId)},
      {"queryPolls", mailbox.queryPolls},
  };
  json::Array calendar;
  for (const CalendarItem& item : mailbox.calendar)
    calendar.push_back(ItemToJson(item));
  json::Array books;
  for (const AddressBook& book : mailbox.addressBooks)
    books.push_back(BookToJson(book));
  // What only a mailbox that sends mail has is written only when there is some, so that the
  // stores written before read and write as they did.
  json::Object account{{"owner", Text(mailbox.ownerName)}};
  if (!mailbox.ownerEmailAddress.empty()) {
    account.emplace_back("ownerEmailAddress", Text(mailbox.ownerEmailAddress));
  }
  account.emplace_back("nextMessageNumber", mailbox.nextMessageNumber);
  account.emplace_back("calendar", json::Value(std::move(calendar)));
  account.emplace_back("addressBooks", json::Value(std::move(books)));
  if (!mailbox.knownAddresses.empty()) {
    json::Array known;
    for (const KnownAddress& entry : mailbox.knownAddresses) {
      known.emplace_back(json::Object{{"displayName", Text(entry.address.displayName)},
                                      {"emailAddress", Text(entry.address.emailAddress)}});
    }
    account.emplace_back("knownAddresses", json::Value(std::move(known)));
  }
  if (HasMail(mailbox)) account.emplace_back("mail", MailToJson(mailbox));
  return json::Write(json::Value(json::Object{{"format", json::Value(std::string(kFormat))},
                                              {"version", kVersion},
                                              {"session", json::Value(std::move(session))},
                                              {"account", json::Value(std::move(account))}}));
}

Mailbox StoreFromJson(std::string_view text, const std::string& file) {
  json::Value document;
  try {
    document = json::Parse(text);
  } catch (const json::ParseError& error) {
    const json::Location where = json::LocationOf(text, error.Offset());
    throw StoreError(file, where.line, where.column, error.Detail());
  }
  const Reader reader(text, file);
  reader.Members(document, "the store", {"format", "version", "session", "account"});
  const json::Value& format = reader.Required(document, "format", "the store");
  if (reader.Word(format) != kFormat) {
    reader.Fail(format, "this is not a GroupWise store (format \"" + std::string(kFormat) + "\")");
  }
  const json::Value& version = reader.Required(document, "version", "the store");
  if (reader.Integer(version, 0, 1'000'000) != kVersion) {
    reader.Fail(version, "only version " + std::to_string(kVersion) + " is understood");
  }
  Mailbox mailbox;
  if (auto* session = document.Find("session")) reader.Session(*session, mailbox);
  if (auto* account = document.Find("account")) reader.Account(*account, mailbox);
  return mailbox;
}

Mailbox LoadStore(const std::string& path) {
  if (!std::filesystem::exists(path)) return Mailbox();
  std::string text;
  try {
    text = platform::ReadFileWithin(path, kStoreFileLimit);
  } catch (const platform::FileError& error) {
    throw StoreError(path, 0, 0, error.Detail());
  }
  return StoreFromJson(text, path);
}

void SaveStore(const std::string& path, const Mailbox& mailbox) {
  WriteText(path, StoreToJson(mailbox));
}

StoreFile::StoreFile(std::string path)
    : path_(std::move(path)),
      existed_(std::filesystem::exists(path_)),
      mailbox_(std::make_shared<Mailbox>(LoadStore(path_))),
      savedChanges_(mailbox_->Changes()) {}

bool StoreFile::Changed() const {
  return mailbox_->Changes() != savedChanges_ || mailbox_->ReadStatesChanged();
}

void StoreFile::Save() {
  const uint64_t changes = mailbox_->Changes();
  SaveStore(path_, *mailbox_);
  savedChanges_ = changes;
  mailbox_->ReadStatesSaved();
  existed_ = true;
}

void StoreFile::SaveIfChanged() {
  if (Changed() || !existed_) Save();
}

}  // namespace sim
