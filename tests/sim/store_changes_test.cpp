// Whether a run writes the store: after every kind of change the automation objects can make,
// and never after a run that only reads, writes a value over itself or is refused. The file's
// time tells whether it was written; the store's text, compared here only, tells whether the
// row really changes the mailbox.

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>

#include "sim/groupwise/sample_mailbox.h"
#include "sim/groupwise/store.h"
#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

using testing_support::At;
using testing_support::Object;
using testing_support::Variant;

// The objects a row works with, over the sample mailbox.
struct Objects {
  explicit Objects(const std::shared_ptr<Mailbox>& state) : groupwise{state} {
    account = testing_support::AccountOf(groupwise);
    messages = testing_support::CalendarMessagesOf(groupwise);
    commander = groupwise.CreateCommander();
    books = account.GetProperty("AddressBooks").AsObject();
  }

  // The first item of the class whose privacy both its member and the commander tell.
  const CalendarItem& ItemOf(ItemClass itemClass) const {
    for (const CalendarItem& item : groupwise.mailbox->calendar) {
      if (item.itemClass == itemClass && !item.privateReadRaises && item.failingTokens.empty()) {
        return item;
      }
    }
    throw std::logic_error("the sample mailbox has no such item");
  }
  Object Item(ItemClass itemClass) const {
    return messages.Call("Item", {Variant(ItemOf(itemClass).messageId)}).AsObject();
  }
  Object Appointment() const { return Item(ItemClass::kAppointment); }
  Object Task() const { return Item(ItemClass::kTask); }

  int32_t Execute(const std::u16string& token) const {
    Variant answer(u"");
    return commander.Call("Execute", {Variant(token), Variant::Reference(answer)}).ToInt32();
  }
  int32_t SetPrivacy(const CalendarItem& item, bool isPrivate) const {
    return Execute(u"ItemSetAttribute(\"" + item.messageId + u"\"; Private!; " +
                   (isPrivate ? u"Yes!" : u"No!") + u")");
  }

  Object Book() const { return books.Call("Item", {1}).AsObject(); }
  Object Entries() const { return Book().GetProperty("AddressBookEntries").AsObject(); }
  Object Definitions() const { return Book().GetProperty("FieldDefinitions").AsObject(); }
  Object Fields(int entry) const {
    return Entries().Call("Item", {entry}).AsObject().GetProperty("Fields").AsObject();
  }
  Object Field(int entry, std::u16string_view name) const {
    return Fields(entry).Call("Item", {Variant(name), int16_t{1}}).AsObject();
  }

  Object MailBox() const { return account.GetProperty("MailBox").AsObject(); }
  // The first mail of the inbox, unread and with attachments.
  Object MailMessages() const { return MailBox().GetProperty("Messages").AsObject(); }
  Object Mail() const { return MailMessages().Call("Item", {1}).AsObject(); }
  Object Recipients() const { return Mail().GetProperty("Recipients").AsObject(); }
  Object Cabinet() const {
    const Object all = account.GetProperty("AllFolders").AsObject();
    return all.Call("ItemByName", {u"Cabinet"}).AsObject().GetProperty("Messages").AsObject();
  }

  GroupWise groupwise;
  Object account;
  Object messages;
  Object commander;
  Object books;
};

