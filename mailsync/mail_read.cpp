// Reading GroupWise mail into VMEMO records: the inbox (or the folder chosen instead) and the
// plug-in's own sent folder, within the date range and the size limit.

#include <cstdio>
#include <fstream>
#include <sstream>

#include "framework/data_types.h"
#include "framework/groupwise.h"
#include "framework/module_globals.h"
#include "framework/progress_reset.h"
#include "framework/text_codec.h"
#include "framework/text_util.h"
#include "framework/versit_date.h"
#include "mailsync/attachments.h"
#include "mailsync/mail_plugin.h"
#include "mailsync/mail_text.h"
#include "platform/file_io.h"

namespace mailsync {
namespace {

using framework::FormatText;
using framework::TEntry;
using platform::Object;
namespace gw = framework::groupwise;

constexpr std::string_view kQp = "QUOTED-PRINTABLE;CHARSET=UTF-8";
constexpr std::u16string_view kPhoneClass = u"GW.MESSAGE.PHONE";
constexpr int32_t kFileAttachment = 1;
constexpr int32_t kMessageAttachment = 2;
// The file a saved attachment may fill at the most: more than GroupWise keeps in one message.
constexpr std::size_t kLargestAttachment = std::size_t{1} << 31;

std::string QueryDate(platform::AutomationDate date) {
  const platform::CivilDateTime c = platform::DecodeAutomationDate(date);
  return std::to_string(c.year) + "/" + std::to_string(c.month) + "/" + std::to_string(c.day);
}

// Puts a message's Read flag back however the step that may change it ends.
class ReadRestorer {
 public:
  explicit ReadRestorer(const Object& message)
      : message_(message), read_(message.GetProperty("Read").ToBool()) {}
  ~ReadRestorer() {
    try {
      message_.PutProperty("Read", read_);
    } catch (const std::exception&) {
      // GroupWise keeps the flag it has; nothing of the record depends on it.
    }
  }
  ReadRestorer(const ReadRestorer&) = delete;
  ReadRestorer& operator=(const ReadRestorer&) = delete;

