// Appointments, tasks and notes, and the formatted texts of their subject and body.

#include <utility>

#include "sim/groupwise/objects.h"

namespace sim::groupwise {
namespace {

using platform::Object;

// Finds the item on every call: an object can outlive its item (Delete, or another object's
// Delete), and then every member fails as GroupWise's do. Reads get the item unchangeable;
// writes go through Set, so none can miss the mailbox's change count.
class ItemRef {
 public:
  ItemRef(std::shared_ptr<Mailbox> mailbox, CalendarItem& item, std::string logClass)
      : mailbox_(std::move(mailbox)),
        id_(item.messageId),
        logClass_(std::move(logClass)),
        found_(&item),
        foundGeneration_(mailbox_->calendar.Generation()) {}

  const CalendarItem& Get(std::string_view member) const { return Find(member); }
  template <typename T>
  void Set(std::string_view member, T CalendarItem::*field, T value) const {
    mailbox_->Update(Find(member).*field, std::move(value));
  }
  Mailbox& Box() const { return *mailbox_; }
  const std::u16string& Id() const { return id_; }
  const std::string& LogClass() const { return logClass_; }

 private:
  // A read asks an item for several members in a row; finding it by its id for each would
  // cost a lookup in a table as large as the mailbox every time, so the item found is kept
  // until the calendar loses an item.
  CalendarItem& Find(std::string_view member) const {
    const uint64_t generation = mailbox_->calendar.Generation();
    if (!found_ || foundGeneration_ != generation) {
      found_ = mailbox_->FindItem(id_);
      foundGeneration_ = generation;
    }
    if (!found_) Raise(logClass_ + "." + std::string(member), "The message no longer exists");
    return *found_;
  }

  std::shared_ptr<Mailbox> mailbox_;
  std::u16string id_;
  std::string logClass_;
  mutable CalendarItem* found_;
  mutable uint64_t foundGeneration_;
};

using TextField = std::u16string CalendarItem::*;

class FormattedText final : public SimObject {
 public:
  FormattedText(const Shared& shared, ItemRef item, TextField field)
      : SimObject("FormattedText", shared.context) {
    AddProperty(
        "PlainText", [item, field](Args) { return Variant(item.Get("PlainText").*field); },
        [item, field](const Variant& value) { item.Set("PlainText", field, value.ToText()); });
  }
};

class Item final : public SimObject {
 public:
  Item(const Shared& shared, CalendarItem& item)
      : SimObject(LogClassOf(item.itemClass), shared.context),
        shared_(shared),
        item_(shared.mailbox, item, LogClassOf(item.itemClass)) {
    AddProperty("MessageID", [this](Args) { return Variant(Get("MessageID").messageId); });
    AddProperty("ClassName", [this](Args) {
      return Variant(std::u16string(ClassNameOf(Get("ClassName").itemClass)));
    });
    AddFormattedText("Subject", &CalendarItem::subject);
    AddFormattedText("BodyText", &CalendarItem::bodyText);
    // Read-only, as on GroupWise's own items: privacy is changed through the commander's
    // ItemSetAttribute token, so a plug-in that writes the member fails here.
    AddProperty("Private", [this](Args) { return ReadPrivate(); });
    AddProperty("Personal", [this](Args) { return Variant(Get("Personal").personal); });
    AddProperty("BoxType", [this](Args) { return Variant(BoxTypeNumber(Get("BoxType").boxType)); });
    AddText("FromText", &CalendarItem::fromText);
    AddBool("OnCalendar", &CalendarItem::onCalendar);
    AddDate("StartDate", &CalendarItem::startDate);
    AddMethod("Refresh", [this](Args args) {
      ExpectArgCount(args, 0, 0, Qualified("Refresh"));
      Get("Refresh");
      return Variant();
    });
    AddMethod("Delete", [this](Args args) {
      ExpectArgCount(args, 0, 0, Qualified("Delete"));
      Get("Delete");
      item_.Box().RemoveItem(item_.Id());
      return Variant();
    });

    // A member the class does not have is an unknown name, as it is on GroupWise's objects:
    // a plug-in that writes a place into a note fails instead of storing it.
    const ItemClass itemClass = item.itemClass;
    if (HasField(itemClass, ClassField::kEndDate)) AddDate("EndDate", &CalendarItem::endDate);
    if (HasField(itemClass, ClassField::kPlace)) AddText("Place", &CalendarItem::place);
    if (HasField(itemClass, ClassField::kDueDate)) AddDate("DueDate", &CalendarItem::dueDate);
    if (HasField(itemClass, ClassField::kAssignedDate)) {
      AddDate("AssignedDate", &CalendarItem::assignedDate);
    }
    if (HasField(itemClass, ClassField::kCompleted)) AddBool("Completed", &CalendarItem::completed);
    if (HasField(itemClass, ClassField::kTaskPriority)) {
      AddProperty(
          "TaskPriority", [this](Args) { return Variant(Get("TaskPriority").taskPriority); },
          [this](const Variant& v) {
            item_.Set("TaskPriority", &CalendarItem::taskPriority, v.ToInt32());
          });
    }
    if (HasField(itemClass, ClassField::kTaskCategory)) {
      AddText("TaskCategory", &CalendarItem::taskCategory);
    }
  }

