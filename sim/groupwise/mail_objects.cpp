// The mail and phone messages in the folders, with their senders, recipients and attachments,
// and the items attached to them.

#include <filesystem>
#include <utility>
#include <vector>

#include "platform/file_io.h"
#include "sim/groupwise/mail_refs.h"
#include "sim/groupwise/store.h"

namespace sim::groupwise {
namespace {

using platform::Object;

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
    AddProperty("Resolved", [recipient](Args) {
      return Variant(recipient.Get("Recipient.Resolved").resolved);
    });
    // Resolve(Null) looks the address up among the account's known addresses; an address it
    // does not know stays as it is, to be sent as written.
    AddMethod("Resolve", [recipient](Args args) {
      constexpr std::string_view kMember = "Recipient.Resolve";
      ExpectArgCount(args, 0, 1, kMember);
      if (!args.empty() && !Arg(args, 0, kMember).IsEmptyOrNull()) {
        RaiseBadArgument(kMember, "only Null is modelled as the argument");
      }
      recipient.message.Changeable(kMember);
      Recipient& found = recipient.Get(kMember);
      Mailbox& mailbox = recipient.message.Box();
      if (const MailAddress* known = mailbox.FindKnownAddress(found.emailAddress)) {
        mailbox.Update(found.displayName, known->displayName);
        mailbox.Update(found.resolved, kResolved);
      } else {
        mailbox.Update(found.resolved, kUnknownAddress);
      }
      return Variant();
    });
    AddMethod("Delete", [recipient](Args args) {
      ExpectArgCount(args, 0, 0, "Recipient.Delete");
      recipient.Erase("Recipient.Delete");
      return Variant();
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
    // Add(address, Null, kind): a recipient of that address, To (0), CC (1) or BC (2), not
    // resolved yet. What else the second argument can say is not modelled.
    AddMethod("Add", [shared, message](Args args) {
      constexpr std::string_view kMember = "Recipients.Add";
      ExpectArgCount(args, 1, 3, kMember);
      Recipient added;
      added.emailAddress = Arg(args, 0, kMember).ToText();
      if (added.emailAddress.empty()) RaiseBadArgument(kMember, "a recipient needs an address");
      if (args.size() >= 2 && !Arg(args, 1, kMember).IsEmptyOrNull()) {
        RaiseBadArgument(kMember, "only Null is modelled as the second argument");
      }
      if (args.size() == 3 && !Arg(args, 2, kMember).IsEmptyOrNull()) {
        added.targetType = Arg(args, 2, kMember).ToInt32();
        if (added.targetType < kTo || added.targetType > kBc) {
          RaiseBadArgument(kMember, "a recipient is To (0), CC (1) or BC (2)");
        }
      }
      return Variant(MakeObject<RecipientObject>(
          shared, RecipientRef::Added(message, kMember, [&] { return std::move(added); })));
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

// The path of the file functions for a path GroupWise was given: in the host's ANSI code page,
// and with "/" for "\\" where that is the separator. Raises what Windows would refuse.
std::string BytePath(const Shared& shared, const std::u16string& path, std::string_view member) {
  if (const std::string fault = WindowsPathFault(path); !fault.empty()) {
    Raise(member, Quoted(path) + ": " + fault);
  }
  static const platform::Windows1252 kDefaultAnsi;
  const platform::CodePage& ansi = shared.ansi ? *shared.ansi : kDefaultAnsi;
  std::string bytePath = ansi.ToAnsi(path);
  if (ansi.ToWide(bytePath) != path) {
    Raise(member, Quoted(path) + ": the path holds characters the code page cannot show");
  }
  if (std::filesystem::path::preferred_separator == '/') {
    for (char& c : bytePath) {
      if (c == '\\') c = '/';
    }
  }
  return bytePath;
}

// Writes the bytes of a file attachment to `path`, replacing a file there. The folder must
// exist: as on Windows, none is made.
void SaveAttachment(const Shared& shared, const Attachment& attachment,
                    const std::u16string& path) {
  constexpr std::string_view kMember = "Attachment.Save";
  if (attachment.objType == kMessageAttachment) {
    Raise(kMember, "An attached item is no file; Message holds it");
  }
  const std::string bytePath = BytePath(shared, path, kMember);
  try {
    platform::ReplaceFile(
        bytePath, attachment.data ? std::string_view(*attachment.data) : std::string_view());
  } catch (const platform::FileError& error) {
    Raise(kMember, error.what());
  }
}

// The largest file Attachments.Add takes: in base64 it fills a store (kStoreFileLimit), so a
// larger one is refused when it is attached, not when the store is saved or loaded again.
constexpr std::size_t kLargestAttachedFile = kStoreFileLimit / 4 * 3;

// Add(path, 1, name): a file attachment of the bytes the file holds now, named `name`, or by
// the file's own name, the last part of the path, when the name is empty or not given.
// Another kind than a file (1) is not modelled.
Attachment FileToAttach(const Shared& shared, Args args, std::string_view member) {
  SimObject::ExpectArgCount(args, 1, 3, member);
  const std::u16string path = SimObject::Arg(args, 0, member).ToText();
  if (args.size() >= 2 && !SimObject::Arg(args, 1, member).IsEmptyOrNull() &&
      SimObject::Arg(args, 1, member).ToInt32() != kFileAttachment) {
    SimObject::RaiseBadArgument(member, "only 1, a file, is modelled as the second argument");
  }
  std::u16string name;
  if (args.size() == 3 && !SimObject::Arg(args, 2, member).IsEmptyOrNull()) {
    name = SimObject::Arg(args, 2, member).ToText();
  }
  Attachment attachment;
  attachment.objType = kFileAttachment;
  try {
    attachment.data = std::make_shared<const std::string>(
        platform::ReadFileWithin(BytePath(shared, path, member), kLargestAttachedFile));
  } catch (const platform::FileError& error) {
    Raise(member, error.what());
  }
  if (name.empty()) name = path.substr(path.find_last_of(u"\\/:") + 1);
  attachment.fileName = name;
  attachment.displayName = std::move(name);
  return attachment;
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
      attachment.Erase("Attachment.Delete");
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
    AddMethod("Add", [shared, message](Args args) {
      constexpr std::string_view kMember = "Attachments.Add";
      return Variant(MakeObject<AttachmentObject>(
          shared, AttachmentRef::Added(message, kMember,
                                       [&] { return FileToAttach(shared, args, kMember); })));
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
// Recipients and Attachments; a message of the mailbox also Read, EnclosingFolders, Refresh,
// Delete and Send (which only a draft with a recipient takes). Appointments, tasks and notes have
// StartDate, appointments EndDate and tasks DueDate; phone messages have their caller's members,
// document references DocumentLibrary and Document. Any other member is an unknown name, as on
// GroupWise's objects. Subject, BodyText, Read and Priority of a message of the mailbox can be
// written, and its recipients and attachments added and deleted; nothing of an attached item.
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
      return Variant(MakeEnclosingFolders(shared_, message_));
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
    // Send() answers the sent mail; this draft is gone from then on.
    AddMethod("Send", [this](Args args) {
      const std::string member = Qualified("Send");
      ExpectArgCount(args, 0, 0, member);
      MailMessage& draft = Get("Send");
      MailMessage* sent = nullptr;
      try {
        sent = &message_.Box().SendDraft(draft, Now(shared_));
      } catch (const platform::Exception& error) {
        Raise(member, error.what());
      }
      return Variant(MakeMessage(shared_, *sent));
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

Object MakeMessage(const Shared& shared, MailMessage& message) {
  return MakeObject<MessageObject>(shared, MessageRef(shared.mailbox, message), message.itemClass);
}

}  // namespace sim::groupwise
