// Mail and phone messages as the e-mail plug-in reads them: opened by reading the body or
// saving an attachment, attachments saved byte for byte where a folder exists, and items
// attached one and two levels deep with the members of their class.

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

namespace fs = std::filesystem;

using testing_support::At;
using testing_support::ErrorOf;
using testing_support::GroupWiseTest;
using testing_support::HResultOf;
using testing_support::Object;
using testing_support::Variant;

Attachment FileAttachment(std::u16string name, std::string bytes) {
  Attachment attachment;
  attachment.fileName = name;
  attachment.displayName = std::move(name);
  attachment.data = std::make_shared<const std::string>(std::move(bytes));
  return attachment;
}

Attachment ItemAttachment(MailMessage item) {
  Attachment attachment;
  attachment.objType = kMessageAttachment;
  attachment.displayName = item.subject;
  attachment.item = AttachedItem(std::move(item));
  return attachment;
}

MailMessage Item(ItemClass itemClass, std::u16string subject, std::u16string body = u"") {
  MailMessage item;
  item.itemClass = itemClass;
  item.subject = std::move(subject);
  item.bodyText = std::move(body);
  return item;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class GroupWiseSimMailMessages : public GroupWiseTest {
 public:
  using GroupWiseTest::Account;

  GroupWiseSimMailMessages() {
    // A forwarded mail: it holds the answer, which holds the question, which holds a file.
    MailMessage question = Item(ItemClass::kMail, u"Budget? 2001", u"What is the budget?");
    question.sender = {u"Anna Müller", u"anna@example.com"};
    question.attachments.push_back(FileAttachment(u"budget.txt", "1.2 M"));
    MailMessage answer = Item(ItemClass::kMail, u"Re: Budget? 2001", u"As this year.");
    answer.fromText = u"John Smith <john@example.com>";
    Recipient anna;
    anna.emailAddress = u"anna@example.com";
    answer.recipients.push_back(anna);
    answer.attachments.push_back(ItemAttachment(std::move(question)));
    MailMessage& forward = Put(u"forward", Item(ItemClass::kMail, u"Fwd: Re: Budget? 2001"));
    forward.attachments.push_back(FileAttachment(u"notes.txt", "first\r\nsecond\r\n"));
    forward.attachments.push_back(ItemAttachment(std::move(answer)));

    MailMessage& other = Put(u"other", Item(ItemClass::kMail, u"Things", u"Some things."));
    MailMessage appointment = Item(ItemClass::kAppointment, u"Review");
    appointment.startDate = At(2000, 12, 10, 10);
    appointment.endDate = At(2000, 12, 10, 11);
    MailMessage task = Item(ItemClass::kTask, u"Prices");
    task.dueDate = At(2000, 12, 20);
    MailMessage note = Item(ItemClass::kNote, u"Fair");
    MailMessage call = Item(ItemClass::kPhoneMessage, u"Call back");
    call.callerName = u"Peter Novak";
    call.urgent = true;
    MailMessage reference = Item(ItemClass::kDocumentReference, u"Contract");
    reference.documentLibrary = u"Legal";
    reference.documentSubject = u"Framework contract";
    for (MailMessage* item : {&appointment, &task, &note, &call, &reference})
      other.attachments.push_back(ItemAttachment(std::move(*item)));

    MailMessage phone = Item(ItemClass::kPhoneMessage, u"Delivery", u"Before Friday.");
    phone.callerCompany = u"Novak & Söhne";
    phone.telephoned = phone.pleaseCall = true;
    phone.recipients.push_back(anna);
    Put(u"phone", std::move(phone));
  }
  MailMessage& Put(std::u16string id, MailMessage message) {
    message.messageId = std::move(id);
    message.folders = {std::u16string(kMailboxFolderId)};
    return groupwise.mailbox->messages.push_back(std::move(message));
  }
  Object Message(std::u16string_view id) {
    return Account().Call("GetMessage", {Variant(id)}).AsObject();
  }
  static Object AttachmentOf(const Object& item, int32_t position) {
    return item.GetProperty("Attachments").AsObject().Call("Item", {position}).AsObject();
  }
  static Object Attached(const Object& item, int32_t position) {
    return AttachmentOf(item, position).GetProperty("Message").AsObject();
  }
  static std::u16string Text(const Object& item, const char* member) {
    return item.GetProperty(member).AsObject().GetProperty("PlainText").AsText();
  }
  std::u16string PathOf(std::u16string_view name) const {
    const std::string folder = folder_.string();
    std::u16string path(folder.begin(), folder.end());
    path += u'/';
    path += name;
    return path;
  }

  testing_support::ScratchFolder scratch_;
  const fs::path& folder_ = scratch_.Path();
};

TEST_F(GroupWiseSimMailMessages, OpeningTheBodyOrAnAttachmentMarksTheMessageRead) {
  struct Case {
    const char* name;
    std::function<void(GroupWiseSimMailMessages&, const Object&)> act;
    bool opens;
  };
  const Case cases[] = {
      {"its body", [](auto&, const Object& m) { Text(m, "BodyText"); }, true},
      {"an attachment saved",
       [](auto& t, const Object& m) {
         AttachmentOf(m, 1).Call("Save", {Variant(t.PathOf(u"notes.txt"))});
       },
       true},
      {"an attached item's body", [](auto&, const Object& m) { Text(Attached(m, 2), "BodyText"); },
       true},
      {"its subject", [](auto&, const Object& m) { Text(m, "Subject"); }, false},
      {"who sent it and to whom",
       [](auto&, const Object& m) {
         m.GetProperty("Sender").AsObject().GetProperty("EmailAddress");
         m.GetProperty("FromText");
         m.GetProperty("Recipients").AsObject().GetProperty("Count");
       },
       false},
      {"what is attached",
       [](auto&, const Object& m) {
         AttachmentOf(m, 1).GetProperty("FileName");
         Text(Attached(m, 2), "Subject");
       },
       false},
      {"a save that fails",
       [](auto& t, const Object& m) {
         HResultOf([&] { AttachmentOf(m, 1).Call("Save", {Variant(t.PathOf(u"no/such.txt"))}); });
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Object message = Message(u"forward");
    message.PutProperty("Read", false);
    ASSERT_FALSE(message.GetProperty("Read").ToBool());
    c.act(*this, message);
    EXPECT_EQ(message.GetProperty("Read").ToBool(), c.opens);
    EXPECT_EQ(groupwise.mailbox->FindMessage(u"forward")->read, c.opens);
  }
}

TEST_F(GroupWiseSimMailMessages, SaveWritesTheAttachmentsBytesExactly) {
  std::string large(5 << 20, '\0');
  for (std::size_t i = 0; i < large.size(); ++i)
    large[i] = static_cast<char>(i * 7 + i / 251);
  const std::string cases[] = {"", "line\r\nline\n", std::string("\0\x01\xFF\x80zero", 8), large};
  MailMessage& message = *groupwise.mailbox->FindMessage(u"other");
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    message.attachments.push_back(FileAttachment(u"any.bin", bytes));
    const Object attachment = AttachmentOf(Message(u"other"), 6);
    std::ofstream(folder_ / "saved.bin") << "what was there before, longer than some";
    attachment.Call("Save", {Variant(PathOf(u"saved.bin"))});
    EXPECT_TRUE(ReadFile(folder_ / "saved.bin") == bytes);
    message.attachments.pop_back();
  }
}

TEST_F(GroupWiseSimMailMessages, SaveFailsAsWindowsWouldAndWritesNothing) {
  fs::create_directories(folder_ / "sub");
  struct Case {
    const char* name;
    std::u16string path;
    const char* error;    // nullptr: saved
    std::string written;  // where, relative to the folder, when saved
  };
  const Case cases[] = {
      {"a missing folder", PathOf(u"missing/notes.txt"), "cannot be saved", ""},
      {"a folder part and characters Windows refuses", PathOf(u"..\\report:v2?.txt"),
       "syntax is incorrect", ""},
      {"a folder", PathOf(u"sub/"), "names no file", ""},
      {"a name the code page cannot show", PathOf(u"отчёт.txt"), "code page", ""},
      {"a backslash between folders", PathOf(u"sub\\notes.txt"), nullptr, "sub/notes.txt"},
      {"a name the code page shows", PathOf(u"Résumé.txt"), nullptr, "R\xE9sum\xE9.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string error =
        ErrorOf([&] { AttachmentOf(Message(u"forward"), 1).Call("Save", {Variant(c.path)}); });
    if (c.error) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    } else {
      EXPECT_EQ(error, "(no error)");
      EXPECT_EQ(ReadFile(folder_ / c.written), "first\r\nsecond\r\n");
      fs::remove(folder_ / c.written);
    }
  }
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(folder_), {}), 1) << "only sub";
  EXPECT_NE(ErrorOf([&] {
              AttachmentOf(Message(u"forward"), 2).Call("Save", {Variant(PathOf(u"a.txt"))});
            }).find("no file"),
            std::string::npos);
}

