// gwsim.dll as gwsync.exe and pimsync.dll meet it: registered by the fixture, found through COM
// by GroupWise's ProgIDs, its mailbox chosen and saved through its exports.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/win32/com_object_factory.h"
#include "platform/win32/dispatch_object.h"
#include "platform/win32/ole_owners.h"
#include "sim/groupwise/store.h"
#include "tools/gwsync/com_server.h"

namespace gwsync {
namespace {

using platform::Object;
using platform::Variant;

class GwsimServerTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() /
        (std::string("gwsim_") + testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Path(const char* name) const { return (folder_ / name).string(); }

  platform::win32::ComApartment apartment_;  // left last, after every object of a test
  std::filesystem::path folder_;
  platform::win32::ComObjectFactory factory_;
};

TEST_F(GwsimServerTest, BothClassesWorkOnTheChosenStoreWhichIsSavedBack) {
  sim::Mailbox mailbox;
  sim::CalendarItem lunch;
  lunch.messageId = u"A.1";
  lunch.subject = u"Lunch";
  mailbox.calendar.push_back(lunch);
  sim::SaveStore(Path("store.json"), mailbox);

  GroupWiseModule groupwise;
  groupwise.UseStore(Path("store.json"));
  const Object commander = factory_.CreateObject("GroupWiseCommander");
  Variant answer(u"");
  EXPECT_EQ(commander
                .Call("Execute", {Variant(u"ItemSetAttribute(\"A.1\"; Private!; Yes!)"),
                                  Variant::Reference(answer)})
                .ToInt32(),
            1);
  // A session made afterwards sees what the commander changed: one mailbox per process.
  const Object session = factory_.CreateObject("NovellGroupWareSession");
  const Object account =
      session.Call("Login", {Variant(u""), Variant(u""), Variant(u""), Variant(int16_t{1})})
          .ToObject();
  // Another module's object is called through COM, never as a C++ object compiled elsewhere.
  EXPECT_NE(dynamic_cast<platform::win32::DispatchObject*>(account.Get()), nullptr);
  const Object item = account.Call("GetMessage", {Variant(u"A.1")}).ToObject();
  EXPECT_EQ(item.GetProperty("Subject").ToObject().GetProperty("PlainText").ToText(), u"Lunch");
  EXPECT_TRUE(item.GetProperty("Private").ToBool());

  groupwise.SaveIfChanged();
  const sim::Mailbox saved = sim::LoadStore(Path("store.json"));
  ASSERT_NE(saved.FindItem(u"A.1"), nullptr);
  EXPECT_TRUE(saved.FindItem(u"A.1")->isPrivate);
}

// Mail written as mailsync.dll writes it. Objects travel back into the server as arguments too:
// Move's destination, another folder's Messages, must be known there again as its own object.
TEST_F(GwsimServerTest, MailIsWrittenSentAndMovedThroughCom) {
  sim::Mailbox mailbox;
  mailbox.ownerEmailAddress = u"jane@example.com";
  mailbox.AddKnownAddress({u"Anna", u"anna@example.com"});
  const std::u16string cabinet = mailbox.AddFolder(u"Cabinet", nullptr).folderId;
  sim::SaveStore(Path("store.json"), mailbox);

  GroupWiseModule groupwise;
  groupwise.UseStore(Path("store.json"));
  const Object account = factory_.CreateObject("NovellGroupWareSession")
                             .Call("Login", {Variant(u""), Variant(u""), Variant(u""), Variant(1)})
                             .ToObject();
  const Object inbox = account.GetProperty("MailBox").ToObject().GetProperty("Messages").ToObject();
  const Object draft = inbox.Call("Add", {Variant::Null(), Variant(4), Variant::Null()}).ToObject();
  const Object recipient =
      draft.GetProperty("Recipients")
          .ToObject()
          .Call("Add", {Variant(u"ANNA@example.com"), Variant::Null(), Variant(0)})
          .ToObject();
  recipient.Call("Resolve", {Variant::Null()});
  EXPECT_EQ(recipient.GetProperty("Resolved").ToInt32(), sim::kResolved);
  const std::u16string sent = draft.Call("Send").ToObject().GetProperty("MessageID").ToText();
  const Object destination =
      account.Call("GetFolder", {Variant(cabinet)}).ToObject().GetProperty("Messages").ToObject();
  EXPECT_EQ(inbox.Call("Move", {Variant(sent), Variant(destination)})
                .ToObject()
                .GetProperty("MessageID")
                .ToText(),
            sent);

  groupwise.SaveIfChanged();
  sim::Mailbox saved = sim::LoadStore(Path("store.json"));
  const sim::MailMessage* message = saved.FindMessage(sent);
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->boxType, sim::BoxType::kOutgoing);
  EXPECT_EQ(message->folders, std::vector<std::u16string>{cabinet});
  EXPECT_EQ(message->sender.emailAddress, u"jane@example.com");
  EXPECT_EQ(message->recipients.at(0).resolved, sim::kResolved);
}

TEST_F(GwsimServerTest, AnUnchangedStoreIsLeftAloneAndAMissingOneIsCreated) {
  sim::SaveStore(Path("old.json"), sim::Mailbox());
  std::filesystem::last_write_time(
      Path("old.json"),
      std::filesystem::last_write_time(Path("old.json")) - std::chrono::hours(48));
  // As the file system keeps it.
  const auto longAgo = std::filesystem::last_write_time(Path("old.json"));
  const struct {
    const char* file;
    bool written;
  } rows[] = {{"old.json", false}, {"new.json", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    GroupWiseModule groupwise;
    groupwise.UseStore(Path(row.file));
    groupwise.SaveIfChanged();
    ASSERT_TRUE(std::filesystem::exists(Path(row.file)));
    EXPECT_EQ(std::filesystem::last_write_time(Path(row.file)) != longAgo, row.written);
  }
  EXPECT_EQ(sim::LoadStore(Path("new.json")).calendar.size(), 0u);
}

TEST_F(GwsimServerTest, AStoreThatCannotBeReadIsReportedWithItsPlace) {
  std::ofstream(Path("broken.json"), std::ios::binary) << "{\n  \"format\": 7\n}\n";
  GroupWiseModule groupwise;
  try {
    groupwise.UseStore(Path("broken.json"));
    FAIL() << "a broken store was taken";
  } catch (const platform::Exception& failure) {
    const std::string text = failure.what();
    EXPECT_NE(text.find("broken.json, line 2"), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace gwsync
