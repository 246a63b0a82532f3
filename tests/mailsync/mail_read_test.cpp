// The mail plug-in against the simulated GroupWise: its folders found, corrected or made once,
// and the inbox and its own sent folder read into VMEMO records with their attachments.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "framework/registry_nt.h"
#include "framework/text_codec.h"
#include "framework/text_util.h"
#include "framework/versit_property.h"
#include "tests/mailsync/mail_harness.h"
#include "tests/support/bytes.h"
#include "tests/support/scratch_folder_test.h"

namespace mailsync {
namespace {

using testing_harness::AddMail;
using testing_harness::At;
using testing_harness::File;
using testing_harness::kExtensionsKey;
using testing_harness::kFoldersKey;
using testing_harness::MailHost;
using testing_harness::Recipient;
using testing_support::Crlf;
using testing_support::FirstDifference;
namespace block_c = framework::block_c_mail;

std::optional<std::string> StoredId(MailHost& mail, std::string_view value) {
  framework::TRegistryNT key(mail.host.platform.registry);
  if (!key.OpenKey("\\" + std::string(kFoldersKey), false)) return std::nullopt;
  return key.ReadString(value);
}

sim::Attachment Attached(sim::MailMessage item) {
  sim::Attachment attachment;
  attachment.objType = sim::kMessageAttachment;
  attachment.item = sim::AttachedItem(std::move(item));
  return attachment;
}

TEST(MailFolders, AreMadeOnceAfterTheDialogThenFoundByTheirIdsOrByName) {
  MailHost first;
  first.Start();
  ASSERT_EQ(first.host.platform.ui.folderNameDialogs.size(), 1u);
  EXPECT_EQ(first.host.platform.ui.folderNameDialogs[0].proposed, "Z380");
  const std::string base = first.plugin->BaseFolderId();
  EXPECT_EQ(StoredId(first, "EPOC Folder ID"), base);
  EXPECT_EQ(StoredId(first, "Sent Folder ID"), first.plugin->SentFolderId());
  EXPECT_EQ(StoredId(first, "Deleted Folder ID"), first.plugin->DeletedFolderId());
  const sim::MailFolder* made =
      first.groupwise.mailbox->FindFolder(first.host.platform.Ansi().ToWide(base));
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->name == u"Z380");
  EXPECT_EQ(made->subfolders.size(), 2u);