TEST_F(GroupWiseSimMailMessages, AttachedItemsShowTheMembersOfTheirClassOneAndTwoLevelsDeep) {
  const Object answer = Attached(Message(u"forward"), 2);
  EXPECT_EQ(answer.GetProperty("ClassName").AsText(), u"GW.MESSAGE.MAIL");
  EXPECT_EQ(Text(answer, "Subject"), u"Re: Budget? 2001");
  EXPECT_EQ(answer.GetProperty("FromText").AsText(), u"John Smith <john@example.com>");
  EXPECT_EQ(answer.GetProperty("Sender").AsObject().GetProperty("EmailAddress").AsText(), u"");
  EXPECT_EQ(answer.GetProperty("Recipients")
                .AsObject()
                .Call("Item", {1})
                .AsObject()
                .GetProperty("EmailAddress")
                .AsText(),
            u"anna@example.com");
  const Object question = Attached(answer, 1);
  EXPECT_EQ(Text(question, "BodyText"), u"What is the budget?");
  EXPECT_EQ(question.GetProperty("Sender").AsObject().GetProperty("DisplayName").AsText(),
            u"Anna Müller");
  EXPECT_EQ(AttachmentOf(question, 1).GetProperty("fileName").AsText(), u"budget.txt");

  struct Case {
    int32_t position;  // in "other"
    const char* className;
    std::vector<const char*> has;
    std::vector<const char*> hasNot;
  };
  const Case cases[] = {
      {1, "GW.MESSAGE.APPOINTMENT", {"StartDate", "EndDate"}, {"DueDate", "CallerName"}},
      {2, "GW.MESSAGE.TASK", {"StartDate", "DueDate"}, {"EndDate", "PhoneNumber"}},
      {3, "GW.MESSAGE.NOTE", {"StartDate"}, {"EndDate", "DueDate"}},
      {4,
       "GW.MESSAGE.PHONE",
       {"CallerName", "CallerCompany", "PhoneNumber", "Telephoned", "WillCall", "WantsToSee",
        "Urgent", "PleaseCall", "ReturnedCall", "CameToSee"},
       {"StartDate", "DocumentLibrary"}},
      {5, "GW.MESSAGE.DOCUMENTREFERENCE", {"DocumentLibrary", "Document"}, {"StartDate"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    const Object item = Attached(Message(u"other"), c.position);
    EXPECT_EQ(testing_support::Utf8(item.GetProperty("ClassName").AsText()), c.className);
    for (const char* member : c.has)
      EXPECT_EQ(HResultOf([&] { item.GetProperty(member); }), 0) << member;
    // An attached item lies in no folder and is not read on its own.
    for (const char* member : {"Read", "EnclosingFolders", "Delete"})
      EXPECT_NE(HResultOf([&] { item.GetProperty(member); }), 0) << member;
    for (const char* member : c.hasNot)
      EXPECT_NE(HResultOf([&] { item.GetProperty(member); }), 0) << member;
    EXPECT_NE(HResultOf([&] { item.PutProperty("Subject", u"Changed"); }), 0);
  }
  const Object reference = Attached(Message(u"other"), 5);
  EXPECT_EQ(reference.GetProperty("DocumentLibrary").AsObject().GetProperty("Name").AsText(),
            u"Legal");
  EXPECT_EQ(reference.GetProperty("Document").AsObject().GetProperty("Subject").AsText(),
            u"Framework contract");
  EXPECT_TRUE(Attached(Message(u"other"), 4).GetProperty("Urgent").ToBool());
  EXPECT_EQ(Attached(Message(u"other"), 2).GetProperty("DueDate").ToDate(), At(2000, 12, 20));
}

TEST_F(GroupWiseSimMailMessages, AMessageAnswersAndTakesWhatThePlugInReadsAndWrites) {
  const Object phone = Message(u"phone");
  EXPECT_EQ(phone.GetProperty("ClassName").AsText(), u"GW.MESSAGE.PHONE");
  EXPECT_EQ(phone.GetProperty("BoxType").ToInt32(), 1);
  EXPECT_EQ(phone.GetProperty("CallerCompany").AsText(), u"Novak & Söhne");
  EXPECT_TRUE(phone.GetProperty("PleaseCall").ToBool());
  EXPECT_FALSE(phone.GetProperty("CameToSee").ToBool());
  groupwise.mailbox->FindMessage(u"phone")->boxType = BoxType::kOutgoing;
  EXPECT_EQ(phone.GetProperty("BoxType").ToInt32(), 2);

  const Object mail = Message(u"other");
  EXPECT_NE(HResultOf([&] { mail.GetProperty("CallerName"); }), 0);
  mail.PutProperty("Priority", 3);
  mail.GetProperty("Subject").AsObject().PutProperty("PlainText", u"Other things");
  mail.PutProperty("BodyText", u"New body");
  const MailMessage& state = *groupwise.mailbox->FindMessage(u"other");
  EXPECT_EQ(state.priority, 3);
  EXPECT_EQ(state.subject, u"Other things");
  EXPECT_EQ(state.bodyText, u"New body");
  for (int32_t refused : {0, 4})
    EXPECT_NE(HResultOf([&] { mail.PutProperty("Priority", refused); }), 0) << refused;
  EXPECT_EQ(state.priority, 3);
}

TEST_F(GroupWiseSimMailMessages, AnAttachmentDeletedLeavesTheOthersObjectsTheirOwn) {
  const Object forward = Message(u"forward");
  const Object first = AttachmentOf(forward, 1);
  const Object second = AttachmentOf(forward, 2);
  first.Call("Delete");
  EXPECT_EQ(forward.GetProperty("Attachments").AsObject().GetProperty("Count").ToInt32(), 1);
  EXPECT_EQ(second.GetProperty("ObjType").ToInt32(), kMessageAttachment);
  EXPECT_EQ(Text(second.GetProperty("Message").AsObject(), "Subject"), u"Re: Budget? 2001");
  EXPECT_NE(ErrorOf([&] { first.GetProperty("FileName"); }).find("no longer"), std::string::npos);
  EXPECT_NE(ErrorOf([&] {
              AttachmentOf(Attached(forward, 1), 1).Call("Delete");
            }).find("cannot be changed"),
            std::string::npos);
  EXPECT_EQ(HResultOf([&] { AttachmentOf(forward, 1).GetProperty("Message"); }), 0);
  forward.Call("Delete");
  EXPECT_NE(ErrorOf([&] { second.GetProperty("ObjType"); }).find("no longer exists"),
            std::string::npos);
  EXPECT_TRUE(Account().Call("GetMessage", {u"forward"}).IsEmpty());
}

TEST_F(GroupWiseSimMailMessages, EveryObjectHasItsClassInTheLog) {
  const Object messages =
      Account().GetProperty("MailBox").AsObject().GetProperty("Messages").AsObject();
  const Object list = messages.Call("Find", {u"MAIL OR PHONE_MESSAGE"}).AsObject();
  for (int32_t i = 1; i <= list.GetProperty("Count").ToInt32(); ++i) {
    const Object message = list.Call("Item", {i}).AsObject();
    Text(message, "BodyText");
    message.GetProperty("EnclosingFolders").AsObject().Call("Item", {1});
    message.GetProperty("Sender").AsObject().GetProperty("EmailAddress");
    const Object recipients = message.GetProperty("Recipients").AsObject();
    for (int32_t r = 1; r <= recipients.GetProperty("Count").ToInt32(); ++r)
      recipients.Call("Item", {r}).AsObject().GetProperty("TargetType");
    const Object attachments = message.GetProperty("Attachments").AsObject();
    for (int32_t a = 1; a <= attachments.GetProperty("Count").ToInt32(); ++a) {
      const Object attachment = attachments.Call("Item", {a}).AsObject();
      if (attachment.GetProperty("ObjType").ToInt32() != kMessageAttachment) continue;
      const Object item = attachment.GetProperty("Message").AsObject();
      if (item.GetProperty("ClassName").AsText() == u"GW.MESSAGE.DOCUMENTREFERENCE") {
        item.GetProperty("DocumentLibrary").AsObject().GetProperty("Name");
        item.GetProperty("Document").AsObject().GetProperty("Subject");
      }
    }
  }
  Account().GetProperty("AllFolders").AsObject().GetProperty("Count");
  std::set<std::string> classes;
  for (const std::string& call : groupwise.context->log.calls)
    classes.insert(call.substr(0, call.find('.')));
  std::string seen;
  for (const std::string& name : classes)
    seen += name + " ";
  EXPECT_EQ(seen,
            "Account Address AllFolders Appointment Attachment Attachments Document "
            "DocumentLibrary DocumentReference EnclosingFolders Folder FormattedText Mail "
            "MessageList Messages Note PhoneMessage Recipient Recipients Session Task ");
}

}  // namespace
}  // namespace sim
