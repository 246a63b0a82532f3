// Mail from the device into GroupWise: a mail written on the device is sent and filed in the
// plug-in's sent folder, a changed mail gets the device's changes, a deleted one is moved into
// the plug-in's deleted folder (nothing is erased).

#include <algorithm>
#include <vector>

#include "framework/exceptions.h"
#include "framework/groupwise.h"
#include "framework/module_globals.h"
#include "framework/progress_reset.h"
#include "framework/text_codec.h"
#include "framework/text_util.h"
#include "mailsync/attachments.h"
#include "mailsync/mail_plugin.h"

namespace mailsync {
namespace {

using framework::FormatText;
using framework::TEntry;
using framework::TvPropertyView;
using platform::Object;
using platform::Variant;
namespace gw = framework::groupwise;

constexpr std::string_view kVmail = "VMAIL";
constexpr std::string_view kSentFolderText = "<Sent>";
constexpr int32_t kResolvedAddress = 3;
constexpr int32_t kNewMailKind = 4;

// An insert of a record from another folder than the device's outbox: only the outbox holds
// mail to send.
class EUnsupportedAdd : public platform::Exception {
 public:
  using Exception::Exception;
};

// A mail none of whose recipients GroupWise knows; the text is its subject.
class ENoRecipients : public platform::Exception {
 public:
  using Exception::Exception;
};

uint8_t BoxKindOf(std::string_view folder) {
  if (folder == "<Draft>") return kDraftBox;
  if (folder == kSentFolderText) return kSentBox;
  if (folder == "<Outbox>") return kOutboxBox;
  if (folder == "<Inbox>") return kInboxBox;
  return kOtherBox;
}

// "a; b;c" as the addresses "a", " b", "c": the list is trimmed as a whole, each address is
// taken as it stands, GroupWise resolving it. A line break parts addresses as ";" does, and an
// empty address (";;") is none.
std::vector<std::string_view> SplitAddresses(std::string_view list) {
  std::vector<std::string_view> addresses;
  const std::string_view trimmed = framework::TrimControl(list);
  std::size_t start = 0;
  while (start <= trimmed.size()) {
    const std::size_t end = std::min(trimmed.find_first_of(";\r\n", start), trimmed.size());
    const std::string_view address = trimmed.substr(start, end - start);
    if (!address.empty()) addresses.push_back(address);
    start = end + 1;
  }
  return addresses;
}

// Opens the record's VMAIL frame again around what BuildMailEntry makes of the mail.
void StartMailRecord(TEntry& entry) {
  entry.Properties.Clear();
  entry.Properties.Add("BEGIN", "", kVmail);
  entry.Properties.Add("VERSION", "", "1.0");
}

}  // namespace

Object TISYNCHAPPU::FolderById(const std::string& id) const {
  return FGWAccount.Call("GetFolder", {Services().Ansi().ToWide(id)}).ToObject();
}

Object TISYNCHAPPU::EnclosingMessages(const Object& mail) {
  return mail.GetProperty("EnclosingFolders")
      .ToObject()
      .Call("Item", {int32_t{1}})
      .ToObject()
      .GetProperty("Messages")
      .ToObject();
}

void TISYNCHAPPU::MoveMailTo(const Object& mail, const Object& folder) {
  // GroupWise's answer is not needed: the next read shows where the mail is.
  EnclosingMessages(mail).Call("Move",
                               {mail.GetProperty("MessageID"), folder.GetProperty("Messages")});
}

int TISYNCHAPPU::AddRecipients(const Object& mail, std::string_view list, int32_t kind) {
  try {
    if (!mail) return 0;
    const Object recipients = mail.GetProperty("Recipients").ToObject();
    int resolved = 0;
    for (const std::string_view address : SplitAddresses(list)) {
      Object recipient;
      try {
        recipient =
            recipients.Call("Add", {Services().Ansi().ToWide(address), Variant::Null(), kind})
                .ToObject();
        recipient.Call("Resolve", {Variant::Null()});
        if (recipient.GetProperty("Resolved").ToInt32() == kResolvedAddress) {
          ++resolved;
          continue;
        }
      } catch (const std::exception&) {
        // Reported like an address GroupWise does not know.
      }
      Trace(FormatText("Could not resolve address: %s", {std::string(address)}));
      try {
        Progress().Log(FormatText(framework::LoadModuleString(281), {std::string(address)}),
                       FormatText(framework::LoadModuleString(280), {SubjectText(mail)}), 1);
        if (recipient) recipient.Call("Delete");
      } catch (const std::exception& failure) {
        Trace(FormatText("Could not remove the address: %s", {failure.what()}));
      }
    }
    return resolved;
  } catch (const std::exception&) {
    return 0;
  }
}

void TISYNCHAPPU::ApplyProperty(const Object& mail, TvPropertyView property, uint8_t& boxKind) {
  const platform::CodePage& ansi = Services().Ansi();
  const std::string_view name = property.Name;
  if (name == "SUBJECT") {
    gw::SetPlainText(mail, "Subject", framework::DecodeUtf8(property.Value, ansi));
  } else if (name == "TO" || name == "CC" || name == "BCC") {
    AddRecipients(mail, property.Value, name == "TO" ? 0 : name == "CC" ? 1 : 2);
  } else if (name == "BODY") {
    gw::SetPlainText(mail, "BodyText", framework::DecodeUtf8(property.Value, ansi));
  } else if (name == "STATUS") {
    mail.PutProperty("Read", property.Value == "READ");
  } else if (name == "PRIORITY") {
    // The device's scale runs the other way from GroupWise's, as the read turns it: the
    // priority a mail is read with must be the one it is written back with, or it flips at
    // every change the device makes. Any other value counts as the device's lowest.
    mail.PutProperty("Priority", property.Value == "1" ? 3 : property.Value == "2" ? 2 : 1);
  } else if (name == "FOLDER") {
    boxKind = BoxKindOf(property.Value);
    if (boxKind == kSentBox) {
      const Object sent = FolderById(sentFolderId_);
      if (!sent)
        throw platform::Exception("Could not obtain an instance of the sent folder object.");
      MoveMailTo(mail, sent);
    } else if (boxKind == kInboxBox) {
      const Object mailbox = FGWAccount.GetProperty("MailBox").ToObject();
      if (!mailbox) {
        throw platform::Exception("Could not obtain an instance of the mailbox folder object.");
      }
      MoveMailTo(mail, mailbox);
    }
  } else if (name == "ATTACH" && property.IsBinary()) {
    const Object attachments = mail.GetProperty("Attachments").ToObject();
    if (!property.Value.empty()) {
      const TBinaryAttachmentDecode file(Services().Env(), property.Value);
      // The device's name as it wrote it: narrowing it to the ANSI code page on its way would
      // turn a Greek file name into question marks.
      attachments.Call("Add", {ansi.ToWide(file.TemporaryFile()), int32_t{1},
                               framework::DecodeUtf8(file.AttachmentName(), ansi)});
    } else if (const auto named = property.GetParameterValue("NAME")) {
      RemoveAttachment(attachments, *named, ansi, [this](const std::string& line) { Trace(line); });
    }
  }
}

bool TISYNCHAPPU::UpdateMail(const Object& mail, TEntry& entry, uint8_t& boxKind) {
  try {
    if (!mail) throw framework::EAbort();
    boxKind = kNoFolder;
    // Every attachment's bytes are known before the mail changes at all: a record the device
    // sent damaged must not leave a half-changed mail behind.
    for (const TvPropertyView property : entry.Properties) {
      if (property.Name == "ATTACH" && property.IsBinary() && !property.Value.empty()) {
        TBinaryAttachmentDecode::Check(property.Value);
      }
    }
    for (const TvPropertyView property : entry.Properties) {
      ApplyProperty(mail, property, boxKind);
    }
    mail.Call("Refresh");
    entry.SetUID(Narrow(mail.GetProperty("MessageID").ToText()));
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("Error Updating email: %s", {failure.what()}));
    return false;
  }
}

