// The mail plug-in writing into the simulated GroupWise: mail from the device's outbox sent and
// filed, changes applied, deleted mail moved aside, and every failure leaving the mailbox with
// either one sent mail or none, never a half-made one.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "framework/module_globals.h"
#include "framework/text_codec.h"
#include "framework/text_util.h"
#include "tests/mailsync/mail_harness.h"
#include "tests/support/bytes.h"
#include "tests/support/scratch_folder_test.h"

namespace mailsync {
namespace {

using testing_harness::AddMail;
using testing_harness::At;
using testing_harness::File;
using testing_harness::MailHost;
using testing_support::Crlf;

constexpr int16_t kInsert = 1, kModify = 2, kDelete = 3;

std::u16string Wide(std::string_view utf8) {
  std::u16string wide;
  framework::Utf8ToUtf16(utf8, wide);
  return wide;
}

// A device mail: the wrapper, the fields given (each "NAME:value" or a whole line), and END.
std::string Record(std::initializer_list<std::string> lines) {
  std::string record = "BEGIN:VMAIL\r\nVERSION:1.0\r\nBEGIN:VMEMO\r\n";
  for (const std::string& line : lines)
    record += line + "\r\n";
  return record + "END:VMEMO\r\nEND:VMAIL";
}

std::string Attach(const std::string& name, const std::string& bytes, int position = 1) {
  std::string line = "ATTACH;NAME=" + name + ";VALUE=BINARY;CHARSET=UTF-8";
  if (position > 1) line += ";" + std::to_string(position);
  return line + ":" + name + ";*" + framework::FormatBinaryLength(bytes.size()) + "*" + bytes;
}

// A host with a mailbox that knows two addresses, its folders made and the plug-in open.
struct WriteHost : MailHost {
  WriteHost() {
    sim::Mailbox& box = *groupwise.mailbox;
    box.ownerEmailAddress = u"jane@example.com";
    box.AddKnownAddress({u"Anna", u"anna@example.com"});
    box.AddKnownAddress({u"Bob", u"bob@example.com"});
    groupwise.now = [] { return At(9, 10); };
    groupwise.RegisterWith(host.platform.objects);  // the objects copy the clock
  }

  int32_t Write(int16_t op, const std::string& record, std::string& back) {
    platform::MemoryStream stream(record);
    const int32_t value = plugin->WriteSource(platform::Object(), &stream, 6, op, u"");
    back = stream.Bytes();
    return value;
  }

