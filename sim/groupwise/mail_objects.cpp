// The account's mail: its folder tree, the mail and phone messages in the folders with their
// senders, recipients and attachments, and the items attached to them.

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/file_io.h"
#include "sim/common/json.h"
#include "sim/groupwise/objects.h"
#include "sim/groupwise/query_language.h"

namespace sim::groupwise {
namespace {

using platform::Object;

int32_t CountOf(std::size_t size) {
  return static_cast<int32_t>(size);
}

std::size_t PositionOf(const Variant& index, std::size_t count, std::string_view member) {
  const int32_t position = index.ToInt32();
  if (position < 1 || static_cast<std::size_t>(position) > count) {
    SimObject::RaiseBadArgument(member, "index out of range");
  }
  return static_cast<std::size_t>(position - 1);
}

std::string Quoted(std::u16string_view text) {
  std::string quoted(1, '"');
  quoted.append(json::Utf16ToUtf8(text)).push_back('"');
  return quoted;
}

// The part of that key, looked for first where it was last found: it stays there unless a
// part before it was deleted, so a controller's loop over a message's parts stays linear.
template <typename Part>
Part* FindPart(std::vector<Part>& parts, uint64_t key, std::size_t& hint) {
  if (hint < parts.size() && parts[hint].key == key) return &parts[hint];
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].key == key) {
      hint = i;
      return &parts[i];
    }
  }
  return nullptr;
}

// A message of the mailbox, or an item attached to one through any number of attachments. It
// is found again on every call, so that an object whose message was deleted fails as GroupWise's
// do; the message found is kept until the mailbox loses a message, as ItemRef keeps its item.
class MessageRef {
 public:
  MessageRef(std::shared_ptr<Mailbox> mailbox, MailMessage& message)
      : mailbox_(std::move(mailbox)),
        id_(message.messageId),
        found_(&message),
        foundGeneration_(mailbox_->messages.Generation()) {}

  // The item that `attachment`, found at `position` of this one's attachments, holds.
  MessageRef Attached(const Attachment& attachment, std::size_t position) const {
    MessageRef attached = *this;
    attached.path_.push_back({attachment.key, position});
    return attached;
  }

  // A message of the mailbox, not an attached item: only those lie in folders, have a read
  // state and can be changed.
  bool IsFiled() const { return path_.empty(); }
  Mailbox& Box() const { return *mailbox_; }

  // The message of the mailbox this one is, or holds this attached item.
  MailMessage& Filed(std::string_view member) const {
    const uint64_t generation = mailbox_->messages.Generation();
    if (!found_ || foundGeneration_ != generation) {
      found_ = mailbox_->FindMessage(id_);
      foundGeneration_ = generation;
    }
    if (!found_) Raise(member, "The message no longer exists");
    return *found_;
  }

  MailMessage& Get(std::string_view member) const {
    MailMessage* message = &Filed(member);
    for (const Step& step : path_) {
      const Attachment* attachment = FindPart(message->attachments, step.key, step.hint);
      if (!attachment || !attachment->item) Raise(member, "The attachment no longer exists");
      message = attachment->item.get();
    }
    return *message;
  }

  // What GroupWise does when the user opens the message: an unread one is read from then on.
  // Opening an attached item opens the message that holds it.
  void MarkRead(std::string_view member) const { mailbox_->SetRead(Filed(member), true); }

 private:
  struct Step {
    uint64_t key;
    mutable std::size_t hint;
  };

  std::shared_ptr<Mailbox> mailbox_;
  std::u16string id_;
  std::vector<Step> path_;
  mutable MailMessage* found_;
  mutable uint64_t foundGeneration_;
};

// A recipient or an attachment of a message, by its key.
template <typename Part, std::vector<Part> MailMessage::*kParts>
struct PartRef {
  MessageRef message;
  uint64_t key = 0;
  mutable std::size_t hint = 0;

  Part& Get(std::string_view member) const {
    Part* part = FindPart(message.Get(member).*kParts, key, hint);
    if (!part) Raise(member, "The message no longer has this part");
    return *part;
  }
};
using RecipientRef = PartRef<Recipient, &MailMessage::recipients>;
using AttachmentRef = PartRef<Attachment, &MailMessage::attachments>;

// --- Folders ---------------------------------------------------------------------------------

