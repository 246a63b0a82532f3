// Writing device entries into GroupWise calendar items: add, modify and delete of
// appointments, the property mapping, and the commander and deletion helpers they share.

#include "framework/data_types.h"
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

// The shape every write keeps: its trace line, the progress put to rest before and after, and
// an entry that must hold something.
class WriteScope {
 public:
  WriteScope(framework::HostProgress progress, const TEntry& entry) : reset_(progress) {
    progress.SetAppText("");
    progress.SetRange(0, 0);
    progress.SetValue(0);
    if (entry.Properties.Count() == 0) throw platform::Exception("The entry holds no properties");
  }

 private:
  ProgressReset reset_;
};

Object CalendarMessages(const Object& account) {
  return framework::groupwise::Account(account).Calendar().GetProperty("Messages").ToObject();
}

}  // namespace

void TISYNCHAPPU::RebuildEntry(TEntry& entry, const Object& item, int type) {
  entry.Properties.Clear();
  entry.Properties.Add() = {"BEGIN", "", "VCALENDAR"};
  entry.Properties.Add() = {"VERSION", "", "1.0"};
  if (!BuildApptEntry(entry, item, type)) {
    throw platform::Exception("Error building appointment entry");
  }
  entry.Properties.Add() = {"END", "", "VCALENDAR"};
}

bool TISYNCHAPPU::AddPIMAppointment(TEntry& entry) {
  Trace("TISYNCHAPPU.AddPIMAppointment");
  try {
    WriteScope scope(Progress(), entry);
    const Object messages = CalendarMessages(FGWAccount);
    Object item = messages.Call("Add", {u"GW.MESSAGE.APPOINTMENT", int16_t{3}}).ToObject();
    item.PutProperty("OnCalendar", true);
    item.PutProperty("FromText", framework::groupwise::Account(FGWAccount).OwnerDisplayName());
    if (!UpdateMessage(item, entry, framework::data_type::kApt)) {
      throw platform::Exception("UpdateMessage failed");
    }
    const Variant id = item.GetProperty("MessageID");
    item = messages.Call("Item", {id}).ToObject();
    // The host learns the new item's identity from the rebuilt entry's UID.
    RebuildEntry(entry, item, framework::data_type::kApt);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TISYNCHAPPU::ModifyPIMAppointment(TEntry& entry) {
  Trace("TISYNCHAPPU.ModifyPIMAppointment");
  try {
    WriteScope scope(Progress(), entry);
    const std::string uid = entry.GetUID();
    const Object item =
        framework::groupwise::Account(FGWAccount).GetMessage(Services().Ansi().ToWide(uid));
    if (!item)
      throw platform::Exception(FormatText("Could not access appointment [%s] via UID", {uid}));
    if (!item.GetProperty("Personal").ToBool()) {
      // Someone else's group appointment: GroupWise keeps its version, and the host gets it back.
      const std::string when =
          Services().Env().FormatDateTime(item.GetProperty("StartDate").ToDate());
      Progress().Log(FormatText("%s - %s\r\nPlease ignore the following log entry",
                                {ItemText(item, "Subject"), when}),
                     "GroupWise group appointment update rejected");
    } else if (!UpdateMessage(item, entry, framework::data_type::kApt)) {
      throw platform::Exception("UpdateMessage failed");
    }
    RebuildEntry(entry, item, framework::data_type::kApt);
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
    return DeleteMessageByUid(entry.GetUID());
  } catch (const std::exception&) {
    return false;
  }
}

bool TISYNCHAPPU::DeleteMessageByUid(const std::string& uid) {
  if (uid.empty()) return false;
  const Object item =
      framework::groupwise::Account(FGWAccount).GetMessage(Services().Ansi().ToWide(uid));
  if (!item) return false;
  item.Call("Delete");
  return true;
}

std::optional<std::u16string> TISYNCHAPPU::ExecuteToken(std::u16string_view token) {
  try {
    return framework::groupwise::Commander(gwCommander_).Execute(token);
  } catch (const std::exception& failure) {
    Services().Ui().MessageBox(0, failure.what(), "", platform::mb::kOk);
    return std::nullopt;
  }
}

bool TISYNCHAPPU::UpdateMessage(const Object& item, const TEntry& entry, int type) {
  if (!item || type > 6 || type == framework::data_type::kAnn) return false;
  try {
    for (const auto& property : entry.Properties) {
      switch (type) {
        case framework::data_type::kApt:
          ApplyAppointmentProperty(item, *property);
          break;
        case 5:
        case framework::data_type::kEmail:
          break;  // nothing of these lives in the calendar
        default:
          return false;  // not written by this plug-in yet
      }
    }
    item.Call("Refresh");
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("Exception [%s] in TISYNCHAPPU.UpdateMessage", {failure.what()}));
    return false;
  }
}

void TISYNCHAPPU::ApplyAppointmentProperty(const Object& item,
                                           const framework::TvProperty& property) {
  const std::string& name = property.Name;
  if (name == "DESCRIPTION") {
    item.PutProperty("Subject", framework::DecodeUtf8(property.Value));
  } else if (name == "DTSTART") {
    item.PutProperty("StartDate",
                     framework::VersitToDateTime(property.Value, Services().Env().Now()));
  } else if (name == "DTEND") {
    item.PutProperty("EndDate",
                     framework::VersitToDateTime(property.Value, Services().Env().Now()));
  } else if (name == "CLASS") {
    const std::u16string id = item.GetProperty("MessageID").ToText();
    const std::u16string flag = property.Value == "PRIVATE" ? u"Yes!" : u"No!";
    ExecuteToken(u"ItemSetAttribute(\"" + id + u"\"; Private!; " + flag + u")");
  } else if (name == "LOCATION") {
    item.PutProperty("Place", framework::DecodeUtf8(property.Value));
  } else if (name == "ATTACH") {
    item.PutProperty("BodyText", framework::DecodeUtf8(property.Value));
  }
}

}  // namespace pimsync