 private:
  Object message_;
  bool read_;
};

std::string ReadWholeFile(const std::string& path) {
  return platform::ReadFileWithin(path, kLargestAttachment);
}

// "Phone message: %s" with a wide subject: the pattern is the module's 8-bit text.
std::u16string FormatWide(const platform::CodePage& ansi, std::string_view pattern,
                          std::u16string_view argument) {
  const std::size_t at = pattern.find("%s");
  if (at == std::string_view::npos) return ansi.ToWide(pattern);
  return ansi.ToWide(pattern.substr(0, at)) + std::u16string(argument) +
         ansi.ToWide(pattern.substr(at + 2));
}

}  // namespace

std::string TISYNCHAPPU::SubjectText(const Object& message) {
  return Narrow(gw::GetPlainText(message, "Subject"));
}

bool TISYNCHAPPU::GetPIMEmails(framework::TEntryList& list) {
  try {
    framework::ProgressReset reset(Progress());
    Progress().SetAppText("Extracting GroupWise Email");
    Progress().SetRange(0, 0);
    Progress().SetValue(0);
    const std::string start = QueryDate(mailStartDate_), end = QueryDate(mailEndDate_);
    const platform::CodePage& ansi = Services().Ansi();
    const Object searchFolder = inboxOverride_ != 0
                                    ? FGWAccount.GetProperty("AllFolders")
                                          .ToObject()
                                          .Call("Item", {ansi.ToWide(inboxFolderId_)})
                                          .ToObject()
                                    : FGWAccount.GetProperty("MailBox").ToObject();
    if ((mailFolders_ & kMaskInbox) != 0) {
      ReadMessages(searchFolder,
                   FormatText("(MAIL OR PHONE_MESSAGE) AND (BOX_TYPE = INCOMING) AND (START_DATE "
                              ">= %s AT 00:00:00 AND START_DATE <= %s AT 23:59:59)",
                              {start, end}),
                   270, true, list);
    }
    if ((mailFolders_ & kMaskSent) != 0) {
      const Object sent = FGWAccount.GetProperty("AllFolders")
                              .ToObject()
                              .Call("Item", {ansi.ToWide(sentFolderId_)})
                              .ToObject();
      ReadMessages(sent,
                   FormatText("(MAIL OR PHONE_MESSAGE) AND (START_DATE >= %s AT 00:00:00 AND "
                              "START_DATE <= %s AT 23:59:59)",
                              {start, end}),
                   271, false, list);
    }
    // The outbox is not read: mail goes from the device's outbox to GroupWise only.
    return true;
  } catch (const std::exception& failure) {
    Trace(failure.what());
    list.Clear();
    return false;
  }
}

void TISYNCHAPPU::ReadMessages(const Object& folder, const std::string& query, int progressString,
                               bool restoreRead, framework::TEntryList& list) {
  const Object found = folder.GetProperty("Messages")
                           .ToObject()
                           .Call("Find", {Services().Ansi().ToWide(query)})
                           .ToObject();
  const int32_t count = gw::Count(found);
  for (int32_t i = 1; i <= count; ++i) {
    // A mailbox of large attachments takes long to read: the user may stop it between
    // messages, as the calendar reads allow.
    if (Progress().Aborted()) throw platform::Exception("User pressed cancel");
    const Object message = gw::ItemAt(found, i);
    // Reading the body and saving attachments mark a message read; an inbox message keeps the
    // state the user left it in, also when it is skipped or fails.
    std::optional<ReadRestorer> restorer;
    if (restoreRead) restorer.emplace(message);
    SavedAttachments saved;
    const uint32_t size = CalcMailSize(message, includeAttachments_, &saved);
    if (size > memoLimit_) {
      Trace(FormatText("Skipped message [%s] - Exceeded size limit", {SubjectText(message)}));
      continue;
    }
    // Put back before the record is built, which reads the state; then kept for what follows.
    if (restoreRead) restorer.emplace(message);
    const std::string subject = SubjectText(message);
    Progress().SetAppText(FormatText(framework::LoadModuleString(progressString),
                                     {std::to_string(i), std::to_string(count), subject}));
    auto entry = std::make_unique<TEntry>();
    entry->SetType(framework::data_type::kEmail);
    if (BuildMailEntry(*entry, message, &saved)) {
      list.Add(std::move(entry));
    } else {
      Progress().Log(FormatText(framework::LoadModuleString(269), {subject}),
                     framework::LoadModuleString(268), 1);
    }
  }
}

int64_t TISYNCHAPPU::MessageTextSize(const Object& message) {
  int64_t size = 0;
  try {
    size += static_cast<int64_t>(Narrow(gw::GetPlainText(message, "BodyText")).size());
  } catch (const platform::Exception&) {
    // A body GroupWise cannot give counts nothing.
  }
  try {
    size += static_cast<int64_t>(SubjectText(message).size());
  } catch (const platform::Exception&) {
  }
  try {
    const Object recipients = message.GetProperty("Recipients").ToObject();
    const int32_t count = gw::Count(recipients);
    for (int32_t i = 1; i <= count; ++i) {
      size += static_cast<int64_t>(
          Narrow(gw::ItemAt(recipients, i).GetProperty("EmailAddress").ToText()).size());
    }
  } catch (const platform::Exception&) {
  }
  return size;
}

bool TISYNCHAPPU::IsSynchronizedFile(const Object& attachment) {
  if (supportedOnly_ == 0) return true;
  return HasExtension(supportedExtensions_,
                      ExtensionOf(Narrow(attachment.GetProperty("FileName").ToText())));
}

std::string TISYNCHAPPU::SaveAttachment(const Object& attachment, int32_t position,
                                        const platform::TempFolder& folder) {
  // A name of the plug-in's own: the attachment's may hold folders or characters the file
  // system refuses, and two attachments may share one.
  const std::string path = folder.FileIn("CRV" + std::to_string(position) + ".tmp");
  attachment.Call("Save", {Services().Ansi().ToWide(path)});
  return path;
}

uint32_t TISYNCHAPPU::CalcMailSize(const Object& message, bool withAttachments,
                                   SavedAttachments* saved) {
  try {
    int64_t total = MessageTextSize(message);
    if (withAttachments) {
      const Object attachments = message.GetProperty("Attachments").ToObject();
      const int32_t count = gw::Count(attachments);
      for (int32_t i = 1; i <= count; ++i) {
        const Object attachment = gw::ItemAt(attachments, i);
        const int32_t type = attachment.GetProperty("ObjType").ToInt32();
        if (type == kFileAttachment) {
          if (!IsSynchronizedFile(attachment)) continue;
          SavedAttachments local;
          SavedAttachments& keep = saved ? *saved : local;
          if (!keep.folder) keep.folder = platform::TempFolder::Create(Services().Env(), "CRV");
          const std::string path = SaveAttachment(attachment, i, *keep.folder);
          std::ifstream file(path, std::ios::binary | std::ios::ate);
          if (!file) throw platform::Exception("The saved attachment cannot be read");
          total += static_cast<int64_t>(file.tellg());
          keep.paths[i] = path;
        } else if (type == kMessageAttachment) {
          const Object inner = attachment.GetProperty("Message").ToObject();
          total += MessageTextSize(inner);
          const Object innerAttachments = inner.GetProperty("Attachments").ToObject();
          const int32_t innerCount = gw::Count(innerAttachments);
          for (int32_t j = 1; j <= innerCount; ++j) {
            const Object innerAttachment = gw::ItemAt(innerAttachments, j);
            if (innerAttachment.GetProperty("ObjType").ToInt32() == kMessageAttachment) {
              total += MessageTextSize(innerAttachment.GetProperty("Message").ToObject());
            }
          }
        }
      }
    }
    Trace(FormatText("Mail size [%s]: %d bytes", {SubjectText(message), std::to_string(total)}));
    return static_cast<uint32_t>(std::min<int64_t>(total, UINT32_MAX));
  } catch (const std::exception& failure) {
    Trace(FormatText("Error calcing size: %s", {failure.what()}));
    return 0;
  }
}

std::string TISYNCHAPPU::GetRecipientList(const Object& message, int32_t kind) {
  try {
    const Object recipients = message.GetProperty("Recipients").ToObject();
    const int32_t count = gw::Count(recipients);
    std::string list;
    for (int32_t i = 1; i <= count; ++i) {
      const Object recipient = gw::ItemAt(recipients, i);
      if (recipient.GetProperty("TargetType").ToInt32() != kind) continue;
      list += Narrow(recipient.GetProperty("EmailAddress").ToText()) + ";";
    }
    if (!list.empty()) list.pop_back();
    return list;
  } catch (const std::exception&) {
    return {};
  }
}

bool TISYNCHAPPU::BuildMailEntry(TEntry& entry, const Object& message, SavedAttachments* saved) {
  try {
    const platform::CodePage& ansi = Services().Ansi();
    const bool isPhone = message.GetProperty("ClassName").ToText() == kPhoneClass;
    const bool read = message.GetProperty("Read").ToBool();
    framework::TvProperties& out = entry.Properties;
    out.Add("BEGIN", "", "VMEMO");
    out.Add("UID", "", Narrow(message.GetProperty("MessageID").ToText()));
    std::u16string subject = gw::GetPlainText(message, "Subject");
    if (isPhone) {
      subject = FormatWide(ansi, framework::LoadModuleString(272), subject);
      const std::u16string company = message.GetProperty("CallerCompany").ToText();
      if (!company.empty()) subject += u" [" + company + u"]";
    }
    out.Add("SUBJECT", kQp, framework::EncodeUtf8(subject).text);
    out.Add("DATE", "", framework::DateTimeToVersit(message.GetProperty("CreationDate").ToDate()));

    std::string folder;
    try {
      const std::string id = Narrow(message.GetProperty("EnclosingFolders")
                                        .ToObject()
                                        .Call("Item", {int32_t{1}})
                                        .ToObject()
                                        .GetProperty("FolderID")
                                        .ToText());
      if (id == sentFolderId_)
        folder = "<Sent>";
      else if (id == deletedFolderId_)
        folder = "<Deleted>";
    } catch (const platform::Exception&) {
      // A message in no folder is placed by its box.
    }
    if (folder.empty()) {
      const int32_t box = message.GetProperty("BoxType").ToInt32();
      if (box == 1) folder = "<Inbox>";
      if (box == 2) folder = "<Outbox>";
    }
    out.Add("FOLDER", "", folder);
    out.Add("STATUS", "", read ? "READ" : "UNREAD");
    const int32_t priority = message.GetProperty("Priority").ToInt32();
    out.Add("PRIORITY", "", priority >= 1 && priority <= 3 ? std::to_string(4 - priority) : "");
    std::string from;
    try {
      from = Narrow(message.GetProperty("Sender").ToObject().GetProperty("EmailAddress").ToText());
    } catch (const platform::Exception&) {
      // The From text still names the sender.
    }
    if (from.empty()) from = ExtractEmailAddress(Narrow(message.GetProperty("FromText").ToText()));
    out.Add("FROM", "", from);
    constexpr std::pair<std::string_view, int32_t> kRecipientKinds[] = {
        {"TO", 0}, {"CC", 1}, {"BCC", 2}};
    for (const auto& [name, kind] : kRecipientKinds) {
      const std::string list = GetRecipientList(message, kind);
      if (!list.empty()) out.Add(name, "", list);
    }
    std::string body = framework::EncodeUtf8(gw::GetPlainText(message, "BodyText")).text;
    if (body.empty()) body = " ";
    if (isPhone) {
      body += "\r\n\r\n";
      constexpr std::pair<std::string_view, int> kFlags[] = {
          {"Telephoned", 273}, {"WillCall", 274},     {"WantsToSee", 275}, {"Urgent", 276},
          {"PleaseCall", 277}, {"ReturnedCall", 278}, {"CameToSee", 279}};
      for (const auto& [member, text] : kFlags) {
        if (message.GetProperty(member).ToBool()) body += framework::LoadModuleString(text);
      }
    }
    out.Add("BODY", kQp, body);
    if (includeAttachments_) AppendAttachments(entry, message, saved);
    out.Add("END", "", "VMEMO");
    message.PutProperty("Read", read);
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("Error in BuildMailEntry: %s", {failure.what()}));
    return false;
  }
}

