#include "sim/groupwise/simulated_groupwise.h"

namespace sim {
namespace {

using platform::Object;

// Subject and BodyText are formatted-text objects; the plug-ins use their PlainText.
class FormattedText final : public SimObject {
 public:
  FormattedText(std::shared_ptr<SimContext> context, std::shared_ptr<Mailbox> mailbox,
                std::u16string messageId, std::u16string CalendarItem::*field)
      : SimObject("FormattedText", std::move(context)) {
    auto item = [mailbox, messageId]() -> CalendarItem& {
      CalendarItem* found = mailbox->FindItem(messageId);
      if (!found)
        throw platform::AutomationError("PlainText", platform::hresult::kFail,
                                        "The item no longer exists");
      return *found;
    };
    AddProperty(
        "PlainText", [item, field](Args) { return Variant(item().*field); },
        [item, field](const Variant& value) { item().*field = value.ToText(); });
  }
};

class Item final : public SimObject {
 public:
  Item(std::shared_ptr<SimContext> context, std::shared_ptr<Mailbox> mailbox, std::u16string id)
      : SimObject("Item", std::move(context)), mailbox_(std::move(mailbox)), id_(std::move(id)) {
    AddProperty("MessageID", [this](Args) { return Variant(Get().messageId); });
    AddProperty("ClassName", [this](Args) { return Variant(Get().className); });
    AddProperty("Subject", [this](Args) { return Text(&CalendarItem::subject); });
    AddProperty("BodyText", [this](Args) { return Text(&CalendarItem::bodyText); });
    AddProperty(
        "Place", [this](Args) { return Variant(Get().place); },
        [this](const Variant& v) { Get().place = v.ToText(); });
    AddProperty(
        "StartDate", [this](Args) { return Variant(Get().startDate); },
        [this](const Variant& v) { Get().startDate = v.ToDate(); });
    AddProperty(
        "EndDate", [this](Args) { return Variant(Get().endDate); },
        [this](const Variant& v) { Get().endDate = v.ToDate(); });
    AddProperty(
        "Private", [this](Args) { return Variant(Get().isPrivate); },
        [this](const Variant& v) { Get().isPrivate = v.ToBool(); });
    AddProperty("Personal", [this](Args) { return Variant(Get().personal); });
    AddMethod("Refresh", [this](Args) {
      Get();
      return Variant();
    });
    AddMethod("Delete", [this](Args) {
      if (!mailbox_->RemoveItem(id_)) Missing();
      return Variant();
    });
  }

 private:
  CalendarItem& Get() {
    CalendarItem* item = mailbox_->FindItem(id_);
    if (!item) Missing();
    return *item;
  }
  [[noreturn]] void Missing() const {
    throw platform::AutomationError("Item", platform::hresult::kFail, "The item no longer exists");
  }
  Variant Text(std::u16string CalendarItem::*field) {
    Get();
    return Variant(MakeObject<FormattedText>(SharedContext(), mailbox_, id_, field));
  }

  std::shared_ptr<Mailbox> mailbox_;
  std::u16string id_;
};

class Messages final : public SimObject {
 public:
  Messages(std::shared_ptr<SimContext> context, std::shared_ptr<Mailbox> mailbox)
      : SimObject("Messages", std::move(context)), mailbox_(std::move(mailbox)) {
    AddProperty("Count",
                [this](Args) { return Variant(static_cast<int32_t>(mailbox_->calendar.size())); });
    // By 1-based index, or by message id.
    AddMethod("Item", [this](Args args) {
      const Variant& key = Arg(args, 0, "Messages.Item");
      if (key.GetKind() == Variant::Kind::kText) {
        if (!mailbox_->FindItem(key.AsText())) return Variant(Object());
        return Wrap(key.AsText());
      }
      const int32_t index = key.ToInt32();
      if (index < 1 || index > static_cast<int32_t>(mailbox_->calendar.size())) {
        RaiseBadArgument("Messages.Item", "index out of range");
      }
      return Wrap(mailbox_->calendar[static_cast<std::size_t>(index - 1)].messageId);
    });
    AddMethod("Add", [this](Args args) {
      CalendarItem item;
      item.className = Arg(args, 0, "Messages.Add").ToText();
      item.messageId = mailbox_->NewMessageId();
      mailbox_->calendar.push_back(item);
      return Wrap(item.messageId);
    });
  }

 private:
  Variant Wrap(const std::u16string& id) {
    return Variant(MakeObject<Item>(SharedContext(), mailbox_, id));
  }
  std::shared_ptr<Mailbox> mailbox_;
};

class Owner final : public SimObject {
 public:
  Owner(std::shared_ptr<SimContext> context, std::shared_ptr<Mailbox> mailbox)
      : SimObject("Owner", std::move(context)) {
    AddProperty("DisplayName", [mailbox](Args) { return Variant(mailbox->ownerName); });
  }
};

class Folder final : public SimObject {
 public:
  Folder(std::shared_ptr<SimContext> context, std::shared_ptr<Mailbox> mailbox)
      : SimObject("Folder", std::move(context)) {
    AddProperty("Messages", [this, mailbox](Args) {
      return Variant(MakeObject<Messages>(SharedContext(), mailbox));
    });
  }
};

class Account final : public SimObject {
 public:
  Account(std::shared_ptr<SimContext> context, std::shared_ptr<Mailbox> mailbox)
      : SimObject("Account", std::move(context)) {
    AddProperty("Calendar", [this, mailbox](Args) {
      return Variant(MakeObject<Folder>(SharedContext(), mailbox));
    });
    AddProperty("Owner", [this, mailbox](Args) {
      return Variant(MakeObject<Owner>(SharedContext(), mailbox));
    });
  }
};

class Session final : public SimObject {
 public:
  Session(std::shared_ptr<SimContext> context, std::shared_ptr<Mailbox> mailbox)
      : SimObject("Session", std::move(context)) {
    AddMethod("Login", [this, mailbox](Args) {
      if (mailbox->loginReturnsNoAccount) return Variant::Null();
      return Variant(MakeObject<Account>(SharedContext(), mailbox));
    });
    AddProperty("FullName", [mailbox](Args) { return Variant(mailbox->fullName); });
    AddProperty("MajorVersion", [mailbox](Args) { return Variant(mailbox->majorVersion); });
    AddProperty("MinorVersion", [mailbox](Args) { return Variant(mailbox->minorVersion); });
  }
};

}  // namespace

platform::Object GroupWise::CreateSession() const {
  return MakeObject<Session>(context, mailbox);
}

void GroupWise::RegisterWith(platform::ObjectRegistry& registry) const {
  registry.Register(std::string(kSessionProgId), [copy = *this] { return copy.CreateSession(); });
}

}  // namespace sim
