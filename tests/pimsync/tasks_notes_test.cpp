// Tasks and notes both ways: what sets them apart from appointments (their queries, the day
// form of their dates, the task's completion and priority, another user's task and note).

#include <gtest/gtest.h>

#include <functional>

#include "framework/data_types.h"
#include "framework/text_codec.h"
#include "tests/pimsync/pim_harness.h"

namespace pimsync {
namespace {

using testing_harness::Appointment;
using testing_harness::Note;
using testing_harness::PimHost;
using testing_harness::Task;
using testing_support::Crlf;
using testing_support::FirstDifference;

constexpr int16_t kTodo = framework::data_type::kTodo;
constexpr int16_t kEve = framework::data_type::kEve;

platform::AutomationDate Day(int year, int month, int day) {
  return platform::EncodeAutomationDate({year, month, day, 0, 0, 0, 0});
}

class TasksAndNotesTest : public testing::Test {
 protected:
  TasksAndNotesTest() { pim.host.platform.env.ctrlKeyDown = true; }
  sim::CalendarItem& Add(sim::CalendarItem item) {
    return pim.groupwise.mailbox->calendar.push_back(std::move(item));
  }
  const sim::CalendarItem* Stored(std::u16string_view id) {
    return pim.groupwise.mailbox->FindItem(id);
  }
  PimHost pim;
};

// A range from 1 February to 12 March: tasks are read by their due day from the range's start,
// however late they are due, unless they are assigned after the range.
TEST_F(TasksAndNotesTest, ATaskReadTakesTasksDueFromTheRangeStartButNotThoseAssignedAfterIt) {
  pim.SetRange(u"20000201T000000", u"20000313T000000");
  auto done =
      Task(u"T.1", u"Steuererkl\u00E4rung", {2000, 2, 1, 0, 0, 0, 0}, {2000, 3, 10, 0, 0, 0, 0});
  done.completed = true;
  done.taskPriority = 3;
  done.isPrivate = true;
  done.bodyText = u"\r\n";
  Add(done);
  Add(Task(u"T.2", u"Due in June", {2000, 3, 1, 0, 0, 0, 0}, {2000, 6, 1, 0, 0, 0, 0}));
  Add(Task(u"T.3", u"Assigned after", {2000, 3, 13, 0, 0, 0, 0}, {2000, 3, 20, 0, 0, 0, 0}));
  Add(Task(u"T.4", u"Due before", {2000, 1, 1, 0, 0, 0, 0}, {2000, 1, 31, 0, 0, 0, 0}));
  Add(Task(u"T.5", u"Assigned late on the last day", {2000, 3, 12, 23, 59, 59, 0},
           {2000, 3, 20, 0, 0, 0, 0}));
  pim.Start();
  std::string stream;
  ASSERT_EQ(pim.Read(stream, kTodo), 0) << pim.TraceText();
  const std::string wanted = Crlf(
      "BEGIN:VCALENDAR|VERSION:1.0|"
      "BEGIN:VTODO|UID:T.1|"
      "DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:"
      "Steuererkl=C3=A4rung|"
      "DUE:20000310T000000|DTSTART:20000201T000000|"
      "STATUS:CONFIRMED|CLASS:PRIVATE|"
      "COMPLETED:20000310T000000|PRIORITY:3|"
      "ATTACH;QUOTED-PRINTABLE;CHARSET=UTF-8:|END:VTODO|"
      "BEGIN:VTODO|UID:T.2|"
      "DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:Due in June|"
      "DUE:20000601T000000|DTSTART:20000301T000000|"
      "STATUS:CONFIRMED|CLASS:PUBLIC|COMPLETED:|PRIORITY:2|"
      "ATTACH;QUOTED-PRINTABLE;CHARSET=UTF-8:Steps|END:VTODO|"
      "BEGIN:VTODO|UID:T.5|");
  EXPECT_EQ(FirstDifference(stream.substr(0, wanted.size()), wanted), "");
  EXPECT_EQ(stream.find("UID:T.3"), std::string::npos);
  EXPECT_EQ(pim.GroupWiseCalls("Query.Expression="),
            std::vector<std::string>{
                "Query.Expression=(\"(TASK) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = "
                "PERSONAL) AND (DUEEND_DATE >= 2000/2/1 AT 00:00:00)\")"});
  // Four found, three sent: the skipped task takes no step of the bar.
  EXPECT_EQ(pim.host.progress->CallsOf("SetValue"),
            (std::vector<std::string>{"SetValue(\"0\")", "SetValue(\"0\")", "SetValue(\"1\")",
                                      "SetValue(\"2\")", "SetValue(\"3\")", "SetValue(\"0\")"}));
  EXPECT_TRUE(pim.Traced("TISYNCHAPPU.GetPIMTasks"));
}

TEST_F(TasksAndNotesTest, ANoteIsSentAsAnEventOfItsDayWithoutAPlace) {
  auto note = Note(u"N.1", u"Feiertag", {2000, 1, 5, 0, 0, 0, 0});
  note.bodyText = u"\r\n";
  Add(note);
  Add(Note(u"N.2", u"Too late", {2000, 3, 13, 0, 0, 0, 0}));
  pim.Start();
  std::string stream;
  ASSERT_EQ(pim.Read(stream, kEve), 0);
  EXPECT_EQ(FirstDifference(stream, Crlf("BEGIN:VCALENDAR|VERSION:1.0|BEGIN:VEVENT|UID:N.1|"
                                         "DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:Feiertag|"
                                         "DTSTART:20000105T000000|DTEND:20000105T000000|"
                                         "STATUS:CONFIRMED|CLASS:PUBLIC|"
                                         "ATTACH;QUOTED-PRINTABLE;CHARSET=UTF-8:|END:VEVENT|"
                                         "END:VCALENDAR")),
            "");
  EXPECT_EQ(pim.GroupWiseCalls("Query.Expression="),
            std::vector<std::string>{
                "Query.Expression=(\"(NOTE) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = "
                "PERSONAL) AND (START_DATE >= 2000/1/5 AT 00:00:00 AND START_DATE <= 2000/3/12 AT "
                "23:59:59)\")"});
  EXPECT_TRUE(pim.Traced("TISYNCHAPPU.GetPIMEvents"));
}

// The privacy of an item that will not tell, when the commander cannot tell either.
TEST_F(TasksAndNotesTest, ATaskOfUnknownPrivacyIsSentAsPrivate) {
  struct Case {
    int16_t type;
    sim::CalendarItem item;
    const char* wanted;
  };
  const Case cases[] = {
      {kTodo, Task(u"X.1", u"t", {2000, 1, 5, 0, 0, 0, 0}, {2000, 1, 6, 0, 0, 0, 0}),
       "CLASS:PRIVATE"},
      {kEve, Note(u"X.1", u"n", {2000, 1, 5, 0, 0, 0, 0}), "CLASS:PUBLIC"},
      {0, Appointment(u"X.1", u"a", {2000, 1, 5, 9, 0, 0, 0}), "CLASS:PUBLIC"},
  };
  for (const Case& c : cases) {
    PimHost pim;
    sim::CalendarItem item = c.item;
    item.isPrivate = false;
    item.privateReadRaises = true;
    item.failingTokens = {"ItemGetAttribute"};
    pim.groupwise.mailbox->calendar.push_back(item);
    pim.Start();
    std::string stream;
    ASSERT_EQ(pim.Read(stream, c.type), 0);
    EXPECT_NE(stream.find(std::string("\r\n") + c.wanted + "\r\n"), std::string::npos)
        << c.type << stream;
  }
}

// One property at a time onto a personal task assigned 20 January, due 20 February; today is
// 10 January.
TEST_F(TasksAndNotesTest, EachTaskPropertyWritesItsMembers) {
  struct Case {
    const char* property;
    std::function<void(sim::CalendarItem&)> change;
  };
  const Case cases[] = {
      {"DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:Caf=C3=A9",
       [](auto& t) { t.subject = u"Caf\u00E9"; }},
      // Assigned for a day already past: it starts today.
      {"DTSTART:20000105T000000",
       [](auto& t) {
         t.assignedDate = Day(2000, 1, 5);
         t.startDate = Day(2000, 1, 10);
       }},
      {"DTSTART:20000115T093000",
       [](auto& t) {
         t.assignedDate = Day(2000, 1, 15);
         t.startDate = Day(2000, 1, 15);
       }},
      {"DTSTART:soon",
       [](auto& t) {
         t.assignedDate = Day(2000, 1, 10);
         t.startDate = Day(2000, 1, 10);
       }},
      {"DUE:20000301T000000", [](auto& t) { t.dueDate = Day(2000, 3, 1); }},
      {"COMPLETED:20000220T000000", [](auto& t) { t.completed = true; }},
      {"PRIORITY:3", [](auto& t) { t.taskPriority = 3; }},
      {"PRIORITY:+4", [](auto& t) { t.taskPriority = 4; }},
      {"PRIORITY:high", [](auto& t) { t.taskPriority = 1; }},
      {"PRIORITY:", [](auto& t) { t.taskPriority = 1; }},
      {"PRIORITY:99999999999", [](auto& t) { t.taskPriority = 1; }},
      {"CLASS:PRIVATE", [](auto& t) { t.isPrivate = true; }},
      {"CLASS:private", [](auto&) {}},
      {"ATTACH:Notes", [](auto& t) { t.bodyText = u"Notes"; }},
  };
  for (const Case& c : cases) {
    PimHost pim;
    auto task = Task(u"T.1", u"Old", {2000, 1, 20, 0, 0, 0, 0}, {2000, 2, 20, 0, 0, 0, 0});
    task.taskPriority = 2;
    pim.groupwise.mailbox->calendar.push_back(task);
    pim.Start();
    std::string record = Crlf("BEGIN:VTODO|UID:T.1|") + c.property + Crlf("|END:VTODO|");
    ASSERT_EQ(pim.Write(2, record, kTodo), 0) << c.property << pim.TraceText();
    sim::CalendarItem wanted = task;
    c.change(wanted);
    const sim::CalendarItem& got = *pim.groupwise.mailbox->FindItem(u"T.1");
    EXPECT_TRUE(got.subject == wanted.subject) << c.property;
    EXPECT_EQ(got.assignedDate.days, wanted.assignedDate.days) << c.property;
    EXPECT_EQ(got.startDate.days, wanted.startDate.days) << c.property;
    EXPECT_EQ(got.dueDate.days, wanted.dueDate.days) << c.property;
    EXPECT_EQ(got.completed, wanted.completed) << c.property;
    EXPECT_EQ(got.taskPriority, wanted.taskPriority) << c.property;
    EXPECT_EQ(got.isPrivate, wanted.isPrivate) << c.property;
    EXPECT_TRUE(got.bodyText == wanted.bodyText) << c.property;
    EXPECT_TRUE(pim.host.progress->CallsOf("Log").empty()) << c.property;
  }
}

// Another user's task keeps what that user gave it; whether it is done is the user's own. The
// user is told once, and the host gets GroupWise's version back.
TEST_F(TasksAndNotesTest, AGroupTaskTakesOnlyItsCompletion) {
  struct Case {
    const char* name;
    std::string properties;
    std::size_t logs;
  };
  const Case cases[] = {
      {"everything",
       "DESCRIPTION:New|DTSTART:20000301T000000|DUE:20000401T000000|"
       "COMPLETED:20000401T000000|PRIORITY:1|CLASS:PRIVATE|ATTACH:Mine|",
       1},
      {"completion_only", "COMPLETED:20000401T000000|", 0},
  };
  for (const Case& c : cases) {
    PimHost pim;
    auto task = Task(u"G.1", u"Theirs", {2000, 1, 20, 0, 0, 0, 0}, {2000, 2, 20, 0, 0, 0, 0});
    task.personal = false;
    task.boxType = sim::BoxType::kIncoming;
    pim.groupwise.mailbox->calendar.push_back(task);
    pim.Start();
    std::string record =
        Crlf("BEGIN:VCALENDAR|BEGIN:VTODO|UID:G.1|" + c.properties + "END:VTODO|END:VCALENDAR|");
    ASSERT_EQ(pim.Write(2, record, kTodo), 0) << c.name;
    const sim::CalendarItem& got = *pim.groupwise.mailbox->FindItem(u"G.1");
    EXPECT_TRUE(got.completed) << c.name;
    EXPECT_TRUE(got.subject == u"Theirs" && got.bodyText == u"Steps" && !got.isPrivate &&
                got.taskPriority == 2 && got.dueDate.days == Day(2000, 2, 20).days &&
                got.assignedDate.days == Day(2000, 1, 20).days)
        << c.name;
    EXPECT_TRUE(pim.GroupWiseCalls("Commander.Execute").empty()) << c.name;
    const std::vector<std::string> logs = pim.host.progress->CallsOf("Log");
    ASSERT_EQ(logs.size(), c.logs) << c.name;
    if (c.logs) {
      EXPECT_EQ(logs[0],
                "Log(\"Theirs - 2000-02-20\r\nPlease ignore the following log entry\", "
                "\"GroupWise group task update rejected\", \"1\")");
    }
    EXPECT_NE(record.find("\r\nDESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:Theirs\r\n"),
              std::string::npos)
        << c.name;
    EXPECT_NE(record.find("\r\nCOMPLETED:20000220T000000\r\n"), std::string::npos) << c.name;
  }
}

TEST_F(TasksAndNotesTest, ANoteKeepsOnlyTheDayAndAFailedPrivacyChangeIsShownOnce) {
  struct Case {
    const char* classValue;
    const char* box;
  };
  for (const Case& c :
       {Case{"PRIVATE", "Set to private failed"}, Case{"PUBLIC", "set to public failed"}}) {
    PimHost pim;
    auto note = Note(u"N.1", u"Old", {2000, 2, 2, 0, 0, 0, 0});
    note.failingTokens = {"ItemSetAttribute"};
    pim.groupwise.mailbox->calendar.push_back(note);
    pim.Start();
    std::string record = Crlf(
                             "BEGIN:VEVENT|UID:N.1|DESCRIPTION:New|DTSTART:20000203T093000|"
                             "DTEND:20000210T120000|LOCATION:Here|CLASS:") +
                         c.classValue + Crlf("|ATTACH:Body|END:VEVENT|");
    ASSERT_EQ(pim.Write(2, record, kEve), 0) << c.classValue;
    const sim::CalendarItem& got = *pim.groupwise.mailbox->FindItem(u"N.1");
    EXPECT_EQ(got.startDate.days, Day(2000, 2, 3).days) << c.classValue;
    EXPECT_TRUE(got.subject == u"New" && got.bodyText == u"Body") << c.classValue;
    ASSERT_EQ(pim.host.platform.ui.messageBoxes.size(), 1u) << c.classValue;
    EXPECT_EQ(pim.host.platform.ui.messageBoxes[0].text, c.box);
    EXPECT_NE(record.find("\r\nDTSTART:20000203T000000\r\nDTEND:20000203T000000\r\n"),
              std::string::npos)
        << record;
  }
}

TEST_F(TasksAndNotesTest, ANoteFromAnotherUserIsNotChanged) {
  auto note = Note(u"G.2", u"Theirs", {2000, 2, 2, 0, 0, 0, 0});
  note.personal = false;
  Add(note);
  pim.Start();
  std::string record = Crlf(
      "BEGIN:VEVENT|UID:G.2|DESCRIPTION:Mine|DTSTART:20000205T000000|"
      "END:VEVENT|");
  ASSERT_EQ(pim.Write(2, record, kEve), 0);
  EXPECT_TRUE(Stored(u"G.2")->subject == u"Theirs");
  EXPECT_EQ(Stored(u"G.2")->startDate.days, Day(2000, 2, 2).days);
  EXPECT_EQ(pim.host.progress->CallsOf("Log"),
            std::vector<std::string>{
                "Log(\"Theirs - 2000-02-02 00:00:00\r\nPlease ignore the following log entry\", "
                "\"GroupWise group note update rejected\", \"1\")"});
  EXPECT_NE(record.find("DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:Theirs"), std::string::npos);
}

TEST_F(TasksAndNotesTest, AnAddCreatesItemsOfTheirKindAndReturnsTheirIdentity) {
  struct Case {
    int16_t type;
    std::string record;
    sim::ItemClass itemClass;
    std::u16string category;
    const char* begin;
  };
  const Case cases[] = {
      {kTodo, Crlf("BEGIN:VTODO|UID:dev-1|DESCRIPTION:Call|DUE:20000120T000000|END:VTODO|"),
       sim::ItemClass::kTask, u"S", "BEGIN:VTODO"},
      {kEve, Crlf("BEGIN:VEVENT|UID:dev-1|DESCRIPTION:Fair|DTSTART:20000120T000000|END:VEVENT|"),
       sim::ItemClass::kNote, u"", "BEGIN:VEVENT"},
  };
  for (const Case& c : cases) {
    PimHost pim;
    pim.Start();
    std::string record = c.record;
    ASSERT_EQ(pim.Write(1, record, c.type), 0) << c.begin << pim.TraceText();
    ASSERT_EQ(pim.groupwise.mailbox->calendar.size(), 1u);
    const sim::CalendarItem& made = pim.groupwise.mailbox->calendar[0];
    EXPECT_EQ(made.itemClass, c.itemClass);
    EXPECT_TRUE(made.taskCategory == c.category);
    EXPECT_TRUE(made.fromText == u"Test User" && made.onCalendar);
    EXPECT_TRUE(record.starts_with(Crlf("BEGIN:VCALENDAR|VERSION:1.0|") + c.begin + Crlf("|UID:") +
                                   framework::Utf16ToUtf8(made.messageId)))
        << record;
  }
}

// A UID comes with the record of its kind; one of another kind, or none GroupWise knows, fails
// with the kind's own text, and nothing is deleted.
TEST_F(TasksAndNotesTest, ModifyAndDeleteReachOnlyItemsOfTheirKind) {
  struct Case {
    int16_t type;
    const char* modifyTrace;
  };
  const Case cases[] = {
      {kTodo, "Exception [Could not access task [A.1] via UID] in TISYNCHAPPU.ModifyPIMTask"},
      {kEve, "Exception [Could not access Note [A.1] via UID] in TISYNCHAPPU.ModifyPIMEvent"},
  };
  for (const Case& c : cases) {
    PimHost pim;
    pim.host.platform.env.ctrlKeyDown = true;
    pim.groupwise.mailbox->calendar.push_back(
        Appointment(u"A.1", u"Meeting", {2000, 2, 1, 9, 0, 0, 0}));
    pim.Start();
    std::string record = Crlf("BEGIN:VEVENT|UID:A.1|DESCRIPTION:x|END:VEVENT|");
    EXPECT_EQ(pim.Write(2, record, c.type), 1);
    EXPECT_TRUE(pim.Traced(c.modifyTrace)) << pim.TraceText();
    EXPECT_EQ(pim.Write(3, record, c.type), 1);
    EXPECT_EQ(pim.groupwise.mailbox->calendar.size(), 1u);
  }
}

TEST_F(TasksAndNotesTest, CancellingWhileATaskOrNoteQueryRunsStopsIt) {
  for (const int16_t type : {kTodo, kEve}) {
    PimHost pim;
    pim.groupwise.mailbox->queryPolls = 20;
    pim.Start();
    pim.host.progress->abortFromCall = 1;
    platform::MemoryStream stream("previous");
    EXPECT_EQ(pim.plugin->ReadSource(platform::Object(), &stream, type, 0, u""), 1) << type;
    EXPECT_EQ(pim.groupwise.context->log.Count("Query.Stop"), 1) << type;
  }
}

}  // namespace
}  // namespace pimsync