  struct Case {
    const char* name;
    std::function<void(MailHost&)> setUp;
    bool baseIdCorrected;
  };
  const Case cases[] = {
      {"ids_kept", [](MailHost&) {}, false},
      {"stale_base_id_found_by_name",
       [](MailHost& m) {
         m.host.platform.registry.SetString(platform::RegistryRoot::kCurrentUser, kFoldersKey,
                                            "EPOC Folder ID", "SIM.GONE");
       },
       true},
  };
  for (const Case& c : cases) {
    MailHost again;
    *again.groupwise.mailbox = *first.groupwise.mailbox;
    again.host.platform.registry.SetString(platform::RegistryRoot::kCurrentUser, kFoldersKey,
                                           "EPOC Folder ID", base);
    again.host.platform.registry.SetString(platform::RegistryRoot::kCurrentUser, kFoldersKey,
                                           "Sent Folder ID", first.plugin->SentFolderId());
    again.host.platform.registry.SetString(platform::RegistryRoot::kCurrentUser, kFoldersKey,
                                           "Deleted Folder ID", first.plugin->DeletedFolderId());
    c.setUp(again);
    again.Start();
    EXPECT_TRUE(again.host.platform.ui.folderNameDialogs.empty()) << c.name;
    EXPECT_EQ(StoredId(again, "EPOC Folder ID"), base) << c.name;
    EXPECT_EQ(again.groupwise.mailbox->folders.size(), first.groupwise.mailbox->folders.size())
        << c.name << ": a folder was made again";
  }
}

TEST(MailFolders, ADialogEndedWithoutOkFailsOpenAndWritesNoIds) {
  MailHost mail;
  mail.host.platform.ui.folderNames.answers = {std::nullopt};
  ASSERT_EQ(mail.Init(), 0);
  EXPECT_EQ(mail.plugin->Open(mail.host.progressObject), 1);
  ASSERT_EQ(mail.host.platform.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(mail.host.platform.ui.messageBoxes[0].caption, "Quorl Z380 2000 Error");
  EXPECT_EQ(mail.host.platform.ui.messageBoxes[0].text,
            "The base Psion Sent folder could not be located/created in GroupWise.");
  EXPECT_FALSE(StoredId(mail, "EPOC Folder ID").has_value());
}

// One mail with every field and the three kinds of attachment it may carry; the record as the
// device gets it, byte for byte.
TEST(MailRead, AMailBecomesItsVmemoRecordAndStaysUnread) {
  MailHost mail;
  sim::MailMessage& message = AddMail(mail, u"Caf\u00E9", At(5, 8));
  message.priority = 1;
  message.sender = {u"Anna", u""};  // no address: the From text gives it
  message.recipients.push_back(Recipient(sim::kCc, u"cc1@example.com"));
  message.recipients.push_back(Recipient(sim::kCc, u"cc2@example.com"));
  message.attachments.push_back(File(u"a.txt", "abc"));
  sim::MailMessage forwarded;
  forwarded.itemClass = sim::ItemClass::kMail;
  forwarded.subject = u"Re: Budget? 2001";
  forwarded.fromText = u"Bob <bob@example.com>";
  forwarded.attachments.push_back(File(u"plan.doc", "x"));
  message.attachments.push_back(Attached(std::move(forwarded)));
  mail.Start();
  std::string stream;
  ASSERT_EQ(mail.Read(stream), 0) << mail.TraceText();
  const std::string forwardedText = Crlf(
      "From: bob@example.com|Subject: Re: Budget? 2001||<No body text available>||"
      "Attachments:|File: plan.doc|==============================|");
  EXPECT_EQ(
      FirstDifference(
          stream, Crlf("BEGIN:VMAIL|VERSION:1.0|BEGIN:VMEMO|UID:" +
                       framework::Utf16ToUtf8(message.messageId) +
                       "|SUBJECT;QUOTED-PRINTABLE;CHARSET=UTF-8:Caf=C3=A9|DATE:20001205T080000|"
                       "FOLDER:<Inbox>|STATUS:UNREAD|PRIORITY:3|FROM:anna@example.com|"
                       "TO:jane@example.com|CC:cc1@example.com;cc2@example.com|"
                       "BODY;QUOTED-PRINTABLE;CHARSET=UTF-8:Body|"
                       "ATTACH;NAME=a.txt;VALUE=BINARY;CHARSET=UTF-8:a.txt;*00000003*abc|"
                       "ATTACH;NAME=Mail - Re Budget_ 2001.txt;VALUE=BINARY;CHARSET=UTF-8;2:"
                       "Mail - Re Budget_ 2001.txt;*") +
                      framework::FormatBinaryLength(forwardedText.size()) + "*" + forwardedText +
                      Crlf("|END:VMEMO|END:VMAIL")),
      "");
  EXPECT_FALSE(mail.groupwise.mailbox->FindMessage(message.messageId)->read);
  // The forwarded mail had no body: the user is told once, at Close.
  mail.plugin->Close(mail.host.progressObject);
  mail.plugin->Close(mail.host.progressObject);
  EXPECT_EQ(mail.host.progress->CallsOf("Log").size(), 1u);
}

TEST(MailRead, SizeLimitFolderAndPhoneRules) {
  MailHost mail;
  mail.blockA.Set(framework::block_a::MemoLimit, uint32_t{20});
  // Text counts: body, subject and every recipient's address (16 characters here).
  AddMail(mail, u"Fits", At(4), u"");     // 4 + 16 = 20: kept
  AddMail(mail, u"Too big", At(4), u"");  // 7 + 16 = 23: skipped
  sim::MailMessage& phone = AddMail(mail, u"Call", At(4), u"");
  phone.itemClass = sim::ItemClass::kPhoneMessage;
  phone.recipients.clear();
  phone.callerCompany = u"ACME";
  phone.telephoned = true;
  phone.urgent = true;
  mail.Start();
  // A copy in the plug-in's sent folder is "<Sent>", though GroupWise has it as outgoing.
  sim::MailMessage& sent = AddMail(mail, u"Sent copy", At(4), u"");
  sent.folders = {mail.host.platform.Ansi().ToWide(mail.plugin->SentFolderId())};
  sent.boxType = sim::BoxType::kOutgoing;
  sent.recipients.clear();
  mail.groupwise.mailbox->NoteFiling();
  std::string stream;
  ASSERT_EQ(mail.Read(stream), 0);
  EXPECT_NE(stream.find("SUBJECT;QUOTED-PRINTABLE;CHARSET=UTF-8:Fits\r\n"), std::string::npos);
  EXPECT_EQ(stream.find("Too big"), std::string::npos);
  EXPECT_TRUE(mail.Traced("Skipped message [Too big] - Exceeded size limit"));
  const std::string phoneSubject =
      framework::FormatText(framework::LoadModuleString(272), {"Call"}) + " [ACME]";
  EXPECT_NE(stream.find(":" + phoneSubject + "\r\n"), std::string::npos) << stream;
  // An empty body is a blank, then the flags, unencoded.
  const auto flag = [](int id) {
    const std::string text = framework::LoadModuleString(id);  // a line, CR LF at its end
    return text.substr(0, text.size() - 2) + "=0D=0A=\r\n";
  };
  EXPECT_NE(stream.find(": =0D=0A=\r\n=0D=0A=\r\n" + flag(273) + flag(276) + "\r\nEND:VMEMO"),
            std::string::npos)
      << stream;
  EXPECT_NE(stream.find("Sent copy\r\nDATE:20001204T090000\r\nFOLDER:<Sent>\r\n"),
            std::string::npos);
}

// Whatever ends a read, the plug-in's temporary files go and the user's stay.
class MailTempFiles : public testing_support::ScratchFolderTest {
 protected:
  MailTempFiles() : ScratchFolderTest("gws_mail_temp") {}
};

TEST_F(MailTempFiles, AreGoneAfterEveryReadAndNoUserFileIsTouched) {
  struct Case {
    const char* name;
    const char* failing;  // a member made to raise, or nothing
    int abortFromCall;
    int32_t value;
  };
  const Case cases[] = {
      {"read_whole", nullptr, 0, 0},
      {"save_fails", "Attachment.Save", 0, 0},
      {"rendering_fails", "Mail.ClassName", 0, 0},
      {"cancelled_before_the_second_message", nullptr, 2, 1},
  };
  for (const Case& c : cases) {
    MailHost mail;
    mail.host.platform.env.tempDirectory = Path("");
    Write("report.txt", "the user's own report");
    sim::MailMessage& message = AddMail(mail, u"Files", At(5));
    message.attachments.push_back(File(u"report.txt", "from the mail"));
    message.attachments.push_back(File(u"..\\..\\report:v2?.txt", "outside"));
    sim::MailMessage inner;
    inner.subject = u"Inner";
    inner.bodyText = u"Text";
    message.attachments.push_back(Attached(std::move(inner)));
    AddMail(mail, u"Second", At(6));
    mail.Start();
    if (c.failing) mail.groupwise.context->faults.RaiseAlways(c.failing, "Locked");
    mail.host.progress->abortFromCall = c.abortFromCall;
    std::string stream;
    EXPECT_EQ(mail.Read(stream), c.value) << c.name << mail.TraceText();
    EXPECT_EQ(Names(), std::vector<std::string>{"report.txt"}) << c.name;
    EXPECT_EQ(Read("report.txt"), "the user's own report") << c.name;
    if (c.value == 0 && !c.failing) {
      EXPECT_NE(stream.find("ATTACH;NAME=report:v2?.txt;VALUE=BINARY;CHARSET=UTF-8;2:"
                            "report:v2?.txt;*00000007*outside"),
                std::string::npos)
          << stream;
    }
  }
}

TEST(MailRead, OnlySupportedAttachmentsWhenAsked) {
  struct Case {
    const char* name;
    const char* extensions;  // nullptr: no list in the registry
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"doc_only", ".DOC", {"NAME=a.doc;"}},
      {"doc_and_txt", ".doc, .TXT", {"NAME=a.doc;", "NAME=b.TXT;", "NAME=Mail - Fwd.txt;"}},
      {"no_list", nullptr, {}},
  };
  for (const Case& c : cases) {
    MailHost mail;
    mail.blockC.Set(block_c::SupportedOnly, int16_t{1});
    if (c.extensions) {
      mail.host.platform.registry.SetString(platform::RegistryRoot::kCurrentUser, kExtensionsKey,
                                            "Z380", c.extensions);
    }
    sim::MailMessage& message = AddMail(mail, u"Mixed", At(5));
    message.attachments.push_back(File(u"a.doc", "d"));
    message.attachments.push_back(File(u"b.TXT", "t"));
    sim::MailMessage forwarded;
    forwarded.subject = u"Fwd";
    message.attachments.push_back(Attached(std::move(forwarded)));
    mail.Start();
    std::string stream;
    ASSERT_EQ(mail.Read(stream), 0) << c.name;
    std::vector<std::string> names;
    for (std::size_t at = 0; (at = stream.find("ATTACH;", at)) != std::string::npos; ++at) {
      const std::size_t start = at + 7;
      names.push_back(stream.substr(start, stream.find(';', start) - start + 1));
    }
    EXPECT_EQ(names, c.names) << c.name;
  }
}

}  // namespace
}  // namespace mailsync

