// The session, the account it logs into, the account's owner and its calendar folder.
// The account's mail folders are in folder_objects.cpp, its messages in mail_objects.cpp.

#include "platform/portable/portable_environment.h"
#include "sim/common/json.h"
#include "sim/groupwise/objects.h"

namespace sim::groupwise {
namespace {

using platform::Object;

// The item type Messages.Add takes; 3 files the new item in the user's own (personal) box,
// which is the only kind the plug-ins create.
constexpr int32_t kPersonalItemType = 3;

class Address final : public SimObject {
 public:
  explicit Address(const Shared& shared) : SimObject("Address", shared.context) {
    AddProperty("DisplayName",
                [mailbox = shared.mailbox](Args) { return Variant(mailbox->ownerName); });
    AddProperty("EmailAddress",
                [mailbox = shared.mailbox](Args) { return Variant(mailbox->ownerEmailAddress); });
  }
};

// The calendar folder's messages: by position (1 to Count) or by MessageID, and Add.
class Messages final : public SimObject {
 public:
  explicit Messages(const Shared& shared) : SimObject("Messages", shared.context), shared_(shared) {
    AddProperty("Count", [this](Args) {
      return Variant(static_cast<int32_t>(shared_.mailbox->calendar.size()));
    });
    AddMethod("Item", [this](Args args) {
      ExpectArgCount(args, 1, 1, "Messages.Item");
      return ItemOf(Arg(args, 0, "Messages.Item"));
    });
    AddMethod("Add", [this](Args args) {
      ExpectArgCount(args, 2, 2, "Messages.Add");
      return Add(Arg(args, 0, "Messages.Add").ToText(), Arg(args, 1, "Messages.Add").ToInt32());
    });
  }

 private:
  Variant ItemOf(const Variant& key) const {
    Mailbox& mailbox = *shared_.mailbox;
    if (key.GetKind() == Variant::Kind::kText) {
      CalendarItem* item = mailbox.FindItem(key.AsText());
      if (!item) Raise("Messages.Item", "No message in this folder has that id");
      return Variant(MakeItem(shared_, *item));
    }
    const int32_t index = key.ToInt32();
    if (index < 1 || static_cast<std::size_t>(index) > mailbox.calendar.size()) {
      RaiseBadArgument("Messages.Item", "index out of range");
    }
    return Variant(MakeItem(shared_, mailbox.calendar[static_cast<std::size_t>(index - 1)]));
  }

  Variant Add(const std::u16string& className, int32_t type) const {
    const std::optional<ItemClass> itemClass = ItemClassFromName(className);
    if (!itemClass || !IsCalendarClass(*itemClass)) {
      Raise("Messages.Add", "The calendar takes appointments, tasks and notes, not \"" +
                                json::Utf16ToUtf8(className) + "\"");
    }
    if (type != kPersonalItemType) {
      RaiseBadArgument("Messages.Add", "item type " + std::to_string(type) +
                                           " is not modelled; the plug-ins pass 3");
    }
    Mailbox& mailbox = *shared_.mailbox;
    CalendarItem item;
    item.itemClass = *itemClass;
    item.boxType = BoxType::kPersonal;
    // GroupWise files a new item on the calendar only when told to (OnCalendar).
    item.onCalendar = false;
    return Variant(MakeItem(shared_, mailbox.AddNewItem(std::move(item))));
  }

