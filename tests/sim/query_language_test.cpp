// The query language: the expressions the plug-ins build select exactly the items GroupWise
// would give them, to the second at the range ends, and any other form is refused where it
// goes wrong.

#include "sim/groupwise/query_language.h"

#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

using testing_support::At;

constexpr char16_t kAppointments[] =
    u"(APPOINTMENT) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = PERSONAL) AND "
    u"(START_DATE >= 2000/1/5 AT 00:00:00 AND START_DATE <= 2000/3/12 AT 23:59:59)";
constexpr char16_t kTasks[] =
    u"(TASK) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = PERSONAL) AND "
    u"(DUEEND_DATE >= 2000/2/1 AT 00:00:00)";
constexpr char16_t kNotes[] =
    u"(NOTE) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = PERSONAL) AND "
    u"(START_DATE >= 2000/1/5 AT 00:00:00 AND START_DATE <= 2000/3/12 AT 23:59:59)";

struct Shape {
  ItemClass itemClass = ItemClass::kAppointment;
  BoxType box = BoxType::kPersonal;
  bool accepted = true;
  platform::AutomationDate start = At(2000, 2, 1, 9);
  platform::AutomationDate end = At(2000, 2, 1, 10);
  platform::AutomationDate due = At(2000, 2, 1);
};

CalendarItem ItemOf(const Shape& shape) {
  CalendarItem item = testing_support::MakeItem(u"X", shape.itemClass);
  item.boxType = shape.box;
  item.accepted = shape.accepted;
  item.startDate = shape.start;
  item.endDate = shape.end;
  item.dueDate = shape.due;
  return item;
}

