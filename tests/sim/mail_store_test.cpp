// Mail in the store file: folders, messages, recipients and attachments, with their bytes and
// the items attached to them, survive to the next run exactly; a store without mail is written
// as before there was mail; and a faulty mail entry is refused at its place.

#include <stdexcept>
#include <string>

#include "sim/groupwise/sample_mail.h"
#include "sim/groupwise/sample_mailbox.h"
#include "sim/groupwise/store.h"
#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

using testing_support::At;
using testing_support::Object;
using testing_support::Variant;

const MailMessage& Subject(const Mailbox& mailbox, std::u16string_view subject) {
  for (const MailMessage& message : mailbox.messages) {
    if (message.subject == subject) return message;
  }
  throw std::logic_error("no such message in the sample");
}

TEST(GroupWiseSimMailStore, MailIsLoadedAgainAsItWasAndSavedToTheSameBytes) {
  GroupWise groupwise;
  *groupwise.mailbox = BuildSampleMailbox(At(2001, 2, 15));
  const Object account = testing_support::AccountOf(groupwise);
  const Object base = account.GetProperty("AllFolders")
                          .AsObject()
                          .Call("Add", {u"Z380", Variant::Null()})
                          .AsObject();
  base.GetProperty("Folders").AsObject().Call("Add", {u"Sent", Variant::Null()});
  const Object inbox = account.GetProperty("MailBox").AsObject().GetProperty("Messages").AsObject();
  const Object first = inbox.Call("Item", {1}).AsObject();
  first.PutProperty("Read", !first.GetProperty("Read").ToBool());
  first.GetProperty("Attachments").AsObject().Call("Item", {1}).AsObject().Call("Delete");

  const std::string saved = StoreToJson(*groupwise.mailbox);
  const Mailbox loaded = StoreFromJson(saved, "mailbox.json");
  EXPECT_EQ(StoreToJson(loaded), saved);

  // The writer writes every member, so equal texts are equal mailboxes; a few spot checks.
  EXPECT_EQ(loaded.messages.size(), groupwise.mailbox->messages.size());
  EXPECT_EQ(loaded.folders.size(), groupwise.mailbox->folders.size());
  // The bytes of the largest file, and the file two items deep.
  const MailMessage& survey = Subject(loaded, u"Site survey photos");
  EXPECT_TRUE(*survey.attachments[0].data == SampleLargeAttachment());
  const MailMessage& forward = Subject(loaded, u"Fwd: Re: Budget? 2001");
  const MailMessage& question = *forward.attachments[0].item.get()->attachments[0].item.get();
  EXPECT_EQ(question.subject, u"Budget? 2001");
  EXPECT_EQ(*question.attachments[0].data, "Total: 1.2 M\r\n");
  const MailMessage& delivery = Subject(loaded, u"Delivery date");
  EXPECT_TRUE(delivery.urgent && delivery.pleaseCall && delivery.telephoned);
  EXPECT_EQ(delivery.callerCompany, u"Novak & Söhne GmbH");
}