// Every folder of the tree, depth first, each before its subfolders: how AllFolders counts
// them. The tree is small (a person's folders), so it is walked for each call.
std::vector<const MailFolder*> AllInOrder(const Mailbox& mailbox) {
  std::vector<const MailFolder*> order;
  std::vector<const std::vector<std::u16string>*> levels{&mailbox.topFolders};
  std::vector<std::size_t> next{0};
  while (!levels.empty()) {
    if (next.back() == levels.back()->size()) {
      levels.pop_back();
      next.pop_back();
      continue;
    }
    const MailFolder* folder = mailbox.FindFolder((*levels.back())[next.back()++]);
    if (!folder) continue;
    order.push_back(folder);
    levels.push_back(&folder->subfolders);
    next.push_back(0);
  }
  return order;
}

const MailFolder& FolderById(const Mailbox& mailbox, const std::u16string& id,
                             std::string_view member) {
  const MailFolder* folder = mailbox.FindFolder(id);
  if (!folder) Raise(member, "No folder has the id " + Quoted(id));
  return *folder;
}

// Add(name) or Add(name, Null): a plain folder. What else the second argument can say is not
// modelled.
MailFolder& AddFolder(const Shared& shared, Args args, const MailFolder* parent,
                      const std::string& member) {
  SimObject::ExpectArgCount(args, 1, 2, member);
  const std::u16string name = SimObject::Arg(args, 0, member).ToText();
  if (args.size() == 2 && !SimObject::Arg(args, 1, member).IsEmptyOrNull()) {
    SimObject::RaiseBadArgument(member, "only Null is modelled as the second argument");
  }
  try {
    return shared.mailbox->AddFolder(name, parent);
  } catch (const platform::Exception& error) {
    Raise(member, std::string(error.what()) + ": " + Quoted(name));
  }
}

// What Find found, shared by the list's objects; kept as ItemRef keeps an item, by the
// message found and by its id for when the mailbox has lost a message since.
struct Hit {
  std::u16string id;
  MailMessage* message = nullptr;
};
struct Results {
  uint64_t generation = 0;  // the messages', when they were found
  std::vector<Hit> hits;
};

class MessageList final : public SimObject {
 public:
  MessageList(const Shared& shared, std::shared_ptr<const Results> found)
      : SimObject("MessageList", shared.context) {
    AddProperty("Count", [found](Args) { return Variant(CountOf(found->hits.size())); });
    AddMethod("Item", [shared, found](Args args) {
      ExpectArgCount(args, 1, 1, "MessageList.Item");
      const Hit& hit = found->hits[PositionOf(Arg(args, 0, "MessageList.Item"), found->hits.size(),
                                              "MessageList.Item")];
      MailMessage* message = shared.mailbox->messages.Generation() == found->generation
                                 ? hit.message
                                 : shared.mailbox->FindMessage(hit.id);
      if (!message) Raise("MessageList.Item", "The message no longer exists");
      return Variant(MakeMessage(shared, *message));
    });
  }
};

// A folder's own messages: those it holds, not those of its subfolders.
class FolderMessages final : public SimObject {
 public:
  FolderMessages(const Shared& shared, std::u16string folderId)
      : SimObject("Messages", shared.context), shared_(shared), folderId_(std::move(folderId)) {
    AddProperty("Count",
                [this](Args) { return Variant(CountOf(Contents("Messages.Count").size())); });
    AddMethod("Item", [this](Args args) {
      ExpectArgCount(args, 1, 1, "Messages.Item");
      return Item(Arg(args, 0, "Messages.Item"));
    });
    AddMethod("Find", [this](Args args) {
      ExpectArgCount(args, 1, 1, "Messages.Find");
      return Find(Arg(args, 0, "Messages.Find").ToText());
    });
  }

 private:
  const std::vector<MailMessage*>& Contents(std::string_view member) const {
    FolderById(*shared_.mailbox, folderId_, member);
    return shared_.mailbox->FolderContents(folderId_);
  }

  Variant Item(const Variant& key) const {
    const std::vector<MailMessage*>& contents = Contents("Messages.Item");
    if (key.GetKind() == Variant::Kind::kText) {
      MailMessage* message = shared_.mailbox->FindMessage(key.AsText());
      if (!message || std::find(message->folders.begin(), message->folders.end(), folderId_) ==
                          message->folders.end()) {
        Raise("Messages.Item", "No message in this folder has that id");
      }
      return Variant(MakeMessage(shared_, *message));
    }
    return Variant(
        MakeMessage(shared_, *contents[PositionOf(key, contents.size(), "Messages.Item")]));
  }