TEST(GroupWiseSimQueryLanguage, ThePlugInFormsSelectTheirItemsToTheSecond) {
  using C = ItemClass;
  using B = BoxType;
  struct Case {
    const char* name;
    std::u16string_view expression;
    Shape item;
    bool matches;
  };
  const Case cases[] = {
      {"appointment on the first day at midnight", kAppointments, {.start = At(2000, 1, 5)}, true},
      {"appointment a second before the range",
       kAppointments,
       {.start = At(2000, 1, 4, 23, 59, 59)},
       false},
      {"appointment at the last second",
       kAppointments,
       {.start = At(2000, 3, 12, 23, 59, 59)},
       true},
      {"appointment a fraction after the last second",
       kAppointments,
       {.start = At(2000, 3, 12, 23, 59, 59, 600)},
       true},
      {"appointment on the day after", kAppointments, {.start = At(2000, 3, 13)}, false},
      {"appointment ending in range but starting before",
       kAppointments,
       {.start = At(2000, 1, 4, 23), .end = At(2000, 1, 5, 1)},
       false},
      {"incoming appointment", kAppointments, {.box = B::kIncoming}, true},
      {"appointment in the outgoing box", kAppointments, {.box = B::kOutgoing}, false},
      {"draft appointment", kAppointments, {.box = B::kDraft}, false},
      {"appointment not accepted", kAppointments, {.accepted = false}, false},
      {"task in the appointment range", kAppointments, {.itemClass = C::kTask}, false},
      {"task due on the first day", kTasks, {.itemClass = C::kTask, .due = At(2000, 2, 1)}, true},
      {"task due the second before",
       kTasks,
       {.itemClass = C::kTask, .start = At(2000, 3, 1), .due = At(2000, 1, 31, 23, 59, 59)},
       false},
      {"task due long after the range end",
       kTasks,
       {.itemClass = C::kTask, .due = At(2001, 6, 1)},
       true},
      {"task ended but not due: the end date is not a task's",
       kTasks,
       {.itemClass = C::kTask, .end = At(2000, 5, 1), .due = At(2000, 1, 1)},
       false},
      {"appointment in the task query", kTasks, {.end = At(2000, 5, 1)}, false},
      {"unaccepted task", kTasks, {.itemClass = C::kTask, .accepted = false}, false},
      {"note on the first day", kNotes, {.itemClass = C::kNote, .start = At(2000, 1, 5)}, true},
      {"note on the day after", kNotes, {.itemClass = C::kNote, .start = At(2000, 3, 13)}, false},
      {"appointment in the note query", kNotes, {}, false},
      {"an appointment's DUEEND_DATE is its end",
       u"APPOINTMENT AND DUEEND_DATE = 2000/4/1 AT 10:30:00",
       {.end = At(2000, 4, 1, 10, 30)},
       true},
      {"a note's DUEEND_DATE is its start",
       u"DUEEND_DATE < 2000/1/2 AT 00:00:00",
       {.itemClass = C::kNote, .start = At(2000, 1, 1), .end = At(2000, 6, 1)},
       true},
      {"AND binds tighter than OR",
       u"TASK OR APPOINTMENT AND ACCEPTED",
       {.itemClass = C::kTask, .accepted = false},
       true},
      {"parentheses override it",
       u"(TASK OR APPOINTMENT) AND ACCEPTED",
       {.itemClass = C::kTask, .accepted = false},
       false},
      {"the mail form parses and leaves calendar items out",
       u"(MAIL OR PHONE_MESSAGE) AND (BOX_TYPE = INCOMING) AND "
       u"(START_DATE >= 2000/1/5 AT 00:00:00 AND START_DATE <= 2000/3/12 AT 23:59:59)",
       {.box = B::kIncoming},
       false},
      {"not equal to a box", u"BOX_TYPE <> OUTGOING", {.box = B::kIncoming}, true},
      {"strictly after", u"START_DATE > 2000/2/1 AT 09:00:00", {}, false},
      {"strictly before", u"START_DATE < 2000/2/1 AT 09:00:01", {}, true},
      {"blanks are only separators",
       u"  ( APPOINTMENT )AND(START_DATE>=2000/2/1 AT 09:00:00)",
       {},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(QueryExpression::Parse(c.expression).Matches(ItemOf(c.item)), c.matches);
  }
}

TEST(GroupWiseSimQueryLanguage, RefusesWhatThePlugInsMustNotWriteAndSaysWhere) {
  struct Case {
    std::u16string expression;
    std::size_t column;
    const char* detail;
  };
  const Case cases[] = {
      {u"", 1, "expected a condition, found the end"},
      {u"(APPOINTMENT", 13, "expected ')'"},
      {u"(appointment)", 2, "upper case"},
      {u"(APPOINTMENTS)", 2, "unknown word 'APPOINTMENTS'"},
      {u"NOT TASK", 1, "unknown word 'NOT'"},
      {u"TASK TASK", 6, "expected AND, OR or the end"},
      {u"TASK AND", 9, "expected a condition"},
      {u"TASK & NOTE", 6, "unexpected character '&'"},
      {u"TASK AND NOTE \u00E9", 15, "U+00E9"},
      {u"START_DATE >= 2000/01/05 AT 00:00:00", 20, "month '01' has a leading zero"},
      {u"START_DATE >= 2000-1-5 AT 00:00:00", 19, "unexpected character '-'"},
      {u"START_DATE >= 2000/1/5", 23, "expected AT"},
      {u"START_DATE >= 2000/1/5 AT 0:00:00", 27, "hour as two digits"},
      {u"START_DATE >= 2000/1/5 AT 00:00", 32, "expected ':' after the minute"},
      {u"START_DATE >= 2000/2/30 AT 00:00:00", 15, "no such date"},
      {u"START_DATE >= 2000/2/3 AT 24:00:00", 15, "no such date or time"},
      {u"START_DATE => 2000/2/3 AT 00:00:00", 13, "expected the year"},
      {u"START_DATE IS 2000/2/3 AT 00:00:00", 12, "expected a comparison"},
      {u"BOX_TYPE = INBOX", 12, "expected a box type"},
      {u"BOX_TYPE >= INCOMING", 10, "expected '=' or '<>'"},
      {u"DUE_DATE >= 2000/2/3 AT 00:00:00", 1, "unknown word 'DUE_DATE'"},
      {std::u16string(100, u'(') + u"TASK" + std::u16string(100, u')'), 65, "nested too deeply"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing_support::Utf8(c.expression));
    try {
      QueryExpression::Parse(c.expression);
      ADD_FAILURE() << "accepted";
    } catch (const QueryError& error) {
      EXPECT_EQ(error.Column(), c.column) << error.what();
      EXPECT_NE(error.Detail().find(c.detail), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace sim
