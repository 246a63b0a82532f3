// Writing device entries into GroupWise calendar items: add, modify and delete, shared by
// appointments, tasks and notes, their property mappings, and the commander and deletion
// helpers.
//
// A record is read and decoded whole before GroupWise is touched (PlanUpdate), so a record the
// mapping cannot use is refused before an item is created or changed. Only GroupWise failing in
// the middle of the writes can still leave an item partly changed; the trace and the host's log
// then name it. An insert that fails after GroupWise created its item removes that item again:
// the host is told the insert failed and will send it again, which must not leave a second copy
// for the next read.

#include <charconv>
#include <optional>

#include "framework/data_types.h"
#include "framework/entry_list.h"
#include "framework/groupwise.h"
#include "framework/text_codec.h"
#include "framework/text_util.h"
#include "framework/versit_date.h"
#include "pimsync/calendar_kind.h"
#include "pimsync/pim_plugin.h"
#include "pimsync/progress_reset.h"

namespace pimsync {
namespace {

using framework::FormatText;
using framework::TEntry;
using platform::Object;
using platform::Variant;

// A task's priority as the device sends it; a value that is no whole number means the first.
int32_t PriorityValue(std::string_view text) {
  int32_t value = 0;
  const char* end = text.data() + text.size();
  const char* digits = text.data() + (text.starts_with('+') ? 1 : 0);
  const auto [stop, error] = std::from_chars(digits, end, value);
  if (text.empty() || error != std::errc() || stop != end) return 1;
  return value;
}

Object CalendarMessages(const Object& account) {
  return framework::groupwise::Account(account).Calendar().GetProperty("Messages").ToObject();
}

// GroupWise finds any item by its id; a request for one kind must not reach another (deleting a
// task because its id came with an appointment record).
bool IsOfClass(const Object& item, std::u16string_view className) {
  const std::u16string actual = item.GetProperty("ClassName").ToText();
  return actual == className || (actual.size() > className.size() &&
                                 actual.starts_with(className) && actual[className.size()] == u'.');
}

}  // namespace

Object TISYNCHAPPU::FindCalendarItem(const std::string& uid, std::u16string_view className) {
  if (uid.empty()) return Object();
  Object item = framework::groupwise::Account(FGWAccount).GetMessage(Services().Ansi().ToWide(uid));
  if (!item || !IsOfClass(item, className)) return Object();
  return item;
}

void TISYNCHAPPU::RebuildEntry(TEntry& entry, const Object& item, int type, std::string_view noun) {
  const std::string_view kind = framework::RecordKind(static_cast<int16_t>(type));
  entry.Properties.Clear();
  entry.Properties.Add("BEGIN", "", kind);
  entry.Properties.Add("VERSION", "", "1.0");
  if (!BuildApptEntry(entry, item, type)) {
    throw platform::Exception(FormatText("Error building %s entry", {noun}));
  }
  entry.Properties.Add("END", "", kind);
}

std::string TISYNCHAPPU::ItemForPeople(const Object& item) {
  std::string subject = "?", start = "?";
  try {
    subject = ItemText(item, "Subject");
    start = Services().Env().FormatDateTime(item.GetProperty("StartDate").ToDate());
  } catch (const std::exception&) {
    // The item names itself as well as it still can.
  }
  return subject + " - " + start;
}

void TISYNCHAPPU::FailPartialUpdate(const std::string& forPeople, std::string_view noun) {
  Progress().Log(FormatText("%s\r\nGroupWise failed while the change was written; the %s may be "
                            "partly changed",
                            {forPeople, noun}),
                 FormatText("GroupWise %s update failed", {noun}));
  throw platform::Exception("UpdateMessage failed");
}

void TISYNCHAPPU::DiscardHalfMadeItem(const Object& item, const std::string& forPeople) {
  try {
    item.Call("Delete");
    Trace(
        FormatText("TISYNCHAPPU: removed the half-made item [%s] of a failed insert", {forPeople}));
  } catch (const std::exception& failure) {
    Trace(
        FormatText("TISYNCHAPPU: the half-made item [%s] of a failed insert could not be "
                   "removed: [%s]",
                   {forPeople, failure.what()}));
    try {
      Progress().Log(FormatText("%s\r\nGroupWise kept part of an item the device added; it may "
                                "appear twice after the next synchronization",
                                {forPeople}),
                     "GroupWise insert failed");
    } catch (const std::exception&) {
      // The trace already says it; the insert fails either way.
    }
  }
}

bool TISYNCHAPPU::AddPIMAppointment(TEntry& entry) {
  return AddCalendarItem(entry, kAppointmentKind);
}
bool TISYNCHAPPU::ModifyPIMAppointment(TEntry& entry) {
  return ModifyCalendarItem(entry, kAppointmentKind);
}
bool TISYNCHAPPU::DeletePIMAppointment(TEntry& entry) {
  return DeleteCalendarItem(entry, kAppointmentKind);
}
bool TISYNCHAPPU::AddPIMTask(TEntry& entry) {
  return AddCalendarItem(entry, kTaskKind);
}
bool TISYNCHAPPU::ModifyPIMTask(TEntry& entry) {
  return ModifyCalendarItem(entry, kTaskKind);
}
bool TISYNCHAPPU::DeletePIMTask(TEntry& entry) {
  return DeleteCalendarItem(entry, kTaskKind);
}
bool TISYNCHAPPU::AddPIMEvent(TEntry& entry) {
  return AddCalendarItem(entry, kNoteKind);
}
bool TISYNCHAPPU::ModifyPIMEvent(TEntry& entry) {
  return ModifyCalendarItem(entry, kNoteKind);
}
bool TISYNCHAPPU::DeletePIMEvent(TEntry& entry) {
  return DeleteCalendarItem(entry, kNoteKind);
}

bool TISYNCHAPPU::AddCalendarItem(TEntry& entry, const CalendarKind& kind) {
  Trace(FormatText("TISYNCHAPPU.AddPIM%s", {kind.operation}));
  Object created;
  try {
    WriteScope scope(Progress(), entry);
    const ItemUpdate update = PlanRecordUpdate(entry, kind.type, kind.noun);
    const Object messages = CalendarMessages(FGWAccount);
    created = messages.Call("Add", {std::u16string(kind.className), int16_t{3}}).ToObject();
    created.PutProperty("OnCalendar", true);
    created.PutProperty("FromText", framework::groupwise::Account(FGWAccount).OwnerDisplayName());
    if (!kind.newItemCategory.empty()) {
      created.PutProperty("TaskCategory", std::u16string(kind.newItemCategory));
    }
    if (!UpdateMessage(created, update)) throw platform::Exception("UpdateMessage failed");
    const Object stored = messages.Call("Item", {created.GetProperty("MessageID")}).ToObject();
    // The host learns the new item's identity from the rebuilt entry's UID.
    RebuildEntry(entry, stored, kind.type, kind.noun);
    return true;
  } catch (const std::exception&) {
    if (created) DiscardHalfMadeItem(created, ItemForPeople(created));
    return false;
  }
}

bool TISYNCHAPPU::ModifyCalendarItem(TEntry& entry, const CalendarKind& kind) {
  const std::string operation = FormatText("TISYNCHAPPU.ModifyPIM%s", {kind.operation});
  Trace(operation);
  try {
    WriteScope scope(Progress(), entry);
    const ItemUpdate update = PlanRecordUpdate(entry, kind.type, kind.noun);
    const std::string uid = entry.GetUID();
    const Object item = FindCalendarItem(uid, kind.className);
    if (!item) throw platform::Exception(FormatText(kind.unknownUid, {uid}));
    if (kind.keepsGroupItems && !item.GetProperty("Personal").ToBool()) {
      // Someone else's group item: GroupWise keeps its version, and the host gets it back.
      Progress().Log(
          FormatText("%s\r\nPlease ignore the following log entry", {ItemForPeople(item)}),
          FormatText("GroupWise group %s update rejected", {kind.noun}));
    } else if (!UpdateMessage(item, update)) {
      FailPartialUpdate(ItemForPeople(item), kind.noun);
    }
    RebuildEntry(entry, item, kind.type, kind.noun);
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("Exception [%s] in %s", {failure.what(), operation}));
    return false;
  }
}