  // The search runs at once over the folder's messages, in their order.
  Variant Find(const std::u16string& expression) const {
    std::optional<QueryExpression> parsed;
    try {
      parsed = QueryExpression::Parse(expression);
    } catch (const QueryError& error) {
      Raise("Messages.Find", "The query expression is not understood at column " +
                                 std::to_string(error.Column()) + ": " + error.Detail() + " in " +
                                 Quoted(expression));
    }
    auto found = std::make_shared<Results>();
    found->generation = shared_.mailbox->messages.Generation();
    for (MailMessage* message : Contents("Messages.Find")) {
      if (parsed->Matches(*message)) found->hits.push_back({message->messageId, message});
    }
    return Variant(MakeObject<MessageList>(shared_, std::move(found)));
  }

  Shared shared_;
  std::u16string folderId_;
};

// The subfolders of one folder.
class Folders final : public SimObject {
 public:
  Folders(const Shared& shared, std::u16string parentId)
      : SimObject("Folders", shared.context), shared_(shared), parentId_(std::move(parentId)) {
    AddProperty("Count", [this](Args) {
      return Variant(CountOf(Parent("Folders.Count").subfolders.size()));
    });
    // By FolderID, or by position; an id that is not one of the subfolders raises.
    AddMethod("Item", [this](Args args) {
      ExpectArgCount(args, 1, 1, "Folders.Item");
      const Variant& key = Arg(args, 0, "Folders.Item");
      const std::vector<std::u16string>& ids = Parent("Folders.Item").subfolders;
      if (key.GetKind() == Variant::Kind::kText) {
        for (const std::u16string& id : ids) {
          if (id == key.AsText()) return Folder(id);
        }
        Raise("Folders.Item", "No subfolder has the id " + Quoted(key.AsText()));
      }
      return Folder(ids[PositionOf(key, ids.size(), "Folders.Item")]);
    });
    AddMethod("ItemByName", [this](Args args) {
      ExpectArgCount(args, 1, 1, "Folders.ItemByName");
      const std::u16string name = Arg(args, 0, "Folders.ItemByName").ToText();
      const MailFolder* folder =
          shared_.mailbox->FindSubfolder(&Parent("Folders.ItemByName"), name);
      if (!folder) Raise("Folders.ItemByName", "No subfolder is named " + Quoted(name));
      return Variant(MakeFolder(shared_, *folder));
    });
    AddMethod("Add", [this](Args args) {
      return Variant(
          MakeFolder(shared_, AddFolder(shared_, args, &Parent("Folders.Add"), "Folders.Add")));
    });
  }

 private:
  const MailFolder& Parent(std::string_view member) const {
    return FolderById(*shared_.mailbox, parentId_, member);
  }
  Variant Folder(const std::u16string& id) const {
    return Variant(MakeFolder(shared_, FolderById(*shared_.mailbox, id, "Folders.Item")));
  }

  Shared shared_;
  std::u16string parentId_;
};

class FolderObject final : public SimObject {
 public:
  FolderObject(const Shared& shared, std::u16string folderId)
      : SimObject("Folder", shared.context) {
    auto get = [shared, folderId](std::string_view member) -> const MailFolder& {
      return FolderById(*shared.mailbox, folderId, member);
    };
    AddProperty("FolderID", [get](Args) { return Variant(get("Folder.FolderID").folderId); });
    AddProperty("Name", [get](Args) { return Variant(get("Folder.Name").name); });
    AddProperty("Folders", [shared, folderId, get](Args) {
      get("Folder.Folders");
      return Variant(MakeObject<Folders>(shared, folderId));
    });
    AddProperty("Messages", [shared, folderId, get](Args) {
      get("Folder.Messages");
      return Variant(MakeObject<FolderMessages>(shared, folderId));
    });
  }
};