  sim::Mailbox& Box() { return *groupwise.mailbox; }
  std::vector<const sim::MailMessage*> In(const std::string& folderId) {
    std::vector<const sim::MailMessage*> found;
    const std::u16string id = Wide(folderId);
    for (const sim::MailMessage& message : Box().messages) {
      if (std::find(message.folders.begin(), message.folders.end(), id) != message.folders.end())
        found.push_back(&message);
    }
    return found;
  }
  std::string MailboxId() { return framework::Utf16ToUtf8(Box().mailboxFolderId); }
  std::vector<std::string> Logs() { return host.progress->CallsOf("Log"); }
};

std::string LogLine(int message, const std::string& argument, int title,
                    const std::string& titleArgument = "") {
  return "Log(\"" + framework::FormatText(framework::LoadModuleString(message), {argument}) +
         "\", \"" + framework::FormatText(framework::LoadModuleString(title), {titleArgument}) +
         "\", \"1\")";
}

TEST(MailInsert, IsSentToTheKnownAddressesFiledAsSentAndReturnedWithItsIdentity) {
  WriteHost mail;
  mail.Start();
  std::string back;
  ASSERT_EQ(mail.Write(kInsert,
                       Record({"UID:device-1",
                               "SUBJECT;QUOTED-PRINTABLE;CHARSET=UTF-8:"
                               "=CE=93=CE=B5=CE=B9=CE=B1",
                               "FOLDER:<Outbox>", "PRIORITY:1",
                               "TO: anna@example.com;nobody@nowhere.example ", "CC:BOB@example.com",
                               "BODY;QUOTED-PRINTABLE;CHARSET=UTF-8:Line 1=0D=0A=", "Line 2",
                               Attach("a.txt", "abc\r\ndef"),
                               Attach("\xCE\xA3.doc", std::string("\0\x01", 2), 2)}),
                       back),
            0)
      << mail.TraceText();
  const auto sent = mail.In(mail.plugin->SentFolderId());
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_TRUE(mail.In(mail.MailboxId()).empty()) << "the draft is gone, the sent copy filed";
  const sim::MailMessage& message = *sent[0];
  EXPECT_EQ(message.subject, u"\u0393\u03b5\u03b9\u03b1");
  EXPECT_EQ(message.bodyText, u"Line 1\r\nLine 2");
  EXPECT_EQ(message.priority, 3);
  ASSERT_EQ(message.recipients.size(), 2u);
  EXPECT_EQ(message.recipients[0].emailAddress, u"anna@example.com");
  EXPECT_EQ(message.recipients[1].targetType, sim::kCc);
  ASSERT_EQ(message.attachments.size(), 2u);
  EXPECT_EQ(*message.attachments[0].data, "abc\r\ndef");
  EXPECT_EQ(message.attachments[1].fileName, u"\u03a3.doc");
  EXPECT_EQ(*message.attachments[1].data, std::string("\0\x01", 2));

  const std::string uid = framework::Utf16ToUtf8(message.messageId);
  EXPECT_EQ(back.rfind("BEGIN:VMAIL\r\nVERSION:1.0\r\nBEGIN:VMEMO\r\nUID:" + uid + "\r\n", 0), 0u)
      << back;
  EXPECT_NE(back.find("\r\nDATE:20001209T100000\r\nFOLDER:<Sent>\r\nSTATUS:READ\r\nPRIORITY:"
                      "1\r\nFROM:jane@example.com\r\n"
                      "TO:anna@example.com\r\nCC:BOB@example.com\r\n"),
            std::string::npos)
      << back;
  EXPECT_NE(back.find(Attach("a.txt", "abc\r\ndef")), std::string::npos);
  EXPECT_TRUE(back.ends_with("END:VMEMO\r\nEND:VMAIL\r\n")) << back;
  EXPECT_EQ(mail.Logs(), std::vector<std::string>{
                             LogLine(281, "nobody@nowhere.example", 280, "\x3f\x3f\x3f\x3f")});
  EXPECT_TRUE(mail.Traced("Could not resolve address: nobody@nowhere.example"));
}

// The addresses of a list as GroupWise gets them: the list trimmed as a whole, each address
// as it stands between the ";".
TEST(MailInsert, RecipientListsAreSplitAtEverySemicolon) {
  struct Case {
    const char* list;
    std::vector<std::u16string> added;
  };
  const Case cases[] = {
      {"anna@example.com;bob@example.com;x@y", {u"anna@example.com", u"bob@example.com", u"x@y"}},
      {"  anna@example.com; bob@example.com;\r\n", {u"anna@example.com", u" bob@example.com"}},
      {"anna@example.com;;bob@example.com", {u"anna@example.com", u"bob@example.com"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    WriteHost mail;
    mail.Start();
    mail.groupwise.context->log.withArguments.clear();
    sim::MailMessage& draft = AddMail(mail, u"Draft", At(5));
    draft.recipients.clear();
    const platform::Object message = mail.groupwise.CreateSession()
                                         .Call("Login", {u"", u"", u"", int16_t{1}})
                                         .ToObject()
                                         .Call("GetMessage", {draft.messageId})
                                         .ToObject();
    mail.plugin->AddRecipients(message, c.list, sim::kBc);
    std::vector<std::u16string> added;
    for (const std::string& call : mail.groupwise.context->log.withArguments) {
      if (!call.starts_with("Recipients.Add(\"")) continue;
      const std::string address = call.substr(16, call.find("\", ") - 16);
      added.push_back(Wide(address));
    }
    EXPECT_EQ(added, c.added) << c.list;
  }
}

// An insert GroupWise is not to send leaves the mailbox as it was: no draft piles up for the
// host's next try, and the user learns why from the host's log or the trace.
TEST(MailInsert, RefusedInsertsLeaveNoMailBehind) {
  struct Case {
    const char* name;
    std::string record;
    std::string traced;
    int logs;
  };
  const Case cases[] = {
      {"inbox_record", Record({"FOLDER:<Inbox>", "TO:anna@example.com"}),
       "Unsupported ADD in AddPIMEmail, folder [<Inbox>]", 0},
      {"no_folder", Record({"TO:anna@example.com"}), "Unsupported ADD in AddPIMEmail, folder []",
       0},
      {"no_recipients", Record({"FOLDER:<Outbox>", "SUBJECT:Hi"}), "", 1},
      {"only_unknown_recipients", Record({"FOLDER:<Outbox>", "SUBJECT:Hi", "TO:x@nowhere"}),
       "Could not resolve address: x@nowhere", 2},
      {"attachment_without_bytes",
       Record({"FOLDER:<Outbox>", "TO:anna@example.com", Attach("a.txt", "abc"),
               "ATTACH;NAME=b.txt;VALUE=BINARY:b.txt;*0000XY03*abc"}),
       "Error Updating email: The attachment's value holds no data the device announced", 0},
      {"attachment_longer_than_the_record",
       Record({"FOLDER:<Outbox>", "TO:anna@example.com",
               "ATTACH;NAME=b.txt;VALUE=BINARY:b.txt;*00000100*short"}),
       "", 0},
  };
  for (const Case& c : cases) {
    WriteHost mail;
    mail.Start();
    const std::size_t before = mail.Box().messages.size();
    std::string back;
    EXPECT_EQ(mail.Write(kInsert, c.record, back), 1) << c.name;
    EXPECT_EQ(mail.Box().messages.size(), before) << c.name;
    EXPECT_EQ(mail.Logs().size(), static_cast<std::size_t>(c.logs)) << c.name;
    if (!c.traced.empty()) {
      EXPECT_TRUE(mail.Traced(c.traced)) << c.name << mail.TraceText();
    }
  }
  WriteHost mail;
  mail.Start();
  std::string back;
  ASSERT_EQ(mail.Write(kInsert, Record({"FOLDER:<Outbox>", "SUBJECT:Hi", "TO:x@nowhere"}), back),
            1);
  EXPECT_EQ(mail.Logs().back(), LogLine(267, "Hi", 266));
}

// Once GroupWise has sent the mail, the host must take the insert for done, or it sends the
// mail again: what fails afterwards is reported, and the device still learns the mail's
// identity and that it was sent.
TEST(MailInsert, AfterTheSendNothingFailsTheInsert) {
  struct Case {
    const char* failing;
    bool filed;
    bool wholeRecord;
  };
  const Case cases[] = {
      {"Messages.Move", false, true},
      {"Mail.CreationDate", true, false},
  };
  for (const Case& c : cases) {
    WriteHost mail;
    mail.Start();
    mail.groupwise.context->faults.RaiseAlways(c.failing);
    std::string back;
    ASSERT_EQ(
        mail.Write(kInsert, Record({"FOLDER:<Outbox>", "SUBJECT:Hi", "TO:anna@example.com"}), back),
        0)
        << c.failing << mail.TraceText();
    std::vector<const sim::MailMessage*> sent = mail.In(mail.plugin->SentFolderId());
    if (!c.filed) sent = mail.In(mail.MailboxId());
    ASSERT_EQ(sent.size(), 1u) << c.failing;
    const std::string uid = framework::Utf16ToUtf8(sent[0]->messageId);
    if (c.wholeRecord) {
      EXPECT_NE(back.find("UID:" + uid + "\r\nSUBJECT"), std::string::npos) << back;
      EXPECT_NE(back.find("\r\nFOLDER:<Sent>\r\n"), std::string::npos) << back;
    } else {
      EXPECT_EQ(back, Crlf("BEGIN:VMAIL|VERSION:1.0|BEGIN:VMEMO|UID:" + uid +
                           "|FOLDER:<Sent>|END:VMEMO|END:VMAIL|"));
    }
    ASSERT_EQ(mail.Logs().size(), 1u) << c.failing;
    EXPECT_NE(mail.TraceText().find("AddPIMEmail: the mail was sent, but: "), std::string::npos)
        << mail.TraceText();
  }
}

// What a device's change does to the mail of its UID, property by property.
TEST(MailModify, AppliesEachPropertyToTheMailOfItsUid) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::function<void(const sim::MailMessage&, WriteHost&)> check;
    std::string returned = "";  // a line of the record the host gets back
  };
  const auto priority = [](int wanted) {
    return [wanted](const sim::MailMessage& m, WriteHost&) { EXPECT_EQ(m.priority, wanted); };
  };
  const auto readState = [](bool wanted) {
    return [wanted](const sim::MailMessage& m, WriteHost&) { EXPECT_EQ(m.read, wanted); };
  };
  const auto filedIn = [](bool inSent) {
    return [inSent](const sim::MailMessage& m, WriteHost& host) {
      const std::string id =
          inSent ? host.plugin->SentFolderId() : framework::Utf16ToUtf8(host.Box().mailboxFolderId);
      EXPECT_EQ(m.folders, std::vector<std::u16string>{Wide(id)});
    };
  };
  const Case cases[] = {
      {"status_read", {"STATUS:READ"}, readState(true)},
      {"status_other", {"STATUS:read"}, readState(false)},
      {"priority_1", {"PRIORITY:1"}, priority(3), "PRIORITY:1"},
      {"priority_2", {"PRIORITY:2"}, priority(2), "PRIORITY:2"},
      {"priority_3", {"PRIORITY:3"}, priority(1), "PRIORITY:3"},
      {"priority_0", {"PRIORITY:0"}, priority(1), "PRIORITY:3"},
      {"priority_empty", {"PRIORITY:"}, priority(1), "PRIORITY:3"},
      {"text",
       {"SUBJECT;QUOTED-PRINTABLE;CHARSET=UTF-8:Caf=C3=A9", "BODY:New body"},
       [](const sim::MailMessage& m, WriteHost&) {
         EXPECT_EQ(m.subject, u"Caf\u00e9");
         EXPECT_EQ(m.bodyText, u"New body");
       }},
      {"to_sent", {"FOLDER:<Sent>"}, filedIn(true)},
      {"deleted_moves_nothing", {"FOLDER:<Deleted>"}, filedIn(false)},
      {"outbox_moves_nothing", {"FOLDER:<Outbox>"}, filedIn(false)},
      {"attachments",
       {Attach("new.txt", "fresh"), "ATTACH;NAME=OLD.TXT;VALUE=BINARY:"},
       [](const sim::MailMessage& m, WriteHost&) {
         ASSERT_EQ(m.attachments.size(), 2u);
         EXPECT_EQ(m.attachments[0].fileName, u"keep.txt");
         EXPECT_EQ(m.attachments[1].fileName, u"new.txt");
         EXPECT_EQ(*m.attachments[1].data, "fresh");
       }},
  };
  for (const Case& c : cases) {
    WriteHost mail;
    sim::MailMessage& original = AddMail(mail, u"Old", At(5));
    original.priority = 2;
    original.attachments.push_back(File(u"keep.txt", "k"));
    original.attachments.push_back(File(u"old.txt", "o"));
    const std::u16string id = original.messageId;
    mail.Start();
    std::vector<std::string> lines = {"UID:" + framework::Utf16ToUtf8(id)};
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    std::string record = "BEGIN:VMAIL\r\nVERSION:1.0\r\nBEGIN:VMEMO\r\n";
    for (const std::string& line : lines)
      record += line + "\r\n";
    record += "END:VMEMO\r\nEND:VMAIL";
    std::string back;
    ASSERT_EQ(mail.Write(kModify, record, back), 0) << c.name << mail.TraceText();
    const sim::MailMessage* changed = mail.Box().FindMessage(id);
    ASSERT_NE(changed, nullptr) << c.name;
    c.check(*changed, mail);
    EXPECT_NE(back.find("\r\n" + c.returned), std::string::npos) << c.name << back;
    EXPECT_EQ(back.rfind("BEGIN:VMAIL\r\nVERSION:1.0\r\nBEGIN:VMEMO\r\nUID:" +
                             framework::Utf16ToUtf8(id) + "\r\n",
                         0),
              0u)
        << c.name << back;
  }
}

// A mail the plug-in filed in its sent folder, or found in the folder read instead of the
// inbox, goes back to the mailbox when the device puts it in its inbox.
TEST(MailModify, InboxMovesTheMailBackToTheMailboxFromAnyFolder) {
  for (const bool fromSent : {true, false}) {
    WriteHost mail;
    mail.Start();
    sim::MailMessage& message = AddMail(mail, u"Moved", At(5));
    const std::u16string id = message.messageId;
    const std::string from =
        fromSent ? mail.plugin->SentFolderId() : mail.plugin->DeletedFolderId();
    mail.Box().MoveMessage(message, mail.Box().mailboxFolderId, Wide(from));
    std::string back;
    ASSERT_EQ(
        mail.Write(kModify, Record({"UID:" + framework::Utf16ToUtf8(id), "FOLDER:<Inbox>"}), back),
        0)
        << mail.TraceText();
    EXPECT_EQ(mail.Box().FindMessage(id)->folders,
              std::vector<std::u16string>{mail.Box().mailboxFolderId});
    EXPECT_NE(back.find("FOLDER:<Inbox>"), std::string::npos) << back;
  }
}

TEST(MailModifyAndDelete, FailWithTheirTextsAndChangeNothing) {
  struct Case {
    const char* name;
    int16_t op;
    std::string record;
    std::string traced;
  };
  const Case cases[] = {
      {"modify_unknown", kModify, Record({"UID:SIM.NOWHERE", "STATUS:READ"}),
       "Error in ModifyPIMEmail: The mail message to be edited could not be located."},
      {"delete_unknown", kDelete, Record({"UID:SIM.NOWHERE"}),
       "Error in DeletePIMEmail: Could not obtain an instance of the original email object."},
      {"delete_without_uid", kDelete, Record({"SUBJECT:x"}),
       "Error in DeletePIMEmail: Could not determine the UID of the message to delete."},
      {"modify_with_unreadable_attachment", kModify,
       Record({"UID:@", "STATUS:READ", "ATTACH;NAME=a;VALUE=BINARY:a;*00000000*"}),
       "Error Updating email: The attachment's value holds no data the device announced"},
  };
  for (const Case& c : cases) {
    WriteHost mail;
    sim::MailMessage& message = AddMail(mail, u"Kept", At(5));
    const std::u16string id = message.messageId;
    mail.Start();
    std::string record = c.record;
    const std::size_t at = record.find("UID:@");
    if (at != std::string::npos) record.replace(at + 4, 1, framework::Utf16ToUtf8(id));
    std::string back;
    EXPECT_EQ(mail.Write(c.op, record, back), 1) << c.name;
    EXPECT_TRUE(mail.Traced(c.traced)) << c.name << mail.TraceText();
    EXPECT_FALSE(mail.Box().FindMessage(id)->read) << c.name;
    EXPECT_EQ(mail.Box().FindMessage(id)->folders,
              std::vector<std::u16string>{mail.Box().mailboxFolderId})
        << c.name;
  }
}

TEST(MailDelete, MovesTheMailIntoTheDeletedFolderAndReturnsTheRecordAsItCame) {
  WriteHost mail;
  const std::u16string id = AddMail(mail, u"Gone", At(5)).messageId;
  mail.Start();
  const std::string record = Record({"UID:" + framework::Utf16ToUtf8(id), "SUBJECT:Gone"});
  std::string back;
  ASSERT_EQ(mail.Write(kDelete, record, back), 0) << mail.TraceText();
  EXPECT_EQ(back, record + "\r\n");
  EXPECT_EQ(mail.Box().FindMessage(id)->folders,
            std::vector<std::u16string>{Wide(mail.plugin->DeletedFolderId())});
}

// Every GroupWise call an insert makes, made to fail in turn: the host is told the mail was
// sent exactly when one sent mail is in the mailbox, no unsent mail stays behind, and the
// temporary folder holds the user's file alone.
class MailInsertFaults : public testing_support::ScratchFolderTest {
 protected:
  MailInsertFaults() : ScratchFolderTest("gws_mail_insert") {}

