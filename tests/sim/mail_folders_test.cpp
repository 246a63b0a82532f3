// The account's mail folders as the e-mail plug-in meets them: found by id and by name or made
// at its first run, and searched with its two queries, each folder for its own messages.

#include <functional>
#include <vector>

#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

using testing_support::At;
using testing_support::ErrorOf;
using testing_support::GroupWiseTest;
using testing_support::Object;
using testing_support::Variant;

class GroupWiseSimMailFolders : public GroupWiseTest {
 public:
  using GroupWiseTest::Account;

  GroupWiseSimMailFolders() {
    Mailbox& mailbox = *groupwise.mailbox;
    cabinet = mailbox.AddFolder(u"Cabinet", nullptr).folderId;
    projects = mailbox.AddFolder(u"Projects", mailbox.FindFolder(cabinet)).folderId;
  }

  Object AllFolders() { return Account().GetProperty("AllFolders").AsObject(); }
  Object Folder(const std::u16string& id) {
    return AllFolders().Call("Item", {Variant(id)}).AsObject();
  }
  MailMessage& File(std::u16string id, platform::AutomationDate created,
                    std::vector<std::u16string> folders, BoxType box = BoxType::kIncoming,
                    ItemClass itemClass = ItemClass::kMail) {
    MailMessage message;
    message.messageId = std::move(id);
    message.itemClass = itemClass;
    message.boxType = box;
    message.creationDate = created;
    message.folders = std::move(folders);
    return groupwise.mailbox->messages.push_back(std::move(message));
  }
  static std::vector<std::u16string> Found(const Object& folder, std::u16string_view query) {
    const Object list =
        folder.GetProperty("Messages").AsObject().Call("Find", {Variant(query)}).AsObject();
    std::vector<std::u16string> ids;
    for (int32_t i = 1, n = list.GetProperty("Count").ToInt32(); i <= n; ++i)
      ids.push_back(list.Call("Item", {i}).AsObject().GetProperty("MessageID").AsText());
    return ids;
  }

  const std::u16string mailboxId{kMailboxFolderId};
  std::u16string cabinet;
  std::u16string projects;
};