TEST(GroupWiseSimMailStore, AMailboxWithoutMailIsWrittenAsBeforeThereWasMail) {
  struct Case {
    const char* name;
    void (*change)(Mailbox&);
    bool hasMail;
  };
  const Case cases[] = {
      {"nothing", [](Mailbox&) {}, false},
      {"a calendar and a book",
       [](Mailbox& m) {
         CalendarItem note;
         note.messageId = m.NewMessageId();
         note.itemClass = ItemClass::kNote;
         m.calendar.push_back(note);
         m.addressBooks.push_back({});
         m.addressBooks.back().name = u"Book";
       },
       false},
      {"a folder", [](Mailbox& m) { m.AddFolder(u"Z380", nullptr); }, true},
      {"a path to the host", [](Mailbox& m) { m.pathToHost = u"elsewhere"; }, true},
      {"a message",
       [](Mailbox& m) {
         MailMessage message;
         message.messageId = m.NewMessageId();
         m.messages.push_back(message);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Mailbox mailbox;
    c.change(mailbox);
    const std::string saved = StoreToJson(mailbox);
    EXPECT_EQ(saved.find("\"mail\"") != std::string::npos, c.hasMail);
    EXPECT_EQ(StoreToJson(StoreFromJson(saved, "mailbox.json")), saved);
  }
}

TEST(GroupWiseSimMailStore, WhatSendingNeedsIsKeptAndWrittenOnlyWhenThereAndFaultsAreRefused) {
  Mailbox mailbox;
  const std::string fresh = StoreToJson(mailbox);
  mailbox.ownerEmailAddress = u"jane@example.com";
  mailbox.AddKnownAddress({u"Anna Müller", u"anna@example.com"});
  MailMessage draft;
  draft.recipients.resize(2);
  draft.recipients[1].resolved = kResolved;
  mailbox.AddNewMessage(std::move(draft));
  const std::string saved = StoreToJson(mailbox);
  const Mailbox loaded = StoreFromJson(saved, "mailbox.json");
  EXPECT_EQ(StoreToJson(loaded), saved);
  EXPECT_EQ(loaded.ownerEmailAddress, u"jane@example.com");
  ASSERT_NE(loaded.FindKnownAddress(u"ANNA@example.COM"), nullptr);
  EXPECT_EQ(loaded.FindKnownAddress(u"ANNA@example.COM")->displayName, u"Anna Müller");
  EXPECT_EQ(loaded.messages[0].recipients[1].resolved, kResolved);
  for (const char* key : {"\"ownerEmailAddress\"", "\"knownAddresses\"", "\"resolved\": 3"}) {
    EXPECT_NE(saved.find(key), std::string::npos) << key;
    EXPECT_EQ(fresh.find(key), std::string::npos) << key << " in a store that has none";
  }

  const std::pair<std::string, const char*> faults[] = {
      {R"("knownAddresses": [{"emailAddress": "a@b.c"}, {"emailAddress": "A@B.C"}])",
       "known already"},
      {R"("knownAddresses": [{"displayName": "X", "emailAddress": ""}])", "cannot be empty"},
      {R"("mail": {"messages": [{"messageId": "M.1", "className": "GW.MESSAGE.MAIL", )"
       R"("recipients": [{"resolved": 4}]}]})",
       "whole number"},
  };
  for (const auto& [account, detail] : faults) {
    SCOPED_TRACE(account);
    try {
      StoreFromJson(R"({"format": "groupwise-store", "version": 1, "account": {)" + account + "}}",
                    "mailbox.json");
      ADD_FAILURE() << "accepted";
    } catch (const StoreError& error) {
      EXPECT_NE(error.Detail().find(detail), std::string::npos) << error.what();
    }
  }
}

TEST(GroupWiseSimMailStore, AFaultyMailEntryIsRefusedAtItsPlace) {
  struct Case {
    const char* name;
    std::string mail;    // the members of "mail"
    std::string marker;  // the fault is where this begins (its last occurrence)
    const char* detail;
  };
  const std::string folders =
      R"("folders": [{"folderId": "F.1", "name": "Mailbox", "folders": [{"folderId": "F.2", "name": "Sent"}]}])";
  auto message = [&](const std::string& members) {
    return folders + R"(, "messages": [{"messageId": "M.9", "className": "GW.MESSAGE.MAIL")" +
           members + "}]";
  };
  auto attachment = [&](const std::string& members) {
    return message(R"(, "attachments": [{)" + members + "}]");
  };
  const Case cases[] = {
      {"a calendar class in a folder",
       folders + R"(, "messages": [{"messageId": "M.9", "className": "GW.MESSAGE.NOTE"}])",
       "\"GW.MESSAGE.NOTE\"", "the mail folders hold"},
      {"an unknown class",
       folders + R"(, "messages": [{"messageId": "M.9", "className": "GW.MESSAGE.FAX"}])",
       "\"GW.MESSAGE.FAX\"", "not a class"},
      {"the id of a calendar item",
       folders + R"(, "messages": [{"messageId": "N.1", "className": "GW.MESSAGE.MAIL"}])",
       "\"N.1\"", "second item with this message id"},
      {"no id", folders + R"(, "messages": [{"className": "GW.MESSAGE.MAIL"}])", "{\"className",
       "needs the member \"messageId\""},
      {"an unknown folder", message(R"(, "folders": ["F.3"])"), "\"F.3\"", "no folder has this id"},
      {"a folder twice", message(R"(, "folders": ["F.2", "F.2"])"), "\"F.2\"",
       "in this folder already"},
      {"a caller on a mail", message(R"(, "callerName": "Peter")"), "\"Peter\"",
       "GW.MESSAGE.MAIL item has no callerName"},
      {"a start date on a mail", message(R"(, "startDate": "2001-02-15T00:00:00")"), "\"2001",
       "has no startDate"},
      {"a recipient of kind 3", message(R"(, "recipients": [{"targetType": 3}])"), "3}",
       "whole number"},
      {"a misspelt member", message(R"(, "bcc": [])"), "[]", "unknown member \"bcc\""},
      {"an attachment kind past 6", attachment(R"("objType": 7)"), "7}", "whole number"},
      {"data that is not base64", attachment(R"("data": "QQ=A")"), "\"QQ=A\"", "not base64"},
      {"base64 with bits left over", attachment(R"("data": "QR==")"), "\"QR==\"", "left over"},
      {"base64 with bits left over after two bytes", attachment(R"("data": "QUJ=")"), "\"QUJ=\"",
       "left over"},
      {"base64 cut short", attachment(R"("data": "QUJ")"), "\"QUJ\"", "groups of four"},
      {"a message attachment without its item", attachment(R"("objType": 2)"), "{\"objType",
       "needs the member \"item\""},
      {"a message attachment with data",
       attachment(R"("objType": 2, "data": "", "item": {"className": "GW.MESSAGE.NOTE"})"),
       "\"\", \"item\"", "holds an item, not data"},
      {"a file with an item", attachment(R"("item": {"className": "GW.MESSAGE.NOTE"})"),
       "{\"className\": \"GW.MESSAGE.NOTE\"}", "only a message attachment"},
      {"an attached item read",
       attachment(R"("objType": 2, "item": {"className": "GW.MESSAGE.MAIL", "read": true})"),
       "true}", "an attached item has no read"},
      {"an attached item in a folder",
       attachment(R"("objType": 2, "item": {"className": "GW.MESSAGE.MAIL", "folders": []})"),
       "[]}", "an attached item has no folders"},
      {"no folders at all", R"("folders": [])", "[]", "needs its mailbox folder"},
      {"an unknown mailbox folder", folders + R"(, "mailboxFolder": "F.7")", "\"F.7\"",
       "no folder has this id"},
      {"two folders of one name",
       R"("folders": [{"folderId": "F.1", "name": "Mailbox"}, {"folderId": "F.2", "name": "MAILBOX"}])",
       "\"MAILBOX\"", "second folder of this name"},
      {"two folders of one id",
       R"("folders": [{"folderId": "F.1", "name": "Mailbox"}, {"folderId": "F.1", "name": "Other"}])",
       "\"F.1\", \"name\": \"Other\"", "second folder with this id"},
      {"a folder without a name", R"("folders": [{"folderId": "F.1", "name": ""}])", "\"\"}",
       "needs a name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text =
        "{\n  \"format\": \"groupwise-store\",\n  \"version\": 1,\n  \"account\": {\n"
        "    \"calendar\": [{\"messageId\": \"N.1\", \"className\": \"GW.MESSAGE.NOTE\"}],\n"
        "    \"mail\": {" +
        c.mail + "}\n  }\n}\n";
    const std::size_t at = text.rfind(c.marker);
    ASSERT_NE(at, std::string::npos) << c.marker;
    const std::size_t column = at - text.rfind('\n', at);
    try {
      StoreFromJson(text, "mailbox.json");
      ADD_FAILURE() << "accepted";
    } catch (const StoreError& error) {
      EXPECT_EQ(error.Line(), 6u) << error.what();
      EXPECT_EQ(error.Column(), column) << error.what();
      EXPECT_NE(error.Detail().find(c.detail), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace sim