// Every folder of the account, in the order of AllInOrder.
class AllFolders final : public SimObject {
 public:
  explicit AllFolders(const Shared& shared) : SimObject("AllFolders", shared.context) {
    AddProperty("Count",
                [shared](Args) { return Variant(CountOf(AllInOrder(*shared.mailbox).size())); });
    // By FolderID, or by position; an unknown id raises.
    AddMethod("Item", [shared](Args args) {
      ExpectArgCount(args, 1, 1, "AllFolders.Item");
      const Variant& key = Arg(args, 0, "AllFolders.Item");
      if (key.GetKind() == Variant::Kind::kText) {
        return Variant(
            MakeFolder(shared, FolderById(*shared.mailbox, key.AsText(), "AllFolders.Item")));
      }
      const std::vector<const MailFolder*> all = AllInOrder(*shared.mailbox);
      return Variant(MakeFolder(shared, *all[PositionOf(key, all.size(), "AllFolders.Item")]));
    });
    // The first folder of that name, without regard to case, in the order of Item.
    AddMethod("ItemByName", [shared](Args args) {
      ExpectArgCount(args, 1, 1, "AllFolders.ItemByName");
      const std::u16string name = Arg(args, 0, "AllFolders.ItemByName").ToText();
      for (const MailFolder* folder : AllInOrder(*shared.mailbox)) {
        if (SameTextIgnoringCase(folder->name, name)) return Variant(MakeFolder(shared, *folder));
      }
      Raise("AllFolders.ItemByName", "No folder is named " + Quoted(name));
    });
    // A new top-level folder, beside the mailbox folder.
    AddMethod("Add", [shared](Args args) {
      return Variant(MakeFolder(shared, AddFolder(shared, args, nullptr, "AllFolders.Add")));
    });
  }
};

class EnclosingFolders final : public SimObject {
 public:
  EnclosingFolders(const Shared& shared, MessageRef message)
      : SimObject("EnclosingFolders", shared.context) {
    AddProperty("Count", [message](Args) {
      return Variant(CountOf(message.Get("EnclosingFolders.Count").folders.size()));
    });
    AddMethod("Item", [shared, message](Args args) {
      ExpectArgCount(args, 1, 1, "EnclosingFolders.Item");
      const std::vector<std::u16string>& folders = message.Get("EnclosingFolders.Item").folders;
      const std::u16string& id = folders[PositionOf(Arg(args, 0, "EnclosingFolders.Item"),
                                                    folders.size(), "EnclosingFolders.Item")];
      return Variant(MakeFolder(shared, FolderById(*shared.mailbox, id, "EnclosingFolders.Item")));
    });
  }
};

// --- Senders and recipients ------------------------------------------------------------------

class SenderAddress final : public SimObject {
 public:
  SenderAddress(const Shared& shared, MessageRef message) : SimObject("Address", shared.context) {
    AddProperty("DisplayName", [message](Args) {
      return Variant(message.Get("Address.DisplayName").sender.displayName);
    });
    AddProperty("EmailAddress", [message](Args) {
      return Variant(message.Get("Address.EmailAddress").sender.emailAddress);
    });
  }
};

class RecipientObject final : public SimObject {
 public:
  RecipientObject(const Shared& shared, RecipientRef recipient)
      : SimObject("Recipient", shared.context) {
    AddProperty("TargetType", [recipient](Args) {
      return Variant(recipient.Get("Recipient.TargetType").targetType);
    });
    AddProperty("EmailAddress", [recipient](Args) {
      return Variant(recipient.Get("Recipient.EmailAddress").emailAddress);
    });
    AddProperty("DisplayName", [recipient](Args) {
      return Variant(recipient.Get("Recipient.DisplayName").displayName);
    });
  }
};

class Recipients final : public SimObject {
 public:
  Recipients(const Shared& shared, MessageRef message) : SimObject("Recipients", shared.context) {
    AddProperty("Count", [message](Args) {
      return Variant(CountOf(message.Get("Recipients.Count").recipients.size()));
    });
    AddMethod("Item", [shared, message](Args args) {
      ExpectArgCount(args, 1, 1, "Recipients.Item");
      const std::vector<Recipient>& all = message.Get("Recipients.Item").recipients;
      const std::size_t position =
          PositionOf(Arg(args, 0, "Recipients.Item"), all.size(), "Recipients.Item");
      return Variant(
          MakeObject<RecipientObject>(shared, RecipientRef{message, all[position].key, position}));
    });
  }
};

// --- Attachments -----------------------------------------------------------------------------

Object MessageObjectOf(const Shared& shared, MessageRef message);

