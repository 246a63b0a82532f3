// Appointments both ways between the simulated GroupWise and the host's records.

#include <gtest/gtest.h>

#include "framework/text_util.h"
#include "tests/pimsync/pim_harness.h"

namespace pimsync {
namespace {

using testing_harness::Appointment;
using testing_harness::PimHost;
using testing_support::Crlf;
using testing_support::FirstDifference;

class AppointmentsTest : public testing::Test {
 protected:
  void Add(sim::CalendarItem item) { pim.groupwise.mailbox->calendar.push_back(std::move(item)); }
  const sim::CalendarItem* Stored(std::u16string_view id) {
    return pim.groupwise.mailbox->FindItem(id);
  }
  PimHost pim;
};

TEST_F(AppointmentsTest, ReadSendsEachAcceptedAppointmentOfTheRange) {
  auto lunch = Appointment(u"A.1", u"Caf\u00E9 lunch", {2000, 1, 5, 12, 30, 0, 0});
  lunch.place = u" ";        // a lone blank is no place
  lunch.bodyText = u"\r\n";  // nor is a lone line break a body
  Add(lunch);
  auto secret = Appointment(u"A.2", u"\u4E2D\u6587", {2000, 3, 12, 23, 59, 59, 0});
  secret.isPrivate = true;
  Add(secret);
  Add(Appointment(u"A.3", u"Too early", {2000, 1, 4, 23, 59, 59, 0}));
  Add(Appointment(u"A.4", u"Too late", {2000, 3, 13, 0, 0, 0, 0}));
  auto unaccepted = Appointment(u"A.5", u"Not accepted", {2000, 2, 1, 9, 0, 0, 0});
  unaccepted.accepted = false;
  Add(unaccepted);
  auto sent = Appointment(u"A.6", u"Sent to others", {2000, 2, 1, 9, 0, 0, 0});
  sent.boxType = sim::BoxType::kOutgoing;
  Add(sent);
  pim.Start();

  std::string stream;
  ASSERT_EQ(pim.Read(stream), 0);
  EXPECT_EQ(
      FirstDifference(stream, Crlf("BEGIN:VCALENDAR|VERSION:1.0|"
                                   "BEGIN:VEVENT|UID:A.1|"
                                   "DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:Caf=C3=A9 lunch|"
                                   "DTSTART:20000105T123000|DTEND:20000105T133000|"
                                   "STATUS:CONFIRMED|CLASS:PUBLIC|"
                                   "LOCATION;QUOTED-PRINTABLE;CHARSET=UTF-8:|"
                                   "ATTACH;QUOTED-PRINTABLE;CHARSET=UTF-8:|END:VEVENT|"
                                   "BEGIN:VEVENT|UID:A.2|"
                                   "DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:=E4=B8=AD=E6=96=87|"
                                   "DTSTART:20000312T235959|DTEND:20000313T005959|"
                                   "STATUS:CONFIRMED|CLASS:PRIVATE|"
                                   "LOCATION;QUOTED-PRINTABLE;CHARSET=UTF-8:Room 4|"
                                   "ATTACH;QUOTED-PRINTABLE;CHARSET=UTF-8:Agenda|END:VEVENT|"
                                   "END:VCALENDAR")),
      "");
  EXPECT_EQ(pim.GroupWiseCalls("Query.Expression="),
            std::vector<std::string>{
                "Query.Expression=(\"(APPOINTMENT) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR "
                "BOX_TYPE = PERSONAL) AND (START_DATE >= 2000/1/5 AT 00:00:00 AND START_DATE <= "
                "2000/3/12 AT 23:59:59)\")"});
  EXPECT_EQ(pim.host.progress->CallsOf("SetRange"),
            (std::vector<std::string>{"SetRange(\"0\", \"0\")", "SetRange(\"0\", \"2\")",
                                      "SetRange(\"0\", \"0\")"}));
}

TEST_F(AppointmentsTest, PrivacyThatCannotBeReadIsAskedOfTheCommander) {
  struct Case {
    const char* name;
    bool isPrivate;
    bool tokenFails;
    bool commanderRaises;
    const char* wanted;
  };
  const Case cases[] = {
      {"token_says_private", true, false, false, "CLASS:PRIVATE"},
      {"token_says_public", false, false, false, "CLASS:PUBLIC"},
      {"token_fails", true, true, false, "CLASS:PUBLIC"},
      {"commander_raises", true, false, true, "CLASS:PUBLIC"},
  };
  for (const Case& c : cases) {
    PimHost pim;
    auto item = Appointment(u"P.1", u"Doctor", {2000, 2, 2, 10, 0, 0, 0});
    item.isPrivate = c.isPrivate;
    item.privateReadRaises = true;
    if (c.tokenFails) item.failingTokens = {"ItemGetAttribute"};
    pim.groupwise.mailbox->calendar.push_back(item);
    pim.Start();
    if (c.commanderRaises)
      pim.groupwise.context->faults.RaiseAlways("Commander.Execute", "No commander");
    std::string stream;
    ASSERT_EQ(pim.Read(stream), 0) << c.name;
    EXPECT_NE(stream.find(std::string("\r\n") + c.wanted + "\r\n"), std::string::npos)
        << c.name << "\n"
        << stream;
    // A commander that fails outright is shown to the user; a refused token is not.
    ASSERT_EQ(pim.host.platform.ui.messageBoxes.size(), c.commanderRaises ? 1u : 0u) << c.name;
    if (c.commanderRaises) {
      EXPECT_EQ(pim.host.platform.ui.messageBoxes[0].caption, "TISYNCHAPPU.ExecuteToken");
      EXPECT_EQ(pim.host.platform.ui.messageBoxes[0].style, platform::mb::kSetForeground);
    }
    EXPECT_EQ(pim.GroupWiseCalls("Commander.Execute").size(), 1u) << c.name;
  }
}

TEST_F(AppointmentsTest, AQueryThatFindsNothingSendsAnEmptyCalendar) {
  pim.Start();
  std::string stream;
  ASSERT_EQ(pim.Read(stream), 0);
  EXPECT_EQ(stream, "BEGIN:VCALENDAR\r\nVERSION:1.0\r\nEND:VCALENDAR");
  EXPECT_EQ(pim.host.progress->CallsOf("SetRange").size(), 2u);  // no (0, n)
}

TEST_F(AppointmentsTest, CancellingDuringTheQueryOrBetweenItemsFailsTheRead) {
  struct Case {
    const char* name;
    int queryPolls;
    int abortFromCall;
    bool stopped;
  };
  const Case cases[] = {
      {"during_the_query", 20, 1, true},
      {"between_items", 0, 2, false},
  };
  for (const Case& c : cases) {
    PimHost pim;
    pim.host.platform.env.ctrlKeyDown = true;
    pim.groupwise.mailbox->queryPolls = c.queryPolls;
    pim.groupwise.mailbox->calendar.push_back(
        Appointment(u"C.1", u"One", {2000, 2, 1, 9, 0, 0, 0}));
    pim.groupwise.mailbox->calendar.push_back(
        Appointment(u"C.2", u"Two", {2000, 2, 2, 9, 0, 0, 0}));
    pim.Start();
    pim.host.progress->abortFromCall = c.abortFromCall;
    platform::MemoryStream stream("previous");
    EXPECT_EQ(pim.plugin->ReadSource(platform::Object(), &stream, 0, 0, u""), 1) << c.name;
    EXPECT_EQ(stream.Bytes(), "previous") << c.name;
    EXPECT_EQ(pim.groupwise.context->log.Count("Query.Stop"), c.stopped ? 1 : 0) << c.name;
    EXPECT_TRUE(pim.Traced("TISYNCHAPPU.GetPIMAppointments exception [User pressed cancel] FALSE"))
        << c.name;
  }
}

TEST_F(AppointmentsTest, AnItemThatCannotBeReadIsLoggedAndSkipped) {
  Add(Appointment(u"F.1", u"Fine", {2000, 2, 1, 9, 0, 0, 0}));
  Add(Appointment(u"F.2", u"Broken", {2000, 2, 2, 9, 0, 0, 0}));
  Add(Appointment(u"F.3", u"Fine too", {2000, 2, 3, 9, 0, 0, 0}));
  pim.host.platform.env.ctrlKeyDown = true;
  pim.Start();
  pim.groupwise.context->faults.RaiseOnCall("Appointment.EndDate", 2, "The item is damaged");
  std::string stream;
  ASSERT_EQ(pim.Read(stream), 0);
  EXPECT_NE(stream.find("UID:F.1"), std::string::npos);
  EXPECT_EQ(stream.find("UID:F.2"), std::string::npos);
  EXPECT_NE(stream.find("UID:F.3"), std::string::npos);
  EXPECT_EQ(pim.host.progress->CallsOf("Log"),
            std::vector<std::string>{
                "Log(\"2000-02-02 - Broken\", \"Error extracting GroupWise appointment\", \"1\")"});
  EXPECT_TRUE(pim.Traced("TISYNCHAPPU.BuildApptEntry: exception [The item is damaged] - FALSE"));
  EXPECT_TRUE(pim.Traced("Error extracting: 2000-02-02 - Broken"));
}

// A failure outside the builder (here reading the subject the progress line shows) skips the
// item the same way, with its own trace line.
TEST_F(AppointmentsTest, AnItemThatRaisesBeforeItIsBuiltIsLoggedAndSkipped) {
  Add(Appointment(u"E.1", u"Fine", {2000, 2, 1, 9, 0, 0, 0}));
  Add(Appointment(u"E.2", u"Unreadable", {2000, 2, 2, 9, 0, 0, 0}));
  pim.host.platform.env.ctrlKeyDown = true;
  pim.Start();
  pim.groupwise.context->faults.RaiseOnCall("Appointment.Subject", 3,
                                            "The item is locked");  // 2 reads an item
  std::string stream;
  ASSERT_EQ(pim.Read(stream), 0);
  EXPECT_NE(stream.find("UID:E.1"), std::string::npos);
  EXPECT_EQ(stream.find("UID:E.2"), std::string::npos);
  EXPECT_EQ(pim.host.progress->CallsOf("Log"),
            std::vector<std::string>{
                "Log(\"2000-02-02 - \", \"Error extracting GroupWise appointment\", \"1\")"});
  EXPECT_TRUE(pim.Traced("Appointment extraction error: [The item is locked]"));
}

TEST_F(AppointmentsTest, AnInsertComesBackWithGroupWisesIdentity) {
  pim.Start();
  std::string record = Crlf(
      "BEGIN:VCALENDAR|VERSION:1.0|BEGIN:VEVENT|UID:device-17|"
      "DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:=E2=82=AC rates=0D=0A=|review|"
      "DTSTART:20000210T080000|DTEND:20000210T093000|CLASS:PRIVATE|"
      "LOCATION;QUOTED-PRINTABLE;CHARSET=UTF-8:M=C3=BCnchen|ATTACH:bring slides|"
      "END:VEVENT|END:VCALENDAR|");
  ASSERT_EQ(pim.Write(1, record), 0);
  ASSERT_EQ(pim.groupwise.mailbox->calendar.size(), 1u);
  const sim::CalendarItem& stored = *pim.groupwise.mailbox->calendar.begin();
  EXPECT_TRUE(stored.subject == u"\u20AC rates\r\nreview");
  EXPECT_TRUE(stored.place == u"M\u00FCnchen");
  EXPECT_TRUE(stored.bodyText == u"bring slides");
  EXPECT_TRUE(stored.isPrivate);
  EXPECT_TRUE(stored.onCalendar);
  EXPECT_TRUE(stored.fromText == u"Test User");
  EXPECT_DOUBLE_EQ(stored.startDate.days,
                   platform::EncodeAutomationDate({2000, 2, 10, 8, 0, 0, 0}).days);
  // The device's UID is not kept: the host learns GroupWise's in the record written back.
  const std::string id =
      framework::EscapeForDisplay(std::string(stored.messageId.begin(), stored.messageId.end()));
  EXPECT_EQ(record.rfind("BEGIN:VCALENDAR\r\nVERSION:1.0\r\nBEGIN:VEVENT\r\nUID:" + id + "\r\n", 0),
            0u)
      << record;
  EXPECT_EQ(record.find("device-17"), std::string::npos);
  EXPECT_NE(record.find("CLASS:PRIVATE\r\n"), std::string::npos);
  const std::string end = "END:VEVENT\r\nEND:VCALENDAR\r\n";
  EXPECT_EQ(record.substr(record.size() - end.size()), end);
}

TEST_F(AppointmentsTest, ModifyWritesTheDeviceChangesWithTheirQuirks) {
  Add(Appointment(u"M.1", u"Old", {2000, 2, 1, 9, 0, 0, 0}));
  pim.Start();
  std::string record = Crlf(
      "BEGIN:VCALENDAR|BEGIN:VEVENT|UID:M.1|DESCRIPTION:New|DTSTART:not a date|"
      "CLASS:private|LOCATION:First|LOCATION:Second|END:VEVENT|END:VCALENDAR|");
  pim.groupwise.mailbox->FindItem(u"M.1")->isPrivate = true;
  ASSERT_EQ(pim.Write(2, record), 0);
  const sim::CalendarItem& stored = *Stored(u"M.1");
  EXPECT_TRUE(stored.subject == u"New");
  EXPECT_FALSE(stored.isPrivate);          // only "PRIVATE" makes an item private
  EXPECT_TRUE(stored.place == u"Second");  // the later value wins
  // A date that cannot be read is today at midnight.
  EXPECT_DOUBLE_EQ(stored.startDate.days,
                   platform::EncodeAutomationDate({2000, 1, 10, 0, 0, 0, 0}).days);
  EXPECT_NE(record.find("DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:New\r\n"), std::string::npos);
}

TEST_F(AppointmentsTest, AGroupAppointmentIsNotChangedAndComesBackAsGroupWiseHasIt) {
  auto meeting = Appointment(u"G.1", u"Board meeting", {2000, 2, 1, 9, 0, 0, 0});
  meeting.personal = false;
  Add(meeting);
  pim.Start();
  std::string record =
      Crlf("BEGIN:VCALENDAR|BEGIN:VEVENT|UID:G.1|DESCRIPTION:Moved|END:VEVENT|END:VCALENDAR|");
  ASSERT_EQ(pim.Write(2, record), 0);
  EXPECT_TRUE(Stored(u"G.1")->subject == u"Board meeting");
  EXPECT_NE(record.find("DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:Board meeting\r\n"),
            std::string::npos);
  EXPECT_EQ(pim.host.progress->CallsOf("Log"),
            std::vector<std::string>{
                "Log(\"Board meeting - 2000-02-01 09:00:00\r\nPlease ignore the following log "
                "entry\", \"GroupWise group appointment update rejected\", \"1\")"});
}

TEST_F(AppointmentsTest, WritesThatFindNothingOfTheirKindFail) {
  Add(Appointment(u"D.1", u"Doomed", {2000, 2, 1, 9, 0, 0, 0}));
  // GroupWise finds any item by its id: a task or a note must be out of an appointment's reach.
  for (auto [id, itemClass] :
       {std::pair{u"T.1", sim::ItemClass::kTask}, std::pair{u"N.1", sim::ItemClass::kNote}}) {
    auto other = Appointment(id, u"Not an appointment", {2000, 2, 1, 9, 0, 0, 0});
    other.itemClass = itemClass;
    Add(other);
  }
  pim.host.platform.env.ctrlKeyDown = true;
  pim.Start();
  struct Case {
    const char* name;
    int16_t op;
    std::string record;
    int32_t wanted;
  };
  const Case cases[] = {
      {"modify_unknown", 2, Crlf("BEGIN:VEVENT|UID:X.9|DESCRIPTION:x|END:VEVENT|"), 1},
      {"modify_a_task", 2, Crlf("BEGIN:VEVENT|UID:T.1|DESCRIPTION:x|END:VEVENT|"), 1},
      {"delete_without_uid", 3, Crlf("BEGIN:VEVENT|END:VEVENT|"), 1},
      {"delete_unknown", 3, Crlf("BEGIN:VEVENT|UID:X.9|END:VEVENT|"), 1},
      {"delete_a_task", 3, Crlf("BEGIN:VEVENT|UID:T.1|END:VEVENT|"), 1},
      {"delete_a_note", 3, Crlf("BEGIN:VEVENT|UID:N.1|END:VEVENT|"), 1},
      {"delete", 3, Crlf("BEGIN:VEVENT|UID:D.1|END:VEVENT|"), 0},
      {"delete_again", 3, Crlf("BEGIN:VEVENT|UID:D.1|END:VEVENT|"), 1},
  };
  for (const Case& c : cases) {
    std::string record = c.record;
    EXPECT_EQ(pim.Write(c.op, record), c.wanted) << c.name;
  }
  EXPECT_EQ(Stored(u"D.1"), nullptr);
  ASSERT_NE(Stored(u"T.1"), nullptr);
  EXPECT_TRUE(Stored(u"T.1")->subject == u"Not an appointment");
  EXPECT_NE(Stored(u"N.1"), nullptr);
  for (const char* uid : {"X.9", "T.1"}) {
    EXPECT_TRUE(pim.Traced(std::string("Exception [Could not access appointment [") + uid +
                           "] via UID] in TISYNCHAPPU.ModifyPIMAppointment"))
        << uid;
  }
}

// A record that is not an appointment at all must not become an empty one dated 1899-12-30.
TEST_F(AppointmentsTest, ARecordWithNothingToWriteIsRefusedBeforeGroupWiseIsTouched) {
  Add(Appointment(u"R.1", u"Kept", {2000, 2, 1, 9, 0, 0, 0}));
  pim.host.platform.env.ctrlKeyDown = true;
  pim.Start();
  std::string utf16;
  for (char c : std::string("BEGIN:VEVENT\r\nUID:R.1\r\nDESCRIPTION:x\r\nEND:VEVENT\r\n"))
    utf16 += std::string{c, '\0'};
  struct Case {
    const char* name;
    int16_t op;
    std::string record;
  };
  const Case cases[] = {
      {"lf_line_ends", 1, "BEGIN:VEVENT\nDESCRIPTION:x\nDTSTART:20000201T090000\nEND:VEVENT\n"},
      {"utf16", 1, utf16},
      {"only_the_frame", 1, Crlf("BEGIN:VCALENDAR|BEGIN:VEVENT|UID:R.1|END:VEVENT|END:VCALENDAR|")},
      {"modify_only_the_frame", 2, Crlf("BEGIN:VEVENT|UID:R.1|SUMMARY:y|END:VEVENT|")},
  };
  for (const Case& c : cases) {
    pim.groupwise.context->log = {};
    std::string record = c.record;
    EXPECT_EQ(pim.Write(c.op, record), 1) << c.name;
    EXPECT_EQ(record, c.record) << c.name;
    EXPECT_TRUE(pim.GroupWiseCalls("Account.").empty()) << c.name << ": GroupWise was asked";
  }
  EXPECT_EQ(pim.groupwise.mailbox->calendar.size(), 1u);
  EXPECT_TRUE(Stored(u"R.1")->subject == u"Kept");
  EXPECT_TRUE(pim.Traced("TISYNCHAPPU: The record holds no appointment property; it is refused"));
}

// The host is told the insert failed and sends it again; a half-made item left behind would
// reach the device as a second copy at the next read.
TEST_F(AppointmentsTest, AFailedInsertLeavesNothingInGroupWise) {
  struct Case {
    const char* name;
    const char* failingMember;
    int call;
  };
  const Case cases[] = {
      {"owner_unreadable", "Account.Owner", 1},
      {"place_refused", "Appointment.Place", 1},
      {"refresh_fails", "Appointment.Refresh", 1},
      {"rebuild_fails", "Appointment.EndDate", 2},  // the first is the write
  };
  for (const Case& c : cases) {
    PimHost pim;
    pim.Start();
    pim.groupwise.context->faults.RaiseOnCall(c.failingMember, c.call, "Disk full");
    std::string record = Crlf(
        "BEGIN:VCALENDAR|BEGIN:VEVENT|DESCRIPTION:x|DTEND:20000201T100000|LOCATION:Here|"
        "END:VEVENT|END:VCALENDAR|");
    const std::string sent = record;
    EXPECT_EQ(pim.Write(1, record), 1) << c.name;
    EXPECT_EQ(record, sent) << c.name << ": something was written back";
    EXPECT_TRUE(pim.groupwise.mailbox->calendar.empty()) << c.name << ": a half-made item stayed";
    EXPECT_TRUE(pim.host.progress->CallsOf("Log").empty()) << c.name;
  }
}

TEST_F(AppointmentsTest, AHalfMadeItemThatCannotBeRemovedIsReportedToTheUser) {
  pim.Start();
  pim.groupwise.context->faults.RaiseAlways("Appointment.Refresh", "Disk full");
  pim.groupwise.context->faults.RaiseAlways("Appointment.Delete", "Still disk full");
  std::string record = Crlf("BEGIN:VEVENT|DESCRIPTION:Lunch|DTSTART:20000201T120000|END:VEVENT|");
  EXPECT_EQ(pim.Write(1, record), 1);
  ASSERT_EQ(pim.groupwise.mailbox->calendar.size(), 1u);
  EXPECT_EQ(pim.host.progress->CallsOf("Log"),
            std::vector<std::string>{
                "Log(\"Lunch - 2000-02-01 12:00:00\r\nGroupWise kept part of an item the device "
                "added; it may appear twice after the next synchronization\", \"GroupWise insert "
                "failed\", \"1\")"});
}

// GroupWise failing between two writes of a modify leaves the item partly changed; the user
// learns which one.
TEST_F(AppointmentsTest, AModifyThatGroupWiseFailsHalfWayNamesTheItem) {
  Add(Appointment(u"H.1", u"Old", {2000, 2, 1, 9, 0, 0, 0}));
  pim.host.platform.env.ctrlKeyDown = true;
  pim.Start();
  pim.groupwise.context->faults.RaiseOnCall("Appointment.Place", 1, "Disk full");
  std::string record =
      Crlf("BEGIN:VEVENT|UID:H.1|DESCRIPTION:New|LOCATION:Elsewhere|ATTACH:Notes|END:VEVENT|");
  EXPECT_EQ(pim.Write(2, record), 1);
  EXPECT_TRUE(Stored(u"H.1")->subject == u"New");
  EXPECT_TRUE(Stored(u"H.1")->bodyText == u"Agenda");
  EXPECT_EQ(pim.host.progress->CallsOf("Log"),
            std::vector<std::string>{
                "Log(\"New - 2000-02-01 09:00:00\r\nGroupWise failed while the change was "
                "written; the appointment may be partly changed\", \"GroupWise appointment update "
                "failed\", \"1\")"});
  EXPECT_TRUE(pim.Traced("Exception [Disk full] in TISYNCHAPPU.UpdateMessage"));
}

}  // namespace
}  // namespace pimsync