bool TISYNCHAPPU::DeleteCalendarItem(TEntry& entry, const CalendarKind& kind) {
  Trace(FormatText("TISYNCHAPPU.DeletePIM%s", {kind.operation}));
  try {
    WriteScope scope(Progress(), entry);
    return DeleteMessageByUid(entry.GetUID(), kind.className);
  } catch (const std::exception&) {
    return false;
  }
}

bool TISYNCHAPPU::DeleteMessageByUid(const std::string& uid, std::u16string_view className) {
  const Object item = FindCalendarItem(uid, className);
  if (!item) return false;
  item.Call("Delete");
  return true;
}

std::optional<std::u16string> TISYNCHAPPU::ExecuteToken(std::u16string_view token) {
  try {
    return framework::groupwise::Commander(gwCommander_).Execute(token);
  } catch (const std::exception& failure) {
    Services().Ui().MessageBox(0, failure.what(), "TISYNCHAPPU.ExecuteToken",
                               platform::mb::kSetForeground);
    return std::nullopt;
  }
}

TISYNCHAPPU::ItemUpdate TISYNCHAPPU::PlanUpdate(const TEntry& entry, int type) {
  if (type > 6 || type == framework::data_type::kAnn)
    throw platform::Exception("No GroupWise item holds this kind of record");
  ItemUpdate update;
  // 5 and EMAIL are never written here: their plan stays empty.
  void (TISYNCHAPPU::*plan)(framework::TvPropertyView, ItemUpdate&) = nullptr;
  if (const CalendarKind* kind = KindOf(type)) plan = kind->plan;
  if (type == framework::data_type::kCon) plan = &TISYNCHAPPU::PlanContactProperty;
  if (!plan) return update;
  for (const framework::TvPropertyView property : entry.Properties)
    (this->*plan)(property, update);
  return update;
}