// Every member a read can reach, on every item, entry, field and definition.
void ReadEverything(const Objects& objects) {
  const Object query = objects.account.Call("CreateQuery", {}).AsObject();
  query.PutProperty("Expression", u"(APPOINTMENT) OR (TASK) OR (NOTE)");
  query.PutProperty("SearchLocally", true);
  query.Call("Start", {});
  while (!query.GetProperty("Completed").ToBool()) {
  }
  const Object found = query.GetProperty("QueryMessages").AsObject();
  ASSERT_EQ(found.GetProperty("Count").ToInt32(),
            static_cast<int32_t>(objects.groupwise.mailbox->calendar.size()));
  for (int32_t i = 1; i <= found.GetProperty("Count").ToInt32(); ++i) {
    const Object item = found.Call("Item", {i}).AsObject();
    const std::u16string id = item.GetProperty("MessageID").AsText();
    const CalendarItem& state = *objects.groupwise.mailbox->FindItem(id);
    std::vector<const char*> members = {"ClassName", "Personal", "FromText", "OnCalendar",
                                        "StartDate"};
    if (state.itemClass == ItemClass::kAppointment)
      members.insert(members.end(), {"EndDate", "Place"});
    if (state.itemClass == ItemClass::kTask) {
      members.insert(members.end(),
                     {"DueDate", "AssignedDate", "Completed", "TaskPriority", "TaskCategory"});
    }
    if (!state.privateReadRaises) members.push_back("Private");
    for (const char* member : members)
      item.GetProperty(member);
    item.GetProperty("Subject").AsObject().GetProperty("PlainText");
    item.GetProperty("BodyText").AsObject().GetProperty("PlainText");
    item.Call("Refresh", {});
    objects.Execute(u"ItemGetAttribute(\"" + id + u"\";Private!)");
    objects.account.Call("GetMessage", {Variant(id)});
  }
  for (int32_t i = 1; i <= objects.messages.GetProperty("Count").ToInt32(); ++i)
    objects.messages.Call("Item", {i}).AsObject().GetProperty("MessageID");
  objects.account.GetProperty("Owner").AsObject().GetProperty("DisplayName");

  const Object definitions = objects.Definitions();
  for (int32_t i = 1; i <= definitions.GetProperty("Count").ToInt32(); ++i) {
    const Object definition = definitions.Call("Item", {i}).AsObject();
    definition.GetProperty("Name");
    definition.GetProperty("FieldID");
  }
  const Object entries = objects.Entries();
  for (int32_t i = 1; i <= entries.GetProperty("Count").ToInt32(); ++i) {
    const Object entry = entries.Call("Item", {i}).AsObject();
    entry.GetProperty("ObjType");
    entry.Call("Refresh", {});
    const Object fields = entry.GetProperty("Fields").AsObject();
    for (int32_t f = 1; f <= fields.GetProperty("Count").ToInt32(); ++f) {
      const Object field = fields.Call("Item", {f}).AsObject();
      field.GetProperty("Value");
      field.GetProperty("FieldID");
      field.Call("Refresh", {});
    }
  }
}

// Every member the e-mail plug-in's read reaches, on every message of the mailbox folder: the
// body, the files saved and the attached items rendered. Opening a message marks it read, so
// the read restores each message's Read as the plug-in does.
void ReadAllMail(const Objects& objects) {
  const testing_support::ScratchFolder folder;
  const std::string prefix = folder.Path().string() + "/saved.bin";
  const Object found = objects.MailBox()
                           .GetProperty("Messages")
                           .AsObject()
                           .Call("Find", {u"MAIL OR PHONE_MESSAGE"})
                           .AsObject();
  ASSERT_GT(found.GetProperty("Count").ToInt32(), 20);
  for (int32_t i = 1; i <= found.GetProperty("Count").ToInt32(); ++i) {
    const Object message = found.Call("Item", {i}).AsObject();
    const bool read = message.GetProperty("Read").ToBool();
    for (const char* member :
         {"MessageID", "ClassName", "CreationDate", "BoxType", "Priority", "FromText"})
      message.GetProperty(member);
    message.GetProperty("BodyText").AsObject().GetProperty("PlainText");
    message.GetProperty("EnclosingFolders")
        .AsObject()
        .Call("Item", {1})
        .AsObject()
        .GetProperty("FolderID");
    const Object attachments = message.GetProperty("Attachments").AsObject();
    for (int32_t a = 1; a <= attachments.GetProperty("Count").ToInt32(); ++a) {
      const Object attachment = attachments.Call("Item", {a}).AsObject();
      const int32_t kind = attachment.GetProperty("ObjType").ToInt32();
      if (kind == kFileAttachment &&
          attachment.GetProperty("FileName").AsText() != u"..\\report:v2?.txt") {
        attachment.Call("Save", {Variant(std::u16string(prefix.begin(), prefix.end()))});
      } else if (kind == kMessageAttachment) {
        attachment.GetProperty("Message")
            .AsObject()
            .GetProperty("BodyText")
            .AsObject()
            .GetProperty("PlainText");
      }
    }
    message.PutProperty("Read", read);
  }
}

// A call the simulator refuses; the row fails when it is taken.
template <typename Call>
void Refused(Call&& call) {
  EXPECT_NE(testing_support::HResultOf(call), 0);
}

