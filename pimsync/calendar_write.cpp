// Writing device entries into GroupWise calendar items: add, modify and delete of
// appointments, the property mapping, and the commander and deletion helpers they share.
//
// A record is read and decoded whole before GroupWise is touched (PlanUpdate), so a record the
// mapping cannot use is refused before an item is created or changed. Only GroupWise failing in
// the middle of the writes can still leave an item partly changed; the trace and the host's log
// then name it. An insert that fails after GroupWise created its item removes that item again:
// the host is told the insert failed and will send it again, which must not leave a second copy
// for the next read.

#include "framework/data_types.h"
#include "framework/entry_list.h"
#include "framework/groupwise.h"
#include "framework/text_codec.h"
#include "framework/text_util.h"
#include "framework/versit_date.h"
#include "pimsync/pim_plugin.h"
#include "pimsync/progress_reset.h"

namespace pimsync {
namespace {

using framework::FormatText;
using framework::TEntry;
using platform::Object;
using platform::Variant;

// What the write operations need to know of one kind of calendar item.
struct CalendarKind {
  int type;
  std::u16string_view className;  // what Add creates and what GetMessage must find
  std::string_view noun;          // for texts a person reads
};

constexpr CalendarKind kAppointment{framework::data_type::kApt, u"GW.MESSAGE.APPOINTMENT",
                                    "appointment"};

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
  Trace("TISYNCHAPPU.AddPIMAppointment");
  Object created;
  try {
    WriteScope scope(Progress(), entry);
    const ItemUpdate update = PlanRecordUpdate(entry, kAppointment.type, kAppointment.noun);
    const Object messages = CalendarMessages(FGWAccount);
    created = messages.Call("Add", {std::u16string(kAppointment.className), int16_t{3}}).ToObject();
    created.PutProperty("OnCalendar", true);
    created.PutProperty("FromText", framework::groupwise::Account(FGWAccount).OwnerDisplayName());
    if (!UpdateMessage(created, update)) throw platform::Exception("UpdateMessage failed");
    const Object stored = messages.Call("Item", {created.GetProperty("MessageID")}).ToObject();
    // The host learns the new item's identity from the rebuilt entry's UID.
    RebuildEntry(entry, stored, kAppointment.type, kAppointment.noun);
    return true;
  } catch (const std::exception&) {
    if (created) DiscardHalfMadeItem(created, ItemForPeople(created));
    return false;
  }
}

bool TISYNCHAPPU::ModifyPIMAppointment(TEntry& entry) {
  Trace("TISYNCHAPPU.ModifyPIMAppointment");
  try {
    WriteScope scope(Progress(), entry);
    const ItemUpdate update = PlanRecordUpdate(entry, kAppointment.type, kAppointment.noun);
    const std::string uid = entry.GetUID();
    const Object item = FindCalendarItem(uid, kAppointment.className);
    if (!item)
      throw platform::Exception(FormatText("Could not access appointment [%s] via UID", {uid}));
    if (!item.GetProperty("Personal").ToBool()) {
      // Someone else's group appointment: GroupWise keeps its version, and the host gets it back.
      Progress().Log(
          FormatText("%s\r\nPlease ignore the following log entry", {ItemForPeople(item)}),
          "GroupWise group appointment update rejected");
    } else if (!UpdateMessage(item, update)) {
      FailPartialUpdate(ItemForPeople(item), kAppointment.noun);
    }
    RebuildEntry(entry, item, kAppointment.type, kAppointment.noun);
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("Exception [%s] in TISYNCHAPPU.ModifyPIMAppointment", {failure.what()}));
    return false;
  }
}

bool TISYNCHAPPU::DeletePIMAppointment(TEntry& entry) {
  Trace("TISYNCHAPPU.DeletePIMAppointment");
  try {
    WriteScope scope(Progress(), entry);
    return DeleteMessageByUid(entry.GetUID(), kAppointment.className);
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
  for (const framework::TvPropertyView property : entry.Properties) {
    if (type == framework::data_type::kApt) PlanAppointmentProperty(property, update);
    if (type == framework::data_type::kCon) PlanContactProperty(property, update);
    // Nothing of the other kinds is written by this plug-in yet; 5 and EMAIL never are.
  }
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
    Object fields;  // an address-book entry's, taken once
    for (const ItemWrite& write : update) {
      switch (write.target) {
        case ItemWrite::Target::kPrivacyToken: {
          // Privacy can only be set through the commander; its answer is not checked.
          const std::u16string id = item.GetProperty("MessageID").ToText();
          const std::u16string flag = write.value.ToBool() ? u"Yes!" : u"No!";
          ExecuteToken(u"ItemSetAttribute(\"" + id + u"\"; Private!; " + flag + u")");
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
    item.Call("Refresh");
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("Exception [%s] in TISYNCHAPPU.UpdateMessage", {failure.what()}));
    return false;
  }
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
    update.push_back({"", property.Value == "PRIVATE", ItemWrite::Target::kPrivacyToken});
  } else if (name == "LOCATION") {
    update.push_back({"Place", framework::DecodeUtf8(property.Value, ansi)});
  } else if (name == "ATTACH") {
    update.push_back({"BodyText", framework::DecodeUtf8(property.Value, ansi)});
  }
}

}  // namespace pimsync