// Windows refuses these characters in a file or folder name. The simulator refuses them too,
// wherever it runs, and takes "\" for a separator as Windows does: a plug-in that saves an
// attachment under its name unchecked then fails natively as it would with GroupWise.
std::string WindowsPathFault(std::u16string_view path) {
  std::size_t start = 0;
  const bool drive = path.size() >= 2 && path[1] == u':' &&
                     ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
  if (drive) start = 2;
  for (std::size_t i = start; i < path.size(); ++i) {
    const char16_t c = path[i];
    if (c < 0x20 || std::u16string_view(u"<>:\"|?*").find(c) != std::u16string_view::npos) {
      return "the file name, folder name or volume label syntax is incorrect";
    }
  }
  if (path.empty() || path.back() == u'\\' || path.back() == u'/') return "names no file";
  return "";
}

// Writes the bytes of a file attachment to `path`, replacing a file there. The folder must
// exist: as on Windows, none is made.
void SaveAttachment(const Shared& shared, const Attachment& attachment,
                    const std::u16string& path) {
  constexpr std::string_view kMember = "Attachment.Save";
  if (attachment.objType == kMessageAttachment) {
    Raise(kMember, "An attached item is no file; Message holds it");
  }
  if (const std::string fault = WindowsPathFault(path); !fault.empty()) {
    Raise(kMember, Quoted(path) + ": " + fault);
  }
  static const platform::Windows1252 kDefaultAnsi;
  const platform::CodePage& ansi = shared.ansi ? *shared.ansi : kDefaultAnsi;
  std::string bytePath = ansi.ToAnsi(path);
  if (ansi.ToWide(bytePath) != path) {
    Raise(kMember, Quoted(path) + ": the path holds characters the code page cannot show");
  }
  if (std::filesystem::path::preferred_separator == '/') {
    for (char& c : bytePath) {
      if (c == '\\') c = '/';
    }
  }
  try {
    platform::ReplaceFile(
        bytePath, attachment.data ? std::string_view(*attachment.data) : std::string_view());
  } catch (const platform::FileError& error) {
    Raise(kMember, error.what());
  }
}

class AttachmentObject final : public SimObject {
 public:
  AttachmentObject(const Shared& shared, AttachmentRef attachment)
      : SimObject("Attachment", shared.context) {
    AddProperty("ObjType", [attachment](Args) {
      return Variant(attachment.Get("Attachment.ObjType").objType);
    });
    // Automation names are matched without regard to case, so this is also the fileName and
    // Filename that controllers spell.
    AddProperty("FileName", [attachment](Args) {
      return Variant(attachment.Get("Attachment.FileName").fileName);
    });
    AddProperty("DisplayName", [attachment](Args) {
      return Variant(attachment.Get("Attachment.DisplayName").displayName);
    });
    AddMethod("Save", [shared, attachment](Args args) {
      ExpectArgCount(args, 1, 1, "Attachment.Save");
      const std::u16string path = Arg(args, 0, "Attachment.Save").ToText();
      SaveAttachment(shared, attachment.Get("Attachment.Save"), path);
      attachment.message.MarkRead("Attachment.Save");
      return Variant();
    });
    AddProperty("Message", [shared, attachment](Args) {
      const Attachment& found = attachment.Get("Attachment.Message");
      if (found.objType != kMessageAttachment || !found.item) {
        Raise("Attachment.Message", "The attachment holds no item");
      }
      return Variant(MessageObjectOf(shared, attachment.message.Attached(found, attachment.hint)));
    });
    AddMethod("Delete", [attachment](Args args) {
      ExpectArgCount(args, 0, 0, "Attachment.Delete");
      if (!attachment.message.IsFiled()) {
        Raise("Attachment.Delete", "An attached item cannot be changed");
      }
      std::vector<Attachment>& all = attachment.message.Get("Attachment.Delete").attachments;
      const Attachment& found = attachment.Get("Attachment.Delete");
      all.erase(all.begin() + (&found - all.data()));
      attachment.message.Box().NoteChange();
      return Variant();
    });
  }
};

class Attachments final : public SimObject {
 public:
  Attachments(const Shared& shared, MessageRef message) : SimObject("Attachments", shared.context) {
    AddProperty("Count", [message](Args) {
      return Variant(CountOf(message.Get("Attachments.Count").attachments.size()));
    });
    AddMethod("Item", [shared, message](Args args) {
      ExpectArgCount(args, 1, 1, "Attachments.Item");
      const std::vector<Attachment>& all = message.Get("Attachments.Item").attachments;
      const std::size_t position =
          PositionOf(Arg(args, 0, "Attachments.Item"), all.size(), "Attachments.Item");
      return Variant(MakeObject<AttachmentObject>(
          shared, AttachmentRef{message, all[position].key, position}));
    });
  }
};

