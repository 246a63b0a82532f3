// Reading GroupWise calendar items into entries: the query, the item loop every calendar kind
// shares, and the builder that turns an item into Versit properties.

#include "framework/data_types.h"
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

constexpr std::string_view kQp = "QUOTED-PRINTABLE;CHARSET=UTF-8";
constexpr std::string_view kCancelled = "User pressed cancel";
// Passes of the completion poll between two questions to the host whether the user cancelled.
constexpr int kPollsPerAbortCheck = 5;

void Add(TEntry& entry, std::string_view name, std::string_view parameters,
         std::string_view value) {
  entry.Properties.Add(name, parameters, value);
}

// A formatted text of the item (Subject, BodyText) as the device takes it: escaped UTF-8.
std::string Encoded(const Object& item, std::string_view member) {
  return framework::EncodeUtf8(framework::groupwise::GetPlainText(item, member)).text;
}

// The body; GroupWise's empty body is a lone line break.
std::string EncodedBody(const Object& item) {
  std::u16string body = framework::groupwise::GetPlainText(item, "BodyText");
  if (body == u"\r\n") body.clear();
  return framework::EncodeUtf8(body).text;
}

std::string DateOf(const Object& item, std::string_view member) {
  return framework::DateToVersit(item.GetProperty(member).ToDate());
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

// Every kind's query honours the user's cancel while it runs: a long search of a large mailbox
// is where a user is most likely to press it.
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
  return ReadCalendar(list, kAppointmentKind);
}

bool TISYNCHAPPU::GetPIMTasks(framework::TEntryList& list) {
  return ReadCalendar(list, kTaskKind);
}

bool TISYNCHAPPU::GetPIMEvents(framework::TEntryList& list) {
  return ReadCalendar(list, kNoteKind);
}