TEST(GroupWiseSimStoreChanges, TheStoreIsWrittenAfterEveryKindOfChangeAndOnlyThen) {
  struct Case {
    const char* name;
    bool changes;
    std::function<void(const Objects&)> act;
  };
  const Case cases[] = {
      // What the calendar plug-in's writes do.
      {"Messages.Add", true,
       [](const Objects& r) {
         r.messages.Call("Add", {u"GW.MESSAGE.NOTE", int16_t{3}});
       }},
      {"Appointment.Delete", true, [](const Objects& r) { r.Appointment().Call("Delete", {}); }},
      {"Subject's PlainText", true,
       [](const Objects& r) {
         r.Appointment().GetProperty("Subject").AsObject().PutProperty("PlainText", u"Moved");
       }},
      {"Subject", true, [](const Objects& r) { r.Appointment().PutProperty("Subject", u"Moved"); }},
      {"BodyText", true, [](const Objects& r) { r.Appointment().PutProperty("BodyText", u"New"); }},
      {"FromText", true, [](const Objects& r) { r.Appointment().PutProperty("FromText", u"Me"); }},
      {"OnCalendar", true,
       [](const Objects& r) { r.Appointment().PutProperty("OnCalendar", false); }},
      {"StartDate", true,
       [](const Objects& r) { r.Appointment().PutProperty("StartDate", At(1999, 1, 1, 9)); }},
      {"EndDate", true,
       [](const Objects& r) { r.Appointment().PutProperty("EndDate", At(2030, 1, 1, 9)); }},
      {"Place", true, [](const Objects& r) { r.Appointment().PutProperty("Place", u"Elsewhere"); }},
      {"DueDate", true, [](const Objects& r) { r.Task().PutProperty("DueDate", At(2030, 1, 1)); }},
      {"AssignedDate", true,
       [](const Objects& r) { r.Task().PutProperty("AssignedDate", At(1999, 1, 1)); }},
      {"Completed", true,
       [](const Objects& r) {
         r.Task().PutProperty("Completed", !r.ItemOf(ItemClass::kTask).completed);
       }},
      {"TaskPriority", true, [](const Objects& r) { r.Task().PutProperty("TaskPriority", 9); }},
      {"TaskCategory", true, [](const Objects& r) { r.Task().PutProperty("TaskCategory", u"X"); }},
      {"privacy through the commander", true,
       [](const Objects& r) {
         const CalendarItem& item = r.ItemOf(ItemClass::kAppointment);
         EXPECT_EQ(r.SetPrivacy(item, !item.isPrivate), 1);
       }},
      // What the contact operations do.
      {"AddressBooks.Add", true, [](const Objects& r) { r.books.Call("Add", {u"Another"}); }},
      {"AddressBookEntries.Add", true,
       [](const Objects& r) { r.Entries().Call("Add", {u"New Person"}); }},
      {"AddressBookEntry.Delete", true,
       [](const Objects& r) { r.Entries().Call("Item", {1}).AsObject().Call("Delete", {}); }},
      {"Fields.Add", true,
       [](const Objects& r) {
         r.Fields(2).Call("Add", {u"E-Mail Address", int16_t{1}, u"eleni@example.com"});
       }},
      {"Field.Value", true,
       [](const Objects& r) { r.Field(1, u"City").PutProperty("Value", u"Hamburg"); }},
      {"FieldDefinitions.Add", true,
       [](const Objects& r) {
         r.Definitions().Call("Add", {u"Nickname", int16_t{1}});
       }},

      // What the e-mail plug-in's first run and its writes do.
      {"AllFolders.Add", true,
       [](const Objects& r) {
         r.account.GetProperty("AllFolders").AsObject().Call("Add", {u"Z380", Variant::Null()});
       }},
      {"Folders.Add", true,
       [](const Objects& r) {
         r.MailBox().GetProperty("Folders").AsObject().Call("Add", {u"Z380", Variant::Null()});
       }},
      {"Mail.Read", true, [](const Objects& r) { r.Mail().PutProperty("Read", true); }},
      {"Mail.Priority", true, [](const Objects& r) { r.Mail().PutProperty("Priority", 1); }},
      {"Mail's Subject", true, [](const Objects& r) { r.Mail().PutProperty("Subject", u"New"); }},
      {"Mail's BodyText", true,
       [](const Objects& r) {
         r.Mail().GetProperty("BodyText").AsObject().PutProperty("PlainText", u"New");
       }},
      {"Mail.Delete", true, [](const Objects& r) { r.Mail().Call("Delete", {}); }},
      {"Attachment.Delete", true,
       [](const Objects& r) {
         r.Mail()
             .GetProperty("Attachments")
             .AsObject()
             .Call("Item", {1})
             .AsObject()
             .Call("Delete", {});
       }},
      {"a draft made", true,
       [](const Objects& r) {
         r.MailMessages().Call("Add", {Variant::Null(), 4});
       }},
      {"Recipients.Add", true, [](const Objects& r) { r.Recipients().Call("Add", {u"x@y.z"}); }},
      {"Recipient.Resolve", true,
       [](const Objects& r) { r.Recipients().Call("Item", {1}).AsObject().Call("Resolve"); }},
      {"Messages.Move", true,
       [](const Objects& r) {
         r.MailMessages().Call("Move", {r.Mail().GetProperty("MessageID"), Variant(r.Cabinet())});
       }},
      {"opening a message", true,
       [](const Objects& r) {
         r.Mail().GetProperty("BodyText").AsObject().GetProperty("PlainText");
       }},

      {"a read of everything", false, ReadEverything},
      {"a read of all mail", false, ReadAllMail},
      {"a message marked read and back", false,
       [](const Objects& r) {
         const Object mail = r.Mail();
         mail.PutProperty("Read", true);
         mail.PutProperty("Read", false);
       }},
      {"values written over themselves", false,
       [](const Objects& r) {
         const CalendarItem& appointment = r.ItemOf(ItemClass::kAppointment);
         const Object item = r.Appointment();
         item.GetProperty("Subject").AsObject().PutProperty("PlainText", appointment.subject);
         item.PutProperty("Place", appointment.place);
         item.PutProperty("StartDate", appointment.startDate);
         item.PutProperty("OnCalendar", appointment.onCalendar);
         r.Task().PutProperty("TaskPriority", r.ItemOf(ItemClass::kTask).taskPriority);
         EXPECT_EQ(r.SetPrivacy(appointment, appointment.isPrivate), 1);
         const Object city = r.Field(1, u"City");
         city.PutProperty("Value", city.GetProperty("Value"));
         const Object mail = r.Mail();
         mail.PutProperty("Read", mail.GetProperty("Read"));
         mail.PutProperty("Priority", mail.GetProperty("Priority"));
         mail.PutProperty("Subject",
                          mail.GetProperty("Subject").AsObject().GetProperty("PlainText"));
       }},
      {"refused changes", false,
       [](const Objects& r) {
         Refused([&] { r.messages.Call("Add", {u"GW.MESSAGE.MAIL", int16_t{3}}); });
         Refused([&] { r.messages.Call("Add", {u"GW.MESSAGE.NOTE", int16_t{1}}); });
         Refused([&] { r.Appointment().PutProperty("Private", true); });
         Refused([&] { r.Appointment().PutProperty("StartDate", -1e9); });
         Refused([&] { r.books.Call("Add", {u"didodudo z380"}); });
         Refused([&] { r.Definitions().Call("Add", {u"pmtpiuid", int16_t{1}}); });
         Refused([&] { r.Fields(1).Call("Add", {u"City", int16_t{1}, u"Bonn"}); });
         Refused([&] { r.Fields(1).Call("Add", {u"Shoe Size", int16_t{1}, u"42"}); });
         EXPECT_EQ(r.Execute(u"ItemSetAttribute(\"NO.SUCH.ID\"; Private!; Yes!)"), 0);
         Refused([&] { r.Mail().PutProperty("Priority", 0); });
         Refused([&] { r.account.GetProperty("AllFolders").AsObject().Call("Add", {u"mailbox"}); });
         Refused([&] { r.Mail().Call("Send"); });
         Refused([&] { r.MailMessages().Call("Move", {u"NO.SUCH", Variant(r.Cabinet())}); });
         Refused([&] {
           r.Mail()
               .GetProperty("Attachments")
               .AsObject()
               .Call("Item", {1})
               .AsObject()
               .Call("Save", {u"/no/such/folder/file.txt"});
         });
       }},
  };
  // Named afresh for each run: two builds' tests may run at the same time on one machine.
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("gws_store_changes_" + std::to_string(std::random_device{}()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "mailbox.json").string();
  // Made once: the sample's mail holds megabytes.
  const std::string sample = (folder / "sample.json").string();
  WriteSampleStore(sample, At(2000, 1, 5));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(path);
    std::filesystem::copy_file(sample, path);
    std::filesystem::last_write_time(
        path, std::filesystem::last_write_time(path) - std::chrono::hours(48));
    const auto longAgo = std::filesystem::last_write_time(path);  // as the file system keeps it

    StoreFile store(path);
    const std::string before = StoreToJson(*store.State());
    c.act(Objects(store.State()));
    ASSERT_EQ(StoreToJson(*store.State()) != before, c.changes) << "the row is not what it says";
    EXPECT_EQ(store.Changed(), c.changes);
    store.SaveIfChanged();
    EXPECT_EQ(std::filesystem::last_write_time(path) != longAgo, c.changes);
    EXPECT_FALSE(store.Changed()) << "saved, the store is up to date";
    EXPECT_EQ(StoreToJson(LoadStore(path)), StoreToJson(*store.State()));
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace sim
