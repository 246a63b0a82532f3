// Mail as the e-mail plug-in writes it: a draft made in a folder, filled, its recipients
// resolved against the known addresses and files attached, then sent as a new item; messages
// moved between folders; and every refusal leaving the mailbox as it was.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "sim/groupwise/store.h"
#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

using testing_support::At;
using testing_support::ErrorOf;
using testing_support::Object;
using testing_support::Variant;

class GroupWiseSimMailWriting : public testing_support::GroupWiseTest {
 public:
  GroupWiseSimMailWriting() {
    Mailbox& mailbox = *groupwise.mailbox;
    mailbox.ownerName = u"Jane Doe";
    mailbox.ownerEmailAddress = u"jane.doe@example.com";
    mailbox.AddKnownAddress({u"Anna Müller", u"anna@example.com"});
    cabinet = mailbox.AddFolder(u"Cabinet", nullptr).folderId;
    projects = mailbox.AddFolder(u"Projects", mailbox.FindFolder(cabinet)).folderId;
    for (auto [id, folders] : {std::pair{u"incoming", std::vector{mailboxId}},
                               {u"twice", {cabinet, mailboxId}},
                               {u"filed away", {projects}}}) {
      MailMessage message;
      message.messageId = id;
      message.folders = folders;
      message.recipients.resize(1);
      mailbox.messages.push_back(std::move(message));
    }
    // A fraction of a second, which the store would not keep.
    groupwise.now = [] { return At(2001, 2, 15, 9, 30, 0, 400); };
    std::ofstream(scratch.Path() / "chart.bin", std::ios::binary) << std::string("P\0\xFF", 3);
  }

  Object Messages(const std::u16string& folder) {
    return Account()
        .Call("GetFolder", {Variant(folder)})
        .AsObject()
        .GetProperty("Messages")
        .AsObject();
  }
  Object NewDraft(const std::u16string& folder) {
    return Messages(folder).Call("Add", {Variant::Null(), 4, Variant::Null()}).AsObject();
  }
  std::vector<std::u16string> Found(const std::u16string& folder) {
    const Object list = Messages(folder).Call("Find", {u"MAIL"}).AsObject();
    std::vector<std::u16string> ids;
    for (int32_t i = 1; i <= list.GetProperty("Count").ToInt32(); ++i)
      ids.push_back(list.Call("Item", {i}).AsObject().GetProperty("MessageID").AsText());
    return ids;
  }

  const std::u16string mailboxId{kMailboxFolderId};
  std::u16string cabinet;
  std::u16string projects;
  testing_support::ScratchFolder scratch;
};

TEST_F(GroupWiseSimMailWriting, ADraftFilledAndSentIsANewSentMailAndTheDraftIsGone) {
  // Made elsewhere than in the mailbox folder, where the sent mail goes.
  const Object draft = NewDraft(cabinet);
  const std::u16string draftId = draft.GetProperty("MessageID").AsText();
  EXPECT_EQ(draft.GetProperty("BoxType").ToInt32(), 4);
  EXPECT_EQ(draft.GetProperty("CreationDate").ToDate(), At(2001, 2, 15, 9, 30));
  EXPECT_EQ(Found(cabinet), (std::vector<std::u16string>{u"twice", draftId}));
  draft.GetProperty("Subject").AsObject().PutProperty("PlainText", u"Lunch");
  draft.PutProperty("Priority", 3);
  const Object recipients = draft.GetProperty("Recipients").AsObject();
  const struct {
    const char16_t* address;
    int32_t resolved;  // after Resolve; -1: deleted instead
    const char16_t* displayName;
  } rows[] = {{u"ANNA@Example.com", kResolved, u"Anna Müller"},
              {u"bob@example.org", kUnknownAddress, u""},
              {u"carl@example.org", -1, u""}};
  for (const auto& row : rows) {
    const Object added =
        recipients.Call("Add", {Variant(row.address), Variant::Null(), kCc}).AsObject();
    EXPECT_EQ(added.GetProperty("Resolved").ToInt32(), kNotResolved);
    added.Call(row.resolved < 0 ? "Delete" : "Resolve");
    if (row.resolved < 0) continue;
    EXPECT_EQ(added.GetProperty("Resolved").ToInt32(), row.resolved);
    EXPECT_EQ(added.GetProperty("DisplayName").AsText(), row.displayName);
  }
  const std::string path = (scratch.Path() / "chart.bin").string();
  const Object attachments = draft.GetProperty("Attachments").AsObject();
  for (const char16_t* name : {u"", u"Chart.png"})
    attachments.Call("Add", {Variant(std::u16string(path.begin(), path.end())), 1, name});

  const std::u16string sentId = draft.Call("Send").AsObject().GetProperty("MessageID").AsText();
  EXPECT_NE(ErrorOf([&] { draft.GetProperty("Subject"); }).find("no longer"), std::string::npos);
  EXPECT_TRUE(Account().Call("GetMessage", {Variant(draftId)}).IsEmpty());
  EXPECT_EQ(Found(cabinet), std::vector<std::u16string>{u"twice"});
  EXPECT_EQ(Found(mailboxId), (std::vector<std::u16string>{u"incoming", u"twice", sentId}));
  const Object sent = Account().Call("GetMessage", {Variant(sentId)}).AsObject();
  EXPECT_EQ(sent.GetProperty("BoxType").ToInt32(), 2);
  EXPECT_EQ(sent.GetProperty("Sender").AsObject().GetProperty("EmailAddress").AsText(),
            Account().GetProperty("Owner").AsObject().GetProperty("EmailAddress").AsText());
  const MailMessage& state = *groupwise.mailbox->FindMessage(sentId);
  EXPECT_TRUE(state.read);
  EXPECT_EQ(state.subject, u"Lunch");
  EXPECT_EQ(state.priority, 3);
  EXPECT_EQ(state.fromText, u"Jane Doe");
  EXPECT_EQ(state.creationDate, At(2001, 2, 15, 9, 30));
  ASSERT_EQ(state.recipients.size(), 2u);
  EXPECT_EQ(state.recipients[1].emailAddress, u"bob@example.org");
  ASSERT_EQ(state.attachments.size(), 2u);
  EXPECT_EQ(state.attachments[0].fileName, u"chart.bin");
  EXPECT_EQ(state.attachments[1].displayName, u"Chart.png");
  EXPECT_EQ(*state.attachments[1].data, std::string("P\0\xFF", 3));
}