// --- Messages --------------------------------------------------------------------------------

class DocumentLibrary final : public SimObject {
 public:
  DocumentLibrary(const Shared& shared, MessageRef message)
      : SimObject("DocumentLibrary", shared.context) {
    AddProperty("Name", [message](Args) {
      return Variant(message.Get("DocumentLibrary.Name").documentLibrary);
    });
  }
};

class Document final : public SimObject {
 public:
  Document(const Shared& shared, MessageRef message) : SimObject("Document", shared.context) {
    AddProperty("Subject", [message](Args) {
      return Variant(message.Get("Document.Subject").documentSubject);
    });
  }
};

using TextField = std::u16string MailMessage::*;

class MessageText final : public SimObject {
 public:
  // `opens`: reading the text opens the message (BodyText does, Subject does not).
  MessageText(const Shared& shared, MessageRef message, TextField field, bool opens)
      : SimObject("FormattedText", shared.context) {
    AddProperty(
        "PlainText",
        [message, field, opens](Args) {
          Variant text(message.Get("FormattedText.PlainText").*field);
          if (opens) message.MarkRead("FormattedText.PlainText");
          return text;
        },
        message.IsFiled() ? Setter([message, field](const Variant& value) {
          message.Box().Update(message.Get("FormattedText.PlainText").*field, value.ToText());
        })
                          : nullptr);
  }
};

// A mail or phone message of the mailbox, or an item attached to one. Every such item has
// MessageID, ClassName, Subject, BodyText, CreationDate, BoxType, Priority, Sender, FromText,
// Recipients and Attachments; a message of the mailbox also Read, EnclosingFolders, Refresh and
// Delete. Appointments, tasks and notes have StartDate, appointments EndDate and tasks
// DueDate; phone messages have their caller's members, document references DocumentLibrary and
// Document. Any other member is an unknown name, as on GroupWise's objects. Subject, BodyText,
// Read and Priority of a message of the mailbox can be written; nothing of an attached item.
class MessageObject final : public SimObject {
 public:
  MessageObject(const Shared& shared, MessageRef message, ItemClass itemClass)
      : SimObject(LogClassOf(itemClass), shared.context),
        shared_(shared),
        message_(std::move(message)) {
    AddProperty("MessageID", [this](Args) { return Variant(Get("MessageID").messageId); });
    AddProperty("ClassName", [this](Args) {
      return Variant(std::u16string(ClassNameOf(Get("ClassName").itemClass)));
    });
    AddText("Subject", &MailMessage::subject, false);
    AddText("BodyText", &MailMessage::bodyText, true);
    AddProperty("CreationDate", [this](Args) { return Variant(Get("CreationDate").creationDate); });
    AddProperty("BoxType", [this](Args) { return Variant(BoxTypeNumber(Get("BoxType").boxType)); });
    AddProperty(
        "Priority", [this](Args) { return Variant(Get("Priority").priority); },
        Writable([this](const Variant& value) {
          const int32_t priority = value.ToInt32();
          if (priority < 1 || priority > 3) {
            RaiseBadArgument(Qualified("Priority"), "a priority is 1, 2 or 3");
          }
          message_.Box().Update(Get("Priority").priority, priority);
        }));
    AddProperty("Sender", [this](Args) {
      Get("Sender");
      return Variant(MakeObject<SenderAddress>(shared_, message_));
    });
    AddProperty("FromText", [this](Args) { return Variant(Get("FromText").fromText); });
    AddProperty("Recipients", [this](Args) {
      Get("Recipients");
      return Variant(MakeObject<Recipients>(shared_, message_));
    });
    AddProperty("Attachments", [this](Args) {
      Get("Attachments");
      return Variant(MakeObject<Attachments>(shared_, message_));
    });
    if (message_.IsFiled()) AddFiledMembers();

    if (IsCalendarClass(itemClass)) AddDate("StartDate", &MailMessage::startDate);
    if (HasField(itemClass, ClassField::kEndDate)) AddDate("EndDate", &MailMessage::endDate);
    if (HasField(itemClass, ClassField::kDueDate)) AddDate("DueDate", &MailMessage::dueDate);
    if (HasField(itemClass, ClassField::kCaller)) AddCallerMembers();
    if (HasField(itemClass, ClassField::kDocument)) {
      AddProperty("DocumentLibrary", [this](Args) {
        Get("DocumentLibrary");
        return Variant(MakeObject<DocumentLibrary>(shared_, message_));
      });
      AddProperty("Document", [this](Args) {
        Get("Document");
        return Variant(MakeObject<Document>(shared_, message_));
      });
    }
  }