  Shared shared_;
};

class Folder final : public SimObject {
 public:
  explicit Folder(const Shared& shared) : SimObject("Folder", shared.context) {
    AddProperty("Messages", [shared](Args) { return Variant(MakeObject<Messages>(shared)); });
  }
};

class Account final : public SimObject {
 public:
  explicit Account(const Shared& shared) : SimObject("Account", shared.context) {
    AddProperty("Calendar", [shared](Args) { return Variant(MakeObject<Folder>(shared)); });
    AddProperty("Owner", [shared](Args) { return Variant(MakeObject<Address>(shared)); });
    AddProperty("AddressBooks", [shared](Args) { return Variant(MakeAddressBooks(shared)); });
    AddMethod("CreateQuery", [shared](Args args) {
      ExpectArgCount(args, 0, 0, "Account.CreateQuery");
      return Variant(MakeQuery(shared));
    });
    // An unknown id is no error: the answer is simply empty.
    AddMethod("GetMessage", [shared](Args args) {
      ExpectArgCount(args, 1, 1, "Account.GetMessage");
      const std::u16string id = Arg(args, 0, "Account.GetMessage").ToText();
      if (CalendarItem* item = shared.mailbox->FindItem(id))
        return Variant(MakeItem(shared, *item));
      if (MailMessage* message = shared.mailbox->FindMessage(id)) {
        return Variant(MakeMessage(shared, *message));
      }
      return Variant();
    });
    AddMethod("GetFolder", [shared](Args args) {
      ExpectArgCount(args, 1, 1, "Account.GetFolder");
      const MailFolder* folder =
          shared.mailbox->FindFolder(Arg(args, 0, "Account.GetFolder").ToText());
      return folder ? Variant(MakeFolder(shared, *folder)) : Variant();
    });
    AddProperty("MailBox", [shared](Args) {
      const MailFolder* mailbox = shared.mailbox->FindFolder(shared.mailbox->mailboxFolderId);
      if (!mailbox) Raise("Account.MailBox", "The account has no mailbox folder");
      return Variant(MakeFolder(shared, *mailbox));
    });
    AddProperty("AllFolders", [shared](Args) { return Variant(MakeAllFolders(shared)); });
    AddProperty("PathToHost", [shared](Args) { return Variant(shared.mailbox->pathToHost); });
    // GroupWise reads the account's folders again; the simulator's are always current.
    AddMethod("Refresh", [](Args args) {
      ExpectArgCount(args, 0, 0, "Account.Refresh");
      return Variant();
    });
  }
};

class Session final : public SimObject {
 public:
  explicit Session(const Shared& shared) : SimObject("Session", shared.context), shared_(shared) {
    AddMethod("Login", [this](Args args) { return Login(args); });
    AddProperty("FullName", [this](Args) { return Variant(shared_.mailbox->fullName); });
    AddProperty("MajorVersion", [this](Args) { return Variant(shared_.mailbox->majorVersion); });
    AddProperty("MinorVersion", [this](Args) { return Variant(shared_.mailbox->minorVersion); });
  }

 private:
  // Login(user, command line, password, prompt mode) or Login(user, parameters).
  Variant Login(Args args) const {
    if (args.size() != 2 && args.size() != 4) {
      ExpectArgCount(args, 4, 4, "Session.Login");
    }
    const std::u16string user = Arg(args, 0, "Session.Login").ToText();
    // The other arguments are not looked at, only refused when they do not convert.
    Arg(args, 1, "Session.Login").ToText();
    if (args.size() == 4) {
      Arg(args, 2, "Session.Login").ToText();
      Arg(args, 3, "Session.Login").ToInt32();
    }
    const Mailbox& mailbox = *shared_.mailbox;
    switch (mailbox.login) {
      case LoginOutcome::kRaise:
        Raise("Session.Login", json::Utf16ToUtf8(mailbox.loginError));
      case LoginOutcome::kNoAccountNull:
        return Variant::Null();
      case LoginOutcome::kNoAccountEmpty:
        return Variant();
      case LoginOutcome::kAccount:
        break;
    }
    if (!mailbox.userId.empty() && !user.empty() && !SameTextIgnoringCase(user, mailbox.userId)) {
      return Variant::Null();
    }
    return Variant(MakeAccount(shared_));
  }

  Shared shared_;
};

}  // namespace

void Raise(std::string_view member, std::string_view text) {
  throw platform::AutomationError(std::string(member), platform::hresult::kException,
                                  std::string(text));
}

platform::AutomationDate Now(const Shared& shared) {
  platform::CivilDateTime now = platform::DecodeAutomationDate(
      shared.now ? shared.now() : platform::PortableEnvironment().Now());
  now.millisecond = 0;
  return platform::EncodeAutomationDate(now);
}

Object MakeSession(const Shared& shared) {
  return MakeObject<Session>(shared);
}

Object MakeAccount(const Shared& shared) {
  return MakeObject<Account>(shared);
}

}  // namespace sim::groupwise