TEST_F(GroupWiseSimMailWriting, WhatIsRefusedOrFailsLeavesTheMailboxAsItWas) {
  using Act = std::function<void(const Object& draft)>;
  auto part = [](const char* parts, std::vector<Variant> args) -> Act {
    return [=](const Object& d) { d.GetProperty(parts).AsObject().Call("Add", args); };
  };
  const struct {
    const char* name;
    Act act;
    const char* error;       // a part of the error's text
    const char* fault = "";  // a member the fault plan makes fail
  } cases[] = {
      {"a phone message",
       [&](auto&) {
         Messages(mailboxId).Call("Add", {u"GW.MESSAGE.PHONE", 4});
       },
       "only mail"},
      {"another box than a draft",
       [&](auto&) {
         Messages(mailboxId).Call("Add", {Variant(), 3});
       },
       "only 4"},
      {"a draft without a recipient", [](const Object& d) { d.Call("Send"); }, "No recipients"},
      {"a mail that is no draft",
       [&](auto&) { Account().Call("GetMessage", {u"incoming"}).AsObject().Call("Send"); },
       "Only a draft"},
      {"a recipient without an address", part("Recipients", {u"", Variant::Null(), 0}),
       "needs an address"},
      {"a recipient of kind 3", part("Recipients", {u"a@b.c", Variant::Null(), 3}), "BC (2)"},
      {"a file that is not there", part("Attachments", {u"/no/such/file.txt", 1, u""}), "file.txt"},
      {"another kind than a file", part("Attachments", {u"chart.bin", 2, u""}), "only 1"},
      {"a fault in Send", [](const Object& d) { d.Call("Send"); }, "Locked", "Mail.Send"},
      {"a fault in Recipients.Add", part("Recipients", {u"a@b.c"}), "Locked", "Recipients.Add"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Object draft = NewDraft(mailboxId);
    const std::string before = StoreToJson(*groupwise.mailbox);
    groupwise.context->faults.RaiseAlways(c.fault, "Locked");
    const std::string error = ErrorOf([&] { c.act(draft); });
    groupwise.context->faults.Clear();
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    EXPECT_EQ(StoreToJson(*groupwise.mailbox), before);
    draft.Call("Delete");
  }
}

TEST_F(GroupWiseSimMailWriting, MoveRefilesAMessageFromItsFolderToAnother) {
  const struct {
    const char* name;
    const char16_t* id;
    std::u16string from;
    std::function<Variant()> to;
    std::vector<std::u16string> folders;  // the message's afterwards
    const char* error = nullptr;          // nullptr: moved
  } cases[] = {
      {"to a subfolder",
       u"incoming",
       mailboxId,
       [&] { return Variant(Messages(projects)); },
       {projects}},
      {"back, to the mailbox's Messages",
       u"incoming",
       projects,
       [&] { return Account().GetProperty("MailBox").AsObject().GetProperty("Messages"); },
       {mailboxId}},
      {"keeping its place among its folders",
       u"twice",
       cabinet,
       [&] { return Variant(Messages(projects)); },
       {projects, mailboxId}},
      {"into a folder that holds it already",
       u"twice",
       projects,
       [&] { return Variant(Messages(mailboxId)); },
       {mailboxId}},
      {"from a folder that does not hold it",
       u"filed away",
       mailboxId,
       [&] { return Variant(Messages(cabinet)); },
       {projects},
       "No message in this folder"},
      {"to the calendar",
       u"incoming",
       mailboxId,
       [&] { return Variant(CalendarMessages()); },
       {mailboxId},
       "Type mismatch"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string error = ErrorOf([&] {
      Messages(c.from).Call("Move", {Variant(c.id), c.to()});
    });
    EXPECT_EQ(groupwise.mailbox->FindMessage(c.id)->folders, c.folders);
    if (c.error) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
      continue;
    }
    EXPECT_EQ(error, "(no error)");
    // What Find sees follows at once.
    for (const std::u16string& folder : {c.from, c.folders.front()}) {
      const std::vector<std::u16string> found = Found(folder);
      EXPECT_EQ(std::count(found.begin(), found.end(), c.id), folder == c.folders.front() ? 1 : 0);
    }
  }
}

}  // namespace
}  // namespace sim