 private:
  std::string Qualified(std::string_view member) const {
    return ClassName() + "." + std::string(member);
  }
  MailMessage& Get(std::string_view member) const { return message_.Get(Qualified(member)); }
  // Only a message of the mailbox can be changed.
  Setter Writable(Setter setter) const { return message_.IsFiled() ? std::move(setter) : nullptr; }

  void AddFiledMembers() {
    AddProperty(
        "Read", [this](Args) { return Variant(Get("Read").read); },
        [this](const Variant& value) {
          const bool read = value.ToBool();
          message_.Box().SetRead(Get("Read"), read);
        });
    AddProperty("EnclosingFolders", [this](Args) {
      Get("EnclosingFolders");
      return Variant(MakeObject<EnclosingFolders>(shared_, message_));
    });
    AddMethod("Refresh", [this](Args args) {
      ExpectArgCount(args, 0, 0, Qualified("Refresh"));
      Get("Refresh");
      return Variant();
    });
    AddMethod("Delete", [this](Args args) {
      ExpectArgCount(args, 0, 0, Qualified("Delete"));
      message_.Box().RemoveMessage(Get("Delete").messageId);
      return Variant();
    });
  }

  void AddCallerMembers() {
    AddPlainText("CallerName", &MailMessage::callerName);
    AddPlainText("CallerCompany", &MailMessage::callerCompany);
    AddPlainText("PhoneNumber", &MailMessage::phoneNumber);
    AddFlag("Telephoned", &MailMessage::telephoned);
    AddFlag("WillCall", &MailMessage::willCall);
    AddFlag("WantsToSee", &MailMessage::wantsToSee);
    AddFlag("Urgent", &MailMessage::urgent);
    AddFlag("PleaseCall", &MailMessage::pleaseCall);
    AddFlag("ReturnedCall", &MailMessage::returnedCall);
    AddFlag("CameToSee", &MailMessage::cameToSee);
  }

  // Read, the member is a formatted-text object; written, it takes the plain text, as on the
  // calendar's items.
  void AddText(std::string name, TextField field, bool opens) {
    const std::string member = name;
    AddProperty(
        std::move(name),
        [this, member, field, opens](Args) {
          Get(member);
          return Variant(MakeObject<MessageText>(shared_, message_, field, opens));
        },
        Writable([this, member, field](const Variant& value) {
          message_.Box().Update(Get(member).*field, value.ToText());
        }));
  }
  void AddPlainText(std::string name, TextField field) {
    const std::string member = name;
    AddProperty(std::move(name),
                [this, member, field](Args) { return Variant(Get(member).*field); });
  }
  void AddFlag(std::string name, bool MailMessage::*field) {
    const std::string member = name;
    AddProperty(std::move(name),
                [this, member, field](Args) { return Variant(Get(member).*field); });
  }
  void AddDate(std::string name, platform::AutomationDate MailMessage::*field) {
    const std::string member = name;
    AddProperty(std::move(name),
                [this, member, field](Args) { return Variant(Get(member).*field); });
  }

  Shared shared_;
  MessageRef message_;
};

Object MessageObjectOf(const Shared& shared, MessageRef message) {
  const ItemClass itemClass = message.Get("Attachment.Message").itemClass;
  return MakeObject<MessageObject>(shared, std::move(message), itemClass);
}

}  // namespace

Object MakeFolder(const Shared& shared, const MailFolder& folder) {
  return MakeObject<FolderObject>(shared, folder.folderId);
}

Object MakeAllFolders(const Shared& shared) {
  return MakeObject<AllFolders>(shared);
}

Object MakeMessage(const Shared& shared, MailMessage& message) {
  return MakeObject<MessageObject>(shared, MessageRef(shared.mailbox, message), message.itemClass);
}

}  // namespace sim::groupwise