TISYNCHAPPU::ItemUpdate TISYNCHAPPU::PlanRecordUpdate(const TEntry& entry, int type,
                                                      std::string_view noun) {
  ItemUpdate update = PlanUpdate(entry, type);
  if (update.empty()) {
    // Not a record of this kind at all (LF-only line ends make one long property, a UTF-16
    // file none that we know): storing it would make an empty item dated 1899-12-30.
    const std::string reason = FormatText("The record holds no %s property; it is refused", {noun});
    Trace("TISYNCHAPPU: " + reason);
    throw platform::Exception(reason);
  }
  return update;
}

bool TISYNCHAPPU::UpdateMessage(const Object& item, const ItemUpdate& update) {
  if (!item) return false;
  try {
    Object fields;                 // an address-book entry's, taken once
    std::optional<bool> personal;  // asked once, when a write depends on it
    bool rejected = false;
    for (const ItemWrite& write : update) {
      if (write.personalOnly) {
        if (!personal) personal = item.GetProperty("Personal").ToBool();
        if (!*personal) {
          rejected = true;
          continue;
        }
      }
      switch (write.target) {
        case ItemWrite::Target::kPrivacyToken: {
          const std::u16string id = item.GetProperty("MessageID").ToText();
          const std::u16string flag = write.value.ToBool() ? u"Yes!" : u"No!";
          const bool done =
              ExecuteToken(u"ItemSetAttribute(\"" + id + u"\"; Private!; " + flag + u")")
                  .has_value();
          if (!done && !write.refusedToken.empty()) {
            Services().Ui().MessageBox(0, std::string(write.refusedToken),
                                       "TISYNCHAPPU.UpdateMessage", platform::mb::kSetForeground);
          }
          break;
        }
        case ItemWrite::Target::kEntryField:
          if (!fields) fields = item.GetProperty("Fields").ToObject();
          SetEntryField(fields, Services().Ansi().ToWide(write.member), write.value);
          break;
        case ItemWrite::Target::kProperty:
          item.PutProperty(write.member, write.value);
          break;
      }
    }
    if (rejected) LogRejectedTaskUpdate(item);
    item.Call("Refresh");
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("Exception [%s] in TISYNCHAPPU.UpdateMessage", {failure.what()}));
    return false;
  }
}