void TISYNCHAPPU::DiscardUnsentMail(const Object& draft) {
  try {
    draft.Call("Delete");
  } catch (const std::exception& failure) {
    Trace(FormatText("The unsent mail could not be removed from GroupWise: %s", {failure.what()}));
  }
}

bool TISYNCHAPPU::AddPIMEmail(TEntry& entry) {
  framework::ProgressReset reset(Progress());
  Object draft;
  try {
    Progress().SetAppText("");
    Progress().SetRange(0, 0);
    Progress().SetValue(0);
    if (entry.Properties.Count() == 0) throw framework::EAbort();
    const Object sentFolder = FolderById(sentFolderId_);
    const std::string folder = entry.FindValue("FOLDER").value_or("");
    if (folder != "<Outbox>") throw EUnsupportedAdd(folder);
    draft = gwMailbox_.GetProperty("Messages")
                .ToObject()
                .Call("Add", {Variant::Null(), kNewMailKind, Variant::Null()})
                .ToObject();
    uint8_t boxKind = kOutboxBox;
    if (!UpdateMail(draft, entry, boxKind)) {
      throw platform::Exception("Call to UpdateMail returned FALSE");
    }
    if (gw::Count(draft.GetProperty("Recipients").ToObject()) == 0) {
      throw ENoRecipients(SubjectText(draft));
    }
    const Object sent = draft.Call("Send").ToObject();
    if (!sent) throw framework::EAbort();
    FileSentMail(entry, sent, sentFolder);
    return true;
  } catch (const ENoRecipients& failure) {
    // The device keeps the user's text; a copy left here would be one more at every retry.
    DiscardUnsentMail(draft);
    Progress().Log(FormatText(framework::LoadModuleString(267), {failure.what()}),
                   framework::LoadModuleString(266), 1);
    return false;
  } catch (const EUnsupportedAdd& failure) {
    Trace(FormatText("Unsupported ADD in AddPIMEmail, folder [%s]", {failure.what()}));
    return false;
  } catch (const std::exception& failure) {
    Trace(FormatText("Error in AddPIMEmail: %s", {failure.what()}));
    if (draft) DiscardUnsentMail(draft);
    return false;
  }
}

