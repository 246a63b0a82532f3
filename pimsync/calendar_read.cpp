// Reading GroupWise calendar items into entries: the query, the item loop of the appointment
// read, and the builder that turns an item into Versit properties.

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

constexpr std::string_view kQp = "QUOTED-PRINTABLE;CHARSET=UTF-8";
constexpr std::string_view kCancelled = "User pressed cancel";
// Passes of the completion poll between two questions to the host whether the user cancelled.
constexpr int kPollsPerAbortCheck = 5;

void Add(TEntry& entry, std::string_view name, std::string_view parameters,
         std::string_view value) {
  entry.Properties.Add(name, parameters, value);
}

}  // namespace

std::string TISYNCHAPPU::QueryDate(platform::AutomationDate date) {
  const platform::CivilDateTime c = platform::DecodeAutomationDate(date);
  return std::to_string(c.year) + "/" + std::to_string(c.month) + "/" + std::to_string(c.day);
}

std::string TISYNCHAPPU::Narrow(std::u16string_view text) const {
  return Services().Ansi().ToAnsi(text);
}

std::string TISYNCHAPPU::ItemText(const Object& item, std::string_view member) {
  return Narrow(framework::groupwise::GetPlainText(item, member));
}

Object TISYNCHAPPU::RunQuery(const std::string& expression) {
  const framework::groupwise::Query query(framework::groupwise::Account(FGWAccount).CreateQuery());
  query.SetExpression(Services().Ansi().ToWide(expression));
  Trace(Narrow(query.Expression()));
  query.SearchLocally();
  Progress().SetAppText("Running query...");
  query.Start();
  int passes = 0;
  while (!query.Completed()) {
    if (++passes == kPollsPerAbortCheck) {
      passes = 0;
      Services().Ui().PumpMessages();
      if (Progress().Aborted()) {
        query.Stop();
        throw platform::Exception(std::string(kCancelled));
      }
    }
    Services().Ui().PumpMessages();
  }
  Progress().SetAppText("Query finished - processing results...");
  return query.QueryMessages();
}

bool TISYNCHAPPU::GetPIMAppointments(framework::TEntryList& list) {
  Trace("TISYNCHAPPU.GetPIMAppointments");
  try {
    ProgressReset reset(Progress());
    Progress().SetSynchText("Reading GroupWise appointments");
    Progress().SetAppText("Preparing query");
    Progress().SetRange(0, 0);
    Progress().SetValue(0);
    const Object messages = RunQuery(FormatText(
        "(APPOINTMENT) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = PERSONAL) AND "
        "(START_DATE >= %s AT 00:00:00 AND START_DATE <= %s AT 23:59:59)",
        {QueryDate(RangeStart), QueryDate(RangeEnd)}));
    const int32_t count = framework::groupwise::Count(messages);
    if (count <= 0) return true;
    Progress().SetRange(0, count);
    Progress().SetValue(0);
    for (int32_t i = 1; i <= count; ++i) {
      if (Progress().Aborted()) throw platform::Exception(std::string(kCancelled));
      // What identifies the item in the host's log; whatever of it can still be read.
      std::string start, subject;
      Object item;
      auto logFailure = [&](const std::string& traceLine) {
        Progress().Log(FormatText("%s - %s", {start, subject}),
                       "Error extracting GroupWise appointment");
        Trace(traceLine);
      };
      try {
        item = framework::groupwise::ItemAt(messages, i);
        auto entry = std::make_unique<TEntry>();
        entry->SetType(framework::data_type::kApt);
        subject = ItemText(item, "Subject");
        Progress().SetAppText(subject);
        if (BuildApptEntry(*entry, item, framework::data_type::kApt)) {
          list.Add(std::move(entry));
        } else {
          start = Services().Env().FormatShortDate(item.GetProperty("StartDate").ToDate());
          logFailure(FormatText("Error extracting: %s - %s", {start, subject}));
        }
        Progress().SetValue(list.Count());
      } catch (const platform::Exception& failure) {
        try {
          if (item)
            start = Services().Env().FormatShortDate(item.GetProperty("StartDate").ToDate());
        } catch (const platform::Exception&) {
          // The log entry names the item as well as it still can.
        }
        logFailure(FormatText("Appointment extraction error: [%s]", {failure.what()}));
      }
    }
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("TISYNCHAPPU.GetPIMAppointments exception [%s] FALSE", {failure.what()}));
    list.Clear();
    return false;
  }
}

bool TISYNCHAPPU::BuildApptEntry(TEntry& entry, const Object& item, int type) {
  if (!item || type > 6) return false;
  try {
    switch (type) {
      case framework::data_type::kApt:
        AppendAppointment(entry, item);
        return true;
      case framework::data_type::kCon:
        AppendContact(entry, item);
        return true;
      case 5:
      case framework::data_type::kEmail:
        return true;  // nothing of these lives in the calendar
      default:
        return false;  // the other kinds are not read by this plug-in yet
    }
  } catch (const std::exception& failure) {
    Trace(FormatText("TISYNCHAPPU.BuildApptEntry: exception [%s] - FALSE", {failure.what()}));
    return false;
  }
}

std::string TISYNCHAPPU::PrivacyValue(const Object& item) {
  try {
    return item.GetProperty("Private").ToBool() ? "PRIVATE" : "PUBLIC";
  } catch (const platform::Exception&) {
    // Some items refuse to tell; the commander still knows.
  }
  const std::u16string id = item.GetProperty("MessageID").ToText();
  const auto answer = ExecuteToken(u"ItemGetAttribute(\"" + id + u"\";Private!)");
  return answer && *answer == u"TRUE" ? "PRIVATE" : "PUBLIC";
}

void TISYNCHAPPU::AppendAppointment(TEntry& entry, const Object& item) {
  Add(entry, "BEGIN", "", "VEVENT");
  Add(entry, "UID", "", Narrow(item.GetProperty("MessageID").ToText()));
  Add(entry, "DESCRIPTION", kQp,
      framework::EncodeUtf8(framework::groupwise::GetPlainText(item, "Subject")).text);
  Add(entry, "DTSTART", "", framework::DateTimeToVersit(item.GetProperty("StartDate").ToDate()));
  Add(entry, "DTEND", "", framework::DateTimeToVersit(item.GetProperty("EndDate").ToDate()));
  Add(entry, "STATUS", "", "CONFIRMED");
  Add(entry, "CLASS", "", PrivacyValue(item));
  std::u16string place = item.GetProperty("Place").ToText();
  if (place == u" ") place.clear();
  Add(entry, "LOCATION", kQp, framework::EncodeUtf8(place).text);
  std::u16string body = framework::groupwise::GetPlainText(item, "BodyText");
  if (body == u"\r\n") body.clear();
  Add(entry, "ATTACH", kQp, framework::EncodeUtf8(body).text);
  Add(entry, "END", "", "VEVENT");
}

}  // namespace pimsync