TEST_F(GroupWiseSimMailFolders, AFolderIsFoundByItsIdOrItsNameAndAMissingOneRaises) {
  struct Case {
    const char* name;
    std::function<Variant(GroupWiseSimMailFolders&)> lookUp;
    const char* found;  // the folder's Name, or a part of the error
  };
  const Case cases[] = {
      {"the mailbox", [](auto& t) { return t.Account().GetProperty("MailBox"); }, "Mailbox"},
      {"any folder by id",
       [](auto& t) { return t.AllFolders().Call("Item", {Variant(t.projects)}); }, "Projects"},
      {"an unknown id", [](auto& t) { return t.AllFolders().Call("Item", {u"SIM.NO.SUCH"}); },
       "No folder has the id \"SIM.NO.SUCH\""},
      {"an empty id", [](auto& t) { return t.AllFolders().Call("Item", {u""}); },
       "No folder has the id"},
      {"depth first by position", [](auto& t) { return t.AllFolders().Call("Item", {3}); },
       "Projects"},
      {"any folder by name in any case",
       [](auto& t) { return t.AllFolders().Call("ItemByName", {u"pROJECTS"}); }, "Projects"},
      {"no folder of that name",
       [](auto& t) { return t.AllFolders().Call("ItemByName", {u"Z380"}); },
       "No folder is named \"Z380\""},
      {"a subfolder by id",
       [](auto& t) {
         return t.Folder(t.cabinet).GetProperty("Folders").AsObject().Call("Item",
                                                                           {Variant(t.projects)});
       },
       "Projects"},
      {"a folder by id that is not a subfolder",
       [](auto& t) {
         return t.Folder(t.cabinet).GetProperty("Folders").AsObject().Call("Item",
                                                                           {Variant(t.mailboxId)});
       },
       "No subfolder has the id"},
      {"a subfolder by name",
       [](auto& t) {
         return t.Folder(t.cabinet).GetProperty("Folders").AsObject().Call("ItemByName",
                                                                           {u"projects"});
       },
       "Projects"},
      {"a folder by name that is not a subfolder",
       [](auto& t) {
         return t.Folder(t.cabinet).GetProperty("Folders").AsObject().Call("ItemByName",
                                                                           {u"Mailbox"});
       },
       "No subfolder is named"},
      {"by the account, by id",
       [](auto& t) { return t.Account().Call("GetFolder", {Variant(t.cabinet)}); }, "Cabinet"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Variant found;
    const std::string error = ErrorOf([&] { found = c.lookUp(*this); });
    if (error != "(no error)") {
      EXPECT_NE(error.find(c.found), std::string::npos) << error;
      continue;
    }
    EXPECT_EQ(testing_support::Utf8(found.AsObject().GetProperty("Name").AsText()), c.found);
  }
  // Unlike AllFolders.Item, the account answers an unknown id with an empty value.
  EXPECT_TRUE(Account().Call("GetFolder", {u"SIM.NO.SUCH"}).IsEmpty());
}

TEST_F(GroupWiseSimMailFolders, TheFirstRunMakesItsFolderBesideTheMailboxAndTwoInside) {
  const Object all = AllFolders();
  const int32_t before = all.GetProperty("Count").ToInt32();
  const Object base = all.Call("Add", {u"Z380", Variant::Null()}).AsObject();
  Account().Call("Refresh");
  const Object sub = base.GetProperty("Folders").AsObject();
  const Object sent = sub.Call("Add", {u"Sent", Variant::Null()}).AsObject();
  const Object deleted = sub.Call("Add", {u"Deleted", Variant::Null()}).AsObject();

  const Mailbox& mailbox = *groupwise.mailbox;
  const std::u16string baseId = base.GetProperty("FolderID").AsText();
  EXPECT_EQ(mailbox.topFolders.back(), baseId) << "a folder of its own, not in the mailbox";
  EXPECT_EQ(all.GetProperty("Count").ToInt32(), before + 3);
  EXPECT_EQ(sub.GetProperty("Count").ToInt32(), 2);
  // Each has an id of its own, and the next run finds it by that id.
  const std::u16string sentId = sent.GetProperty("FolderID").AsText();
  const std::u16string deletedId = deleted.GetProperty("FolderID").AsText();
  EXPECT_NE(sentId, deletedId);
  EXPECT_NE(sentId, baseId);
  EXPECT_EQ(sentId.rfind(u"SIM.DOM.PO.", 0), 0u);
  EXPECT_EQ(sub.Call("Item", {Variant(deletedId)}).AsObject().GetProperty("Name").AsText(),
            u"Deleted");
  EXPECT_EQ(Folder(sentId).GetProperty("Name").AsText(), u"Sent");
  EXPECT_EQ(sub.Call("Item", {1}).AsObject().GetProperty("FolderID").AsText(), sentId);
}

TEST_F(GroupWiseSimMailFolders, AFolderIsNotMadeTwiceNorWithoutAName) {
  struct Case {
    const char* name;
    std::function<void(GroupWiseSimMailFolders&)> add;
    const char* error;  // nullptr: made
  };
  auto subfolders = [](GroupWiseSimMailFolders& t) {
    return t.Folder(t.cabinet).GetProperty("Folders").AsObject();
  };
  const Case cases[] = {
      {"a name beside it in another case",
       [](auto& t) {
         t.AllFolders().Call("Add", {u"CABINET", Variant::Null()});
       },
       "is there already"},
      {"a subfolder's name in another case",
       [&](auto& t) { subfolders(t).Call("Add", {u"projects"}); }, "is there already"},
      {"a name taken elsewhere in the tree",
       [&](auto& t) {
         subfolders(t).Call("Add", {u"Mailbox", Variant::Null()});
       },
       nullptr},
      {"no name",
       [](auto& t) {
         t.AllFolders().Call("Add", {u"", Variant::Null()});
       },
       "needs a name"},
      {"a folder type",
       [](auto& t) {
         t.AllFolders().Call("Add", {u"Other", 1});
       },
       "only Null"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t before = groupwise.mailbox->folders.size();
    const std::string error = ErrorOf([&] { c.add(*this); });
    if (c.error) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
      EXPECT_EQ(groupwise.mailbox->folders.size(), before);
    } else {
      EXPECT_EQ(error, "(no error)");
      EXPECT_EQ(groupwise.mailbox->folders.size(), before + 1);
    }
  }
}

TEST_F(GroupWiseSimMailFolders, FindSearchesTheFolderItIsAskedWithThePlugInsQueries) {
  const std::u16string sent =
      groupwise.mailbox->AddFolder(u"Sent", groupwise.mailbox->FindFolder(cabinet)).folderId;
  File(u"first second", At(2000, 12, 1), {mailboxId});
  File(u"a second early", At(2000, 11, 30, 23, 59, 59), {mailboxId});
  File(u"last second", At(2000, 12, 8, 23, 59, 59), {mailboxId});
  File(u"a second late", At(2000, 12, 9), {mailboxId});
  File(u"sent copy", At(2000, 12, 5), {mailboxId}, BoxType::kOutgoing);
  File(u"draft", At(2000, 12, 5), {mailboxId}, BoxType::kDraft);
  File(u"phone", At(2000, 12, 5), {mailboxId}, BoxType::kIncoming, ItemClass::kPhoneMessage);
  File(u"filed away", At(2000, 12, 5), {projects});
  File(u"filed twice", At(2000, 12, 6), {projects, mailboxId});
  File(u"sent", At(2000, 12, 3), {sent}, BoxType::kOutgoing);
  File(u"answered back", At(2000, 12, 3), {sent});
  File(u"sent long ago", At(2000, 11, 1), {sent}, BoxType::kOutgoing);

  const std::u16string inbox =
      u"(MAIL OR PHONE_MESSAGE) AND (BOX_TYPE = INCOMING) AND "
      u"(START_DATE >= 2000/12/1 AT 00:00:00 AND START_DATE <= 2000/12/8 AT 23:59:59)";
  const std::u16string sentItems =
      u"(MAIL OR PHONE_MESSAGE) AND "
      u"(START_DATE >= 2000/12/1 AT 00:00:00 AND START_DATE <= 2000/12/8 AT 23:59:59)";
  struct Case {
    const char* name;
    std::u16string folder;
    std::u16string query;
    std::vector<std::u16string> found;
  };
  const Case cases[] = {
      {"the inbox", mailboxId, inbox, {u"first second", u"last second", u"phone", u"filed twice"}},
      {"the sent folder", sent, sentItems, {u"sent", u"answered back"}},
      {"the sent folder for incoming mail", sent, inbox, {u"answered back"}},
      {"mail only",
       mailboxId,
       u"(MAIL) AND (BOX_TYPE = INCOMING)",
       {u"first second", u"a second early", u"last second", u"a second late", u"filed twice"}},
      {"the other boxes", mailboxId, u"BOX_TYPE <> INCOMING", {u"sent copy", u"draft"}},
      {"a folder holds its own messages only", cabinet, sentItems, {}},
      {"calendar classes are not in folders", mailboxId, u"APPOINTMENT OR TASK OR NOTE", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Found(Folder(c.folder), c.query), c.found);
  }
}

TEST_F(GroupWiseSimMailFolders, FindRefusesAnExpressionItCannotReadAndKeepsWhatItFound) {
  File(u"kept", At(2000, 12, 1), {mailboxId});
  File(u"deleted", At(2000, 12, 2), {mailboxId});
  const Object messages =
      Account().GetProperty("MailBox").AsObject().GetProperty("Messages").AsObject();
  const std::string error = ErrorOf(
      [&] { messages.Call("Find", {u"(MAIL) AND (START_DATE >= 2000/12/01 AT 00:00:00)"}); });
  EXPECT_NE(error.find("column 35"), std::string::npos) << error;

  const Object list = messages.Call("Find", {u"MAIL"}).AsObject();
  ASSERT_EQ(list.GetProperty("Count").ToInt32(), 2);
  list.Call("Item", {2}).AsObject().Call("Delete");
  EXPECT_EQ(list.GetProperty("Count").ToInt32(), 2) << "the list is what Find found";
  EXPECT_EQ(list.Call("Item", {1}).AsObject().GetProperty("MessageID").AsText(), u"kept");
  EXPECT_NE(ErrorOf([&] { list.Call("Item", {2}); }).find("no longer exists"), std::string::npos);
  EXPECT_EQ(messages.GetProperty("Count").ToInt32(), 1);
}

TEST_F(GroupWiseSimMailFolders, AMessageTellsTheFoldersThatHoldItFirstFirst) {
  File(u"filed twice", At(2000, 12, 6), {projects, mailboxId});
  const Object message = Account().Call("GetMessage", {u"filed twice"}).AsObject();
  const Object enclosing = message.GetProperty("EnclosingFolders").AsObject();
  ASSERT_EQ(enclosing.GetProperty("Count").ToInt32(), 2);
  EXPECT_EQ(enclosing.Call("Item", {1}).AsObject().GetProperty("FolderID").AsText(), projects);
  EXPECT_EQ(enclosing.Call("Item", {2}).AsObject().GetProperty("Name").AsText(), u"Mailbox");
  // Both folders show it, by position and by id.
  for (const std::u16string& folder : {projects, mailboxId}) {
    const Object messages = Folder(folder).GetProperty("Messages").AsObject();
    EXPECT_EQ(messages.Call("Item", {1}).AsObject().GetProperty("MessageID").AsText(),
              u"filed twice");
    EXPECT_EQ(ErrorOf([&] { messages.Call("Item", {u"filed twice"}); }), "(no error)");
  }
  EXPECT_NE(ErrorOf([&] {
              Folder(cabinet).GetProperty("Messages").AsObject().Call("Item", {u"filed twice"});
            }).find("No message in this folder"),
            std::string::npos);
}

}  // namespace
}  // namespace sim