void TISYNCHAPPU::LogRejectedTaskUpdate(const Object& item) {
  Progress().Log(FormatText("%s - %s\r\nPlease ignore the following log entry",
                            {ItemText(item, "Subject"), Services().Env().FormatShortDate(
                                                            item.GetProperty("DueDate").ToDate())}),
                 "GroupWise group task update rejected");
}

void TISYNCHAPPU::PlanAppointmentProperty(framework::TvPropertyView property, ItemUpdate& update) {
  const std::string_view name = property.Name;
  const platform::CodePage& ansi = Services().Ansi();
  const auto date = [&] {
    return framework::VersitToDateTime(property.Value, Services().Env().Now());
  };
  if (name == "DESCRIPTION") {
    update.push_back({"Subject", framework::DecodeUtf8(property.Value, ansi)});
  } else if (name == "DTSTART") {
    update.push_back({"StartDate", date()});
  } else if (name == "DTEND") {
    update.push_back({"EndDate", date()});
  } else if (name == "CLASS") {
    update.push_back(
        {.value = property.Value == "PRIVATE", .target = ItemWrite::Target::kPrivacyToken});
  } else if (name == "LOCATION") {
    update.push_back({"Place", framework::DecodeUtf8(property.Value, ansi)});
  } else if (name == "ATTACH") {
    update.push_back({"BodyText", framework::DecodeUtf8(property.Value, ansi)});
  }
}

}  // namespace pimsync

namespace pimsync {

// Another user's task keeps what that user gave it; only whether it is done is the user's own.
void TISYNCHAPPU::PlanTaskProperty(framework::TvPropertyView property, ItemUpdate& update) {
  const std::string_view name = property.Name;
  const platform::CodePage& ansi = Services().Ansi();
  const auto personal = [&](std::string member, Variant value) {
    update.push_back(
        {.member = std::move(member), .value = std::move(value), .personalOnly = true});
  };
  const platform::AutomationDate now = Services().Env().Now();
  if (name == "DESCRIPTION") {
    personal("Subject", framework::DecodeUtf8(property.Value, ansi));
  } else if (name == "DTSTART") {
    const platform::AutomationDate assigned = framework::VersitToDate(property.Value, now);
    const platform::AutomationDate today = platform::DateOnly(now);
    personal("AssignedDate", assigned);
    // A task cannot have started before today once it is assigned for a day already past.
    personal("StartDate", today.days >= assigned.days ? today : assigned);
  } else if (name == "DUE") {
    personal("DueDate", framework::VersitToDate(property.Value, now));
  } else if (name == "COMPLETED") {
    update.push_back({.member = "Completed", .value = !property.Value.empty()});
  } else if (name == "PRIORITY") {
    personal("TaskPriority", PriorityValue(property.Value));
  } else if (name == "CLASS") {
    update.push_back({.value = property.Value == "PRIVATE",
                      .target = ItemWrite::Target::kPrivacyToken,
                      .personalOnly = true});
  } else if (name == "ATTACH") {
    personal("BodyText", framework::DecodeUtf8(property.Value, ansi));
  }
}

// DTEND and LOCATION have no place in a note: it is kept by day.
void TISYNCHAPPU::PlanNoteProperty(framework::TvPropertyView property, ItemUpdate& update) {
  const std::string_view name = property.Name;
  const platform::CodePage& ansi = Services().Ansi();
  if (name == "DESCRIPTION") {
    update.push_back({"Subject", framework::DecodeUtf8(property.Value, ansi)});
  } else if (name == "DTSTART") {
    update.push_back(
        {"StartDate", framework::VersitToDate(property.Value, Services().Env().Now())});
  } else if (name == "CLASS") {
    const bool makePrivate = property.Value == "PRIVATE";
    update.push_back(
        {.value = makePrivate,
         .target = ItemWrite::Target::kPrivacyToken,
         .refusedToken = makePrivate ? "Set to private failed" : "set to public failed"});
  } else if (name == "ATTACH") {
    update.push_back({"BodyText", framework::DecodeUtf8(property.Value, ansi)});
  }
}

}  // namespace pimsync