 private:
  std::string Qualified(std::string_view member) const {
    return item_.LogClass() + "." + std::string(member);
  }
  const CalendarItem& Get(std::string_view member) const { return item_.Get(member); }

  Variant ReadPrivate() const {
    const CalendarItem& item = Get("Private");
    if (item.privateReadRaises) {
      Raise(Qualified("Private"), "The privacy of this item is not available");
    }
    return Variant(item.isPrivate);
  }

  // Read, the member is a formatted-text object; written, it takes the plain text, as
  // GroupWise lets a controller assign a text to it directly.
  void AddFormattedText(std::string name, TextField field) {
    const std::string member = name;
    AddProperty(
        std::move(name),
        [this, member, field](Args) {
          Get(member);
          return Variant(MakeObject<FormattedText>(shared_, item_, field));
        },
        [this, member, field](const Variant& v) { item_.Set(member, field, v.ToText()); });
  }

  void AddText(std::string name, TextField field) {
    const std::string member = name;
    AddProperty(
        std::move(name), [this, member, field](Args) { return Variant(Get(member).*field); },
        [this, member, field](const Variant& v) { item_.Set(member, field, v.ToText()); });
  }
  void AddBool(std::string name, bool CalendarItem::*field) {
    const std::string member = name;
    AddProperty(
        std::move(name), [this, member, field](Args) { return Variant(Get(member).*field); },
        [this, member, field](const Variant& v) { item_.Set(member, field, v.ToBool()); });
  }
  void AddDate(std::string name, platform::AutomationDate CalendarItem::*field) {
    const std::string member = name;
    AddProperty(
        std::move(name), [this, member, field](Args) { return Variant(Get(member).*field); },
        [this, member, field](const Variant& v) {
          const platform::AutomationDate date = v.ToDate();
          // Refused here rather than later, when the store is saved or a query decodes it.
          bool valid = false;
          try {
            const platform::CivilDateTime c = platform::DecodeAutomationDate(date);
            valid = platform::IsValidCivilDate(c.year, c.month, c.day);
          } catch (const platform::Exception&) {
            // Not finite or far outside the calendar: refused below like any other.
          }
          if (!valid) RaiseBadArgument(Qualified(member), "not a date GroupWise can hold");
          item_.Set(member, field, date);
        });
  }

  Shared shared_;
  ItemRef item_;
};

}  // namespace

std::string LogClassOf(ItemClass itemClass) {
  switch (itemClass) {
    case ItemClass::kAppointment:
      return "Appointment";
    case ItemClass::kTask:
      return "Task";
    case ItemClass::kNote:
      return "Note";
    case ItemClass::kMail:
      return "Mail";
    case ItemClass::kPhoneMessage:
      return "PhoneMessage";
    case ItemClass::kDocumentReference:
      return "DocumentReference";
  }
  return "Message";
}

Object MakeItem(const Shared& shared, CalendarItem& item) {
  return MakeObject<Item>(shared, item);
}

}  // namespace sim::groupwise
