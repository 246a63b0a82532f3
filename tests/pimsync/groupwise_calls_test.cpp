// What the calendar plug-in asks of GroupWise, call by call, from the simulator's log: the
// members, their arguments and their order. The outcome tests cannot see a write that goes
// through the wrong member, a search that is not local, or a cancel check on every poll.

#include <gtest/gtest.h>

#include "tests/pimsync/pim_harness.h"

namespace pimsync {
namespace {

using testing_harness::Appointment;
using testing_harness::PimHost;
using testing_support::Crlf;

// The log as lines, so that a failure shows a diff of the two sequences.
std::string Lines(const std::vector<std::string>& calls) {
  std::string text;
  for (const std::string& call : calls)
    text += call + "\n";
  return text;
}

std::vector<std::string> Concat(std::vector<std::string> first,
                                const std::vector<std::string>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// What building an appointment's entry reads, once GroupWise holds the item.
const std::vector<std::string> kBuildReads = {
    "Appointment.MessageID", "Appointment.Subject",  "FormattedText.PlainText",
    "Appointment.StartDate", "Appointment.EndDate",  "Appointment.Private",
    "Appointment.Place",     "Appointment.BodyText", "FormattedText.PlainText",
};

TEST(GroupWiseCalls, EachWriteMakesTheCallsOfItsOperationInOrder) {
  struct Case {
    const char* name;
    int16_t op;
    std::string record;
    int32_t result;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"insert", 1,
       Crlf("BEGIN:VCALENDAR|BEGIN:VEVENT|UID:device-1|DESCRIPTION:Lunch|"
            "DTSTART:20000210T120000|DTEND:20000210T130000|STATUS:CONFIRMED|CLASS:PRIVATE|"
            "LOCATION:Canteen|ATTACH:Soup|END:VEVENT|END:VCALENDAR|"),
       0,
       Concat(
           {
               "Account.Calendar",
               "Folder.Messages",
               R"(Messages.Add("GW.MESSAGE.APPOINTMENT", 3))",
               "Appointment.OnCalendar=(true)",
               "Account.Owner",
               "Address.DisplayName",
               R"(Appointment.FromText=("Test User"))",
               R"(Appointment.Subject=("Lunch"))",
               "Appointment.StartDate=(2000-02-10T12:00:00)",
               "Appointment.EndDate=(2000-02-10T13:00:00)",
               "Appointment.MessageID",
               R"~(Commander.Execute("ItemSetAttribute("SIM.DOM.PO.100.1.1"; Private!; Yes!)", &""))~",
               R"(Appointment.Place=("Canteen"))",
               R"(Appointment.BodyText=("Soup"))",
               "Appointment.Refresh()",
               "Appointment.MessageID",
               R"(Messages.Item("SIM.DOM.PO.100.1.1"))",
           },
           kBuildReads)},
      {"modify", 2,
       Crlf("BEGIN:VCALENDAR|BEGIN:VEVENT|UID:M.1|CLASS:private|LOCATION:First|"
            "LOCATION:Second|END:VEVENT|END:VCALENDAR|"),
       0,
       Concat(
           {
               R"(Account.GetMessage("M.1"))",
               "Appointment.ClassName",
               "Appointment.Personal",
               "Appointment.MessageID",
               R"~(Commander.Execute("ItemSetAttribute("M.1"; Private!; No!)", &""))~",
               R"(Appointment.Place=("First"))",
               R"(Appointment.Place=("Second"))",
               "Appointment.Refresh()",
           },
           kBuildReads)},
      {"modify_of_a_group_appointment_writes_nothing", 2,
       Crlf("BEGIN:VCALENDAR|BEGIN:VEVENT|UID:G.1|DESCRIPTION:Moved|CLASS:PUBLIC|END:VEVENT|"
            "END:VCALENDAR|"),
       0,
       Concat(
           {
               R"(Account.GetMessage("G.1"))",
               "Appointment.ClassName",
               "Appointment.Personal",
               "Appointment.Subject",
               "FormattedText.PlainText",
               "Appointment.StartDate",
           },
           kBuildReads)},
      {"modify_of_an_unknown_item",
       2,
       Crlf("BEGIN:VEVENT|UID:X.9|DESCRIPTION:x|END:VEVENT|"),
       1,
       {R"(Account.GetMessage("X.9"))"}},
      {"delete",
       3,
       Crlf("BEGIN:VEVENT|UID:M.1|END:VEVENT|"),
       0,
       {R"(Account.GetMessage("M.1"))", "Appointment.ClassName", "Appointment.Delete()"}},
      {"delete_of_an_unknown_item",
       3,
       Crlf("BEGIN:VEVENT|UID:X.9|END:VEVENT|"),
       1,
       {R"(Account.GetMessage("X.9"))"}},
      {"delete_without_uid", 3, Crlf("BEGIN:VEVENT|DESCRIPTION:x|END:VEVENT|"), 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PimHost pim;
    pim.groupwise.mailbox->calendar.push_back(
        Appointment(u"M.1", u"Mine", {2000, 2, 1, 9, 0, 0, 0}));
    auto group = Appointment(u"G.1", u"Board meeting", {2000, 2, 2, 9, 0, 0, 0});
    group.personal = false;
    pim.groupwise.mailbox->calendar.push_back(group);
    pim.Start();
    pim.groupwise.context->log.withArguments.clear();
    std::string record = c.record;
    EXPECT_EQ(pim.Write(c.op, record), c.result);
    EXPECT_EQ(Lines(pim.groupwise.context->log.withArguments), Lines(c.calls));
  }
}

TEST(GroupWiseCalls, TheReadSearchesLocallyWithItsExpressionAndWaitsForTheResults) {
  PimHost pim;
  pim.groupwise.mailbox->queryPolls = 2;
  pim.Start();
  pim.groupwise.context->log.withArguments.clear();
  std::string stream;
  ASSERT_EQ(pim.Read(stream), 0);
  EXPECT_EQ(Lines(pim.groupwise.context->log.withArguments),
            Lines({
                "Account.CreateQuery()",
                "Query.Expression=(\"(APPOINTMENT) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR "
                "BOX_TYPE = PERSONAL) AND (START_DATE >= 2000/1/5 AT 00:00:00 AND START_DATE <= "
                "2000/3/12 AT 23:59:59)\")",
                "Query.Expression",
                "Query.SearchLocally=(true)",
                "Query.Start()",
                "Query.Completed",
                "Query.Completed",
                "Query.Completed",
                "Query.QueryMessages",
                "QueryMessages.Count",
            }));
}

TEST(GroupWiseCalls, TheHostIsAskedAboutCancelOnEveryFifthPollOfARunningQuery) {
  // The polls and the questions to the host in the order they happened: C a read of the
  // query's Completed, A the host's Aborted, S the query's Stop.
  struct Case {
    const char* name;
    int queryPolls;  // how many reads of Completed answer false
    int abortFromCall;
    const char* wanted;
  };
  const Case cases[] = {
      {"four_polls_ask_nothing", 4, 0, "CCCCC"},
      {"the_fifth_poll_asks", 5, 0, "CCCCCAC"},
      {"the_count_starts_again", 11, 0, "CCCCCACCCCCACC"},
      {"cancel_stops_the_query", 20, 2, "CCCCCACCCCCAS"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PimHost pim;
    pim.groupwise.mailbox->queryPolls = c.queryPolls;
    pim.Start();
    pim.host.progress->abortFromCall = c.abortFromCall;
    // The host's calls join the simulator's log as they happen, so the two come in one order.
    std::vector<std::string>& calls = pim.groupwise.context->log.calls;
    pim.host.progress->sink = [&calls](const sim::RecordingProgress::Call& call) {
      calls.push_back("Progress." + call.member);
    };
    calls.clear();
    std::string stream;
    EXPECT_EQ(pim.Read(stream), c.abortFromCall == 0 ? 0 : 1);
    std::string order;
    for (const std::string& call : calls) {
      if (call == "Query.Completed") order += 'C';
      if (call == "Progress.Aborted") order += 'A';
      if (call == "Query.Stop") order += 'S';
    }
    EXPECT_EQ(order, c.wanted);
  }
}

}  // namespace
}  // namespace pimsync