void TISYNCHAPPU::AppendAttachments(TEntry& entry, const Object& message, SavedAttachments* saved) {
  const platform::CodePage& ansi = Services().Ansi();
  const Object attachments = message.GetProperty("Attachments").ToObject();
  const int32_t count = gw::Count(attachments);
  std::optional<platform::TempFolder> folder;
  for (int32_t i = 1; i <= count; ++i) {
    const Object attachment = gw::ItemAt(attachments, i);
    const int32_t type = attachment.GetProperty("ObjType").ToInt32();
    if (type == kFileAttachment) {
      if (!IsSynchronizedFile(attachment)) continue;
      std::string path;
      if (saved) {
        const auto kept = saved->paths.find(i);
        if (kept != saved->paths.end()) path = kept->second;
      }
      if (path.empty()) {
        try {
          if (!folder) folder = platform::TempFolder::Create(Services().Env(), "CRV");
        } catch (const std::exception&) {
          continue;  // without a temporary folder file attachments are left out
        }
        path = SaveAttachment(attachment, i, *folder);
      }
      TBinaryAttachment file;
      file.fileName = FileNamePart(attachment.GetProperty("FileName").ToText());
      file.contents = ReadWholeFile(path);
      std::remove(path.c_str());  // a large attachment leaves the disk as soon as it is read
      file.AppendTo(entry, ansi, i);
    } else if (type == kMessageAttachment) {
      if (supportedOnly_ != 0 && !HasExtension(supportedExtensions_, ".TXT")) continue;
      const TAttachmentProcessor processor(Services(),
                                           attachment.GetProperty("Message").ToObject());
      TBinaryAttachment text;
      text.fileName = ansi.ToWide(processor.FileName());
      text.contents = processor.Text();
      text.AppendTo(entry, ansi, i);
      if (processor.NoBodyText()) attachmentNoticePending_ = true;
    }
  }
}

}  // namespace mailsync