  const std::string record = Record({"FOLDER:<Outbox>", "SUBJECT:Hi", "TO:anna@example.com;x@y",
                                     "BODY:Text", Attach("a.txt", "abc")});
};

TEST_F(MailInsertFaults, NeverLeaveAHalfMadeMailOrReportASentOneAsFailed) {
  const auto start = [this](WriteHost& mail) {
    mail.host.platform.env.tempDirectory = Path("");
    mail.Start();
    mail.groupwise.context->log.calls.clear();
  };
  Write("CRV.tmp", "the user's own file");
  std::vector<std::string> calls;
  {
    WriteHost mail;
    start(mail);
    std::string back;
    ASSERT_EQ(mail.Write(kInsert, record, back), 0) << mail.TraceText();
    calls = mail.groupwise.context->log.calls;
  }
  ASSERT_GT(calls.size(), 10u);
  std::map<std::string, int> seen;
  for (const std::string& member : calls) {
    const int nth = ++seen[member];
    WriteHost mail;
    start(mail);
    const std::size_t before = mail.Box().messages.size();
    mail.groupwise.context->faults.RaiseOnCall(member,
                                               mail.groupwise.context->faults.Calls(member) + nth);
    std::string back;
    const int32_t value = mail.Write(kInsert, record, back);
    const std::string what = member + " #" + std::to_string(nth);
    if (value == 0) {
      EXPECT_EQ(mail.Box().messages.size(), before + 1) << what;
      EXPECT_NE(back.find("\r\nFOLDER:<Sent>\r\n"), std::string::npos) << what << back;
    } else {
      EXPECT_EQ(mail.Box().messages.size(), before) << what << mail.TraceText();
    }
    EXPECT_EQ(Names(), std::vector<std::string>{"CRV.tmp"}) << what;
    // The host's log tells of the unknown address, of a mail not sent for want of known
    // recipients, or of a sent mail left unfiled; of nothing else, and of each once.
    const std::set<std::string> expected = {LogLine(281, "x@y", 280, "Hi"),
                                            LogLine(281, "anna@example.com", 280, "Hi"),
                                            LogLine(267, "Hi", 266)};
    std::set<std::string> logged;
    for (const std::string& line : mail.Logs()) {
      EXPECT_TRUE(logged.insert(line).second) << what << ": " << line;
      EXPECT_TRUE(expected.contains(line) || line.find("\"Mail sent\"") != std::string::npos)
          << what << ": " << line;
    }
  }
}

}  // namespace
}  // namespace mailsync