bool TISYNCHAPPU::ReadCalendar(framework::TEntryList& list, const CalendarKind& kind) {
  const std::string operation = FormatText("TISYNCHAPPU.GetPIM%ss", {kind.operation});
  Trace(operation);
  try {
    ProgressReset reset(Progress());
    Progress().SetSynchText(FormatText("Reading GroupWise %ss", {kind.noun}));
    Progress().SetAppText("Preparing query");
    Progress().SetRange(0, 0);
    Progress().SetValue(0);
    const Object messages =
        RunQuery(FormatText(kind.query, {QueryDate(RangeStart), QueryDate(RangeEnd)}));
    const int32_t count = framework::groupwise::Count(messages);
    if (count <= 0) return true;
    Progress().SetRange(0, count);
    Progress().SetValue(0);
    const std::string logTitle = FormatText("Error extracting GroupWise %s", {kind.noun});
    const double lastDay = platform::DateOnly(RangeEnd).days;
    for (int32_t i = 1; i <= count; ++i) {
      if (Progress().Aborted()) throw platform::Exception(std::string(kCancelled));
      // What identifies the item in the host's log; whatever of it can still be read.
      std::string start, subject;
      Object item;
      auto logFailure = [&](const std::string& traceLine) {
        Progress().Log(FormatText("%s - %s", {start, subject}), logTitle);
        Trace(traceLine);
      };
      try {
        item = framework::groupwise::ItemAt(messages, i);
        if (kind.skipsAssignedAfterRange &&
            platform::DateOnly(item.GetProperty("AssignedDate").ToDate()).days > lastDay) {
          continue;
        }
        auto entry = std::make_unique<TEntry>();
        entry->SetType(kind.type);
        subject = ItemText(item, "Subject");
        Progress().SetAppText(subject);
        if (BuildApptEntry(*entry, item, kind.type)) {
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
        logFailure(FormatText("%s extraction error: [%s]", {kind.itemLabel, failure.what()}));
      }
    }
    return true;
  } catch (const std::exception& failure) {
    Trace(FormatText("%s exception [%s] FALSE", {operation, failure.what()}));
    list.Clear();
    return false;
  }
}

bool TISYNCHAPPU::BuildApptEntry(TEntry& entry, const Object& item, int type) {
  if (!item || type > 6) return false;
  try {
    if (const CalendarKind* kind = KindOf(type)) {
      (this->*kind->append)(entry, item);
      return true;
    }
    switch (type) {
      case framework::data_type::kCon:
        AppendContact(entry, item);
        return true;
      case 5:
      case framework::data_type::kEmail:
        return true;  // nothing of these lives in the calendar
      default:
        return false;  // anniversaries are not kept in GroupWise
    }
  } catch (const std::exception& failure) {
    Trace(FormatText("TISYNCHAPPU.BuildApptEntry: exception [%s] - FALSE", {failure.what()}));
    return false;
  }
}

std::string TISYNCHAPPU::PrivacyValue(const Object& item, std::string_view whenUnknown) {
  try {
    return item.GetProperty("Private").ToBool() ? "PRIVATE" : "PUBLIC";
  } catch (const platform::Exception&) {
    // Some items refuse to tell; the commander still knows.
  }
  const std::u16string id = item.GetProperty("MessageID").ToText();
  const auto answer = ExecuteToken(u"ItemGetAttribute(\"" + id + u"\";Private!)");
  if (!answer) return std::string(whenUnknown);
  return *answer == u"TRUE" ? "PRIVATE" : "PUBLIC";
}

void TISYNCHAPPU::AppendAppointment(TEntry& entry, const Object& item) {
  Add(entry, "BEGIN", "", "VEVENT");
  Add(entry, "UID", "", Narrow(item.GetProperty("MessageID").ToText()));
  Add(entry, "DESCRIPTION", kQp, Encoded(item, "Subject"));
  Add(entry, "DTSTART", "", framework::DateTimeToVersit(item.GetProperty("StartDate").ToDate()));
  Add(entry, "DTEND", "", framework::DateTimeToVersit(item.GetProperty("EndDate").ToDate()));
  Add(entry, "STATUS", "", "CONFIRMED");
  Add(entry, "CLASS", "", PrivacyValue(item, "PUBLIC"));
  std::u16string place = item.GetProperty("Place").ToText();
  if (place == u" ") place.clear();
  Add(entry, "LOCATION", kQp, framework::EncodeUtf8(place).text);
  Add(entry, "ATTACH", kQp, EncodedBody(item));
  Add(entry, "END", "", "VEVENT");
}

// A task the commander cannot tell about is sent as private: better hidden than shown.
void TISYNCHAPPU::AppendTask(TEntry& entry, const Object& item) {
  Add(entry, "BEGIN", "", "VTODO");
  Add(entry, "UID", "", Narrow(item.GetProperty("MessageID").ToText()));
  Add(entry, "DESCRIPTION", kQp, Encoded(item, "Subject"));
  const std::string due = DateOf(item, "DueDate");
  Add(entry, "DUE", "", due);
  Add(entry, "DTSTART", "", DateOf(item, "AssignedDate"));
  Add(entry, "STATUS", "", "CONFIRMED");
  Add(entry, "CLASS", "", PrivacyValue(item, "PRIVATE"));
  Add(entry, "COMPLETED", "", item.GetProperty("Completed").ToBool() ? due : "");
  Add(entry, "PRIORITY", "", std::to_string(item.GetProperty("TaskPriority").ToInt32()));
  Add(entry, "ATTACH", kQp, EncodedBody(item));
  Add(entry, "END", "", "VTODO");
}

// A note is kept by day: it starts and ends on that day, and has no place.
void TISYNCHAPPU::AppendNote(TEntry& entry, const Object& item) {
  Add(entry, "BEGIN", "", "VEVENT");
  Add(entry, "UID", "", Narrow(item.GetProperty("MessageID").ToText()));
  Add(entry, "DESCRIPTION", kQp, Encoded(item, "Subject"));
  const std::string day = DateOf(item, "StartDate");
  Add(entry, "DTSTART", "", day);
  Add(entry, "DTEND", "", day);
  Add(entry, "STATUS", "", "CONFIRMED");
  Add(entry, "CLASS", "", PrivacyValue(item, "PUBLIC"));
  Add(entry, "ATTACH", kQp, EncodedBody(item));
  Add(entry, "END", "", "VEVENT");
}

}  // namespace pimsync