void TISYNCHAPPU::FileSentMail(TEntry& entry, const Object& sent, const Object& sentFolder) {
  // Filed first, so that the record tells the device where the mail now is.
  std::string problem;
  try {
    sent.Call("Refresh");
    MoveMailTo(sent, sentFolder);
  } catch (const std::exception& failure) {
    problem = failure.what();
  }
  StartMailRecord(entry);
  if (!BuildMailEntry(entry, sent)) {
    if (problem.empty()) problem = "Call to BuildMailEntry returned FALSE";
    // What the device needs to take the mail for sent: its id and the folder.
    StartMailRecord(entry);
    entry.Properties.Add("BEGIN", "", "VMEMO");
    std::string uid;
    try {
      uid = Narrow(sent.GetProperty("MessageID").ToText());
    } catch (const std::exception&) {
      // The device then keeps its own record of the mail, marked sent.
    }
    entry.Properties.Add("UID", "", uid);
    entry.Properties.Add("FOLDER", "", kSentFolderText);
    entry.Properties.Add("END", "", "VMEMO");
  } else {
    // A mail that stayed where Send left it still went: the device must not send it again.
    for (std::size_t i = 0; i < entry.Properties.Count(); ++i) {
      if (entry.Properties[i].Name == "FOLDER") entry.Properties.SetValue(i, kSentFolderText);
    }
  }
  entry.Properties.Add("END", "", kVmail);
  if (!problem.empty()) {
    Trace(FormatText("AddPIMEmail: the mail was sent, but: %s", {problem}));
    try {
      Progress().Log(FormatText("The mail \"%s\" was sent, but it could not be filed in the "
                                "plug-in's sent folder: %s",
                                {SubjectText(sent), problem}),
                     "Mail sent", 1);
    } catch (const std::exception&) {
      // The trace has it.
    }
  }
}

bool TISYNCHAPPU::ModifyPIMEmail(TEntry& entry) {
  try {
    const std::string uid = entry.GetUID();
    if (uid.empty()) throw framework::EAbort();
    const Object mail = FGWAccount.Call("GetMessage", {Services().Ansi().ToWide(uid)}).ToObject();
    if (!mail) throw platform::Exception("The mail message to be edited could not be located.");
    uint8_t boxKind = kNoFolder;
    if (!UpdateMail(mail, entry, boxKind)) throw framework::EAbort();
    mail.Call("Refresh");
    StartMailRecord(entry);
    if (!BuildMailEntry(entry, mail))
      throw platform::Exception("The call to BuildMailEntry failed.");
    entry.Properties.Add("END", "", kVmail);
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("Error in ModifyPIMEmail: %s", {failure.what()}));
    return false;
  }
}

bool TISYNCHAPPU::DeletePIMEmail(TEntry& entry) {
  try {
    const std::string uid = entry.FindValue("UID").value_or("");
    if (uid.empty())
      throw platform::Exception("Could not determine the UID of the message to delete.");
    const Object deleted = FolderById(deletedFolderId_);
    if (!deleted) {
      throw platform::Exception("Could not obtain an instance of the deleted folder object.");
    }
    const Object mail = FGWAccount.Call("GetMessage", {Services().Ansi().ToWide(uid)}).ToObject();
    if (!mail)
      throw platform::Exception("Could not obtain an instance of the original email object.");
    const Variant moved = EnclosingMessages(mail).Call(
        "Move", {mail.GetProperty("MessageID"), deleted.GetProperty("Messages")});
    if (moved.IsEmptyOrNull()) throw platform::Exception("The Message.Move method returned Nil.");
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("Error in DeletePIMEmail: %s", {failure.what()}));
    return false;
  }
}

}  // namespace mailsync