namespace mailsync {
namespace {

// An attached item of each kind, as the device finds it in its text attachment.
TEST(MailRead, AttachedItemsAreRenderedByTheirKind) {
  struct Case {
    const char* name;
    std::function<void(sim::MailMessage&)> make;
    const char* fileName;
    std::string text;
  };
  const auto item = [](sim::ItemClass itemClass, std::u16string subject) {
    sim::MailMessage attached;
    attached.itemClass = itemClass;
    attached.subject = std::move(subject);
    attached.bodyText = u" Body ";
    attached.sender = {u"Bo", u"bo@example.com"};
    attached.startDate = At(1);
    attached.dueDate = At(2);
    return attached;
  };
  const Case cases[] = {
      {"appointment", [](sim::MailMessage&) {}, "Appt - Meeting.txt", ""},
      {"note", [](sim::MailMessage&) {}, "Note - Meeting.txt",
       Crlf("From: bo@example.com|Start date: 2000-12-01|Subject: Meeting||Body||"
            "==============================|")},
      {"task", [](sim::MailMessage&) {}, "Task - Meeting.txt",
       Crlf("From: bo@example.com|Start date: 2000-12-01|Due date: 2000-12-02|"
            "Subject: Meeting||Body||==============================|")},
      {"phone",
       [](sim::MailMessage& m) {
         m.callerName = u"Cy";
         m.callerCompany = u"ACME";
         m.phoneNumber = u"555";
         m.telephoned = true;
         m.cameToSee = true;
       },
       "Phone msg - Meeting.txt",
       Crlf("From: bo@example.com|Caller: Cy|Company: ACME|Phone: 555|[X] Telephoned|"
            "[x] Came to see you|Body|==============================|")},
      {"document",
       [](sim::MailMessage& m) {
         m.documentLibrary = u" Library ";
         m.documentSubject = u"Plan";
       },
       "Doc ref - Meeting.txt",
       Crlf("Document Library: Library|Subject: Plan|==============================||")},
  };
  const sim::ItemClass classes[] = {sim::ItemClass::kAppointment, sim::ItemClass::kNote,
                                    sim::ItemClass::kTask, sim::ItemClass::kPhoneMessage,
                                    sim::ItemClass::kDocumentReference};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    MailHost mail;
    sim::MailMessage attached = item(classes[i], u"Meeting");
    c.make(attached);
    AddMail(mail, u"With item", At(5)).attachments.push_back(Attached(std::move(attached)));
    mail.Start();
    std::string stream;
    ASSERT_EQ(mail.Read(stream), 0) << c.name;
    const std::string wanted = std::string("ATTACH;NAME=") + c.fileName +
                               ";VALUE=BINARY;CHARSET=UTF-8:" + c.fileName + ";*" +
                               framework::FormatBinaryLength(c.text.size()) + "*" + c.text;
    EXPECT_NE(stream.find(wanted), std::string::npos) << c.name << "\n" << stream;
  }
}

// A message GroupWise cannot give is logged and left out; the others are read, and an inbox
// folder chosen instead of the mailbox is the one searched.
TEST(MailRead, AFailingMessageIsLoggedAndTheOverrideFolderIsSearched) {
  MailHost mail;
  sim::Mailbox& box = *mail.groupwise.mailbox;
  const sim::MailFolder& other = box.AddFolder(u"Elsewhere", nullptr);
  const std::u16string otherId = other.folderId;
  AddMail(mail, u"In the mailbox", At(5));
  sim::MailMessage& first = AddMail(mail, u"Broken", At(5));
  first.folders = {otherId};
  sim::MailMessage& second = AddMail(mail, u"Fine", At(5));
  second.folders = {otherId};
  box.NoteFiling();
  mail.blockC.Set(block_c::InboxOverride, int16_t{1});
  mail.blockC.Set(block_c::InboxFolderId, std::u16string_view(otherId));
  mail.Start();
  mail.groupwise.context->faults.RaiseOnCall("Mail.Priority", 1, "Damaged");
  std::string stream;
  ASSERT_EQ(mail.Read(stream), 0) << mail.TraceText();
  EXPECT_EQ(stream.find("In the mailbox"), std::string::npos);
  EXPECT_EQ(stream.find("Broken"), std::string::npos);
  EXPECT_NE(stream.find("SUBJECT;QUOTED-PRINTABLE;CHARSET=UTF-8:Fine"), std::string::npos);
  EXPECT_EQ(mail.host.progress->CallsOf("Log"),
            std::vector<std::string>{
                "Log(\"" + framework::FormatText(framework::LoadModuleString(269), {"Broken"}) +
                "\", \"" + framework::LoadModuleString(268) + "\", \"1\")"});
  EXPECT_TRUE(mail.Traced("Error in BuildMailEntry: Damaged"));
  EXPECT_FALSE(box.FindMessage(first.messageId)->read);
}

}  // namespace
}  // namespace mailsync
