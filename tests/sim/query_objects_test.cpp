// The query object: a plug-in must start it, poll it and only then read what it found; what
// it finds is what the expression selects, in calendar order.

#include <functional>
#include <utility>
#include <vector>

#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

using testing_support::At;
using testing_support::ErrorOf;
using testing_support::GroupWiseTest;
using testing_support::HResultOf;
using testing_support::MakeItem;
using testing_support::Object;
using testing_support::Variant;

constexpr char16_t kAppointments[] =
    u"(APPOINTMENT) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = PERSONAL) AND "
    u"(START_DATE >= 2000/1/5 AT 00:00:00 AND START_DATE <= 2000/3/12 AT 23:59:59)";

class GroupWiseSimQuery : public GroupWiseTest {
 protected:
  Object StartedQuery(std::u16string_view expression) {
    const Object query = Account().Call("CreateQuery").AsObject();
    query.PutProperty("Expression", Variant(expression));
    query.PutProperty("SearchLocally", true);
    query.Call("Start");
    return query;
  }
  static std::vector<std::u16string> Found(const Object& query) {
    const Object found = query.GetProperty("QueryMessages").AsObject();
    std::vector<std::u16string> ids;
    for (int32_t i = 1, n = found.GetProperty("Count").ToInt32(); i <= n; ++i) {
      ids.push_back(found.Call("Item", {i}).AsObject().GetProperty("MessageID").AsText());
    }
    return ids;
  }
  CalendarItem& Appointment(std::u16string id, platform::AutomationDate start) {
    CalendarItem item = MakeItem(std::move(id));
    item.startDate = start;
    return Put(std::move(item));
  }
};

TEST_F(GroupWiseSimQuery, CompletedTurnsTrueAfterTheConfiguredNumberOfPollsFromEachStart) {
  for (int polls : {0, 1, 4}) {
    SCOPED_TRACE(polls);
    groupwise.mailbox->queryPolls = polls;
    const Object query = StartedQuery(u"APPOINTMENT");
    for (int round = 0; round < 2; ++round) {
      std::vector<bool> answers;
      for (int i = 0; i <= polls + 1; ++i)
        answers.push_back(query.GetProperty("Completed").ToBool());
      std::vector<bool> wanted(static_cast<std::size_t>(polls), false);
      wanted.insert(wanted.end(), {true, true});
      EXPECT_EQ(answers, wanted) << "round " << round;
      query.Call("Start");
    }
  }
}

TEST_F(GroupWiseSimQuery, ResultsAreRefusedUntilTheQueryHasBeenStartedAndPolledToTheEnd) {
  groupwise.mailbox->queryPolls = 1;
  const Object query = Account().Call("CreateQuery").AsObject();
  query.PutProperty("Expression", u"NOTE");
  query.PutProperty("SearchLocally", true);
  EXPECT_NE(ErrorOf([&] { query.GetProperty("Completed"); }).find("not been started"),
            std::string::npos);
  query.Call("Start");
  EXPECT_NE(ErrorOf([&] { query.GetProperty("QueryMessages"); }).find("not completed"),
            std::string::npos);
  EXPECT_FALSE(query.GetProperty("Completed").ToBool());
  EXPECT_TRUE(query.GetProperty("Completed").ToBool());
  EXPECT_EQ(ErrorOf([&] { query.GetProperty("QueryMessages"); }), "(no error)");
}

TEST_F(GroupWiseSimQuery, AnExpressionThatCannotBeReadMakesStartRaiseNamingItAndTheColumn) {
  const Object query = Account().Call("CreateQuery").AsObject();
  query.PutProperty("SearchLocally", true);
  EXPECT_NE(ErrorOf([&] { query.Call("Start"); }).find("no expression"), std::string::npos);
  const std::u16string wrong = u"(APPOINTMENT) AND (START_DATE >= 2000/01/05 AT 00:00:00)";
  query.PutProperty("Expression", wrong);
  const std::string error = ErrorOf([&] { query.Call("Start"); });
  EXPECT_NE(error.find("column 39"), std::string::npos) << error;
  EXPECT_NE(error.find(testing_support::Utf8(wrong)), std::string::npos) << error;
  EXPECT_NE(ErrorOf([&] { query.GetProperty("Completed"); }), "(no error)");
}

TEST_F(GroupWiseSimQuery, OnlyASearchOfTheLocalMailboxStarts) {
  Appointment(u"a", At(2000, 2, 1));
  struct Case {
    const char* name;
    std::vector<bool> searchLocally;  // the values written, in order
    bool starts;
  };
  const Case cases[] = {
      {"never set", {}, false},
      {"set false", {false}, false},
      {"set back to false", {true, false}, false},
      {"set true", {true}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Object query = Account().Call("CreateQuery").AsObject();
    query.PutProperty("Expression", u"APPOINTMENT");
    for (bool value : c.searchLocally)
      query.PutProperty("SearchLocally", value);
    const std::string error = ErrorOf([&] { query.Call("Start"); });
    if (c.starts) {
      EXPECT_EQ(error, "(no error)");
      ASSERT_TRUE(query.GetProperty("Completed").ToBool());
      EXPECT_EQ(Found(query), std::vector<std::u16string>{u"a"});
    } else {
      EXPECT_NE(error.find("SearchLocally"), std::string::npos) << error;
      EXPECT_NE(ErrorOf([&] { query.GetProperty("Completed"); }), "(no error)");
    }
  }
}

TEST_F(GroupWiseSimQuery, FindsWhatTheExpressionSelectsInCalendarOrder) {
  Appointment(u"late", At(2000, 3, 12, 23, 59, 59));
  Appointment(u"before", At(2000, 1, 4, 23, 59, 59));
  Appointment(u"first", At(2000, 1, 5));
  Appointment(u"sent", At(2000, 2, 1)).boxType = BoxType::kOutgoing;
  Appointment(u"invited", At(2000, 2, 1)).boxType = BoxType::kIncoming;
  Appointment(u"unanswered", At(2000, 2, 1)).accepted = false;
  Appointment(u"task", At(2000, 2, 1)).itemClass = ItemClass::kTask;
  Appointment(u"after", At(2000, 3, 13));
  const Object query = StartedQuery(kAppointments);
  ASSERT_TRUE(query.GetProperty("Completed").ToBool());
  EXPECT_EQ(Found(query), (std::vector<std::u16string>{u"late", u"first", u"invited"}));
  const Object found = query.GetProperty("QueryMessages").AsObject();
  for (int32_t outside : {0, 4}) {
    EXPECT_EQ(HResultOf([&] { found.Call("Item", {outside}); }), platform::hresult::kTypeMismatch);
  }
}

TEST_F(GroupWiseSimQuery, AnItemDeletedAfterTheSearchFailsWhenItIsFetched) {
  Appointment(u"a", At(2000, 2, 1));
  Appointment(u"b", At(2000, 2, 2));
  const Object query = StartedQuery(u"APPOINTMENT");
  query.GetProperty("Completed");
  Account().Call("GetMessage", {u"a"}).AsObject().Call("Delete");
  const Object found = query.GetProperty("QueryMessages").AsObject();
  EXPECT_EQ(found.GetProperty("Count"), Variant(int32_t{2}));
  EXPECT_EQ(HResultOf([&] { found.Call("Item", {1}); }), platform::hresult::kException);
  EXPECT_EQ(found.Call("Item", {2}).AsObject().GetProperty("MessageID"), Variant(u"b"));
}

// Item objects and a search's results keep the item they found instead of looking it up on
// every call. Whatever takes the item away must still show, and what leaves it must not.
TEST(GroupWiseSimQueryResults, ObjectsAndResultsFollowTheirItemThroughChangesOfTheCalendar) {
  struct Case {
    const char* name;
    std::function<void(GroupWise&, const Object& item)> change;
    const char16_t* subject;  // what the objects show afterwards; null: they raise
  };
  const Case cases[] = {
      {"its own Delete", [](GroupWise&, const Object& item) { item.Call("Delete"); }, nullptr},
      {"another object's Delete",
       [](GroupWise& g, const Object&) {
         testing_support::AccountOf(g).Call("GetMessage", {u"a"}).AsObject().Call("Delete");
       },
       nullptr},
      {"the mailbox replaced", [](GroupWise& g, const Object&) { *g.mailbox = Mailbox(); },
       nullptr},
      {"another item deleted", [](GroupWise& g, const Object&) { g.mailbox->RemoveItem(u"b"); },
       u"Lunch"},
      {"items added",
       [](GroupWise& g, const Object&) {
         for (char16_t c = u'c'; c <= u'z'; ++c)
           g.mailbox->calendar.push_back(MakeItem(std::u16string(1, c)));
       },
       u"Lunch"},
      {"put again under its id",
       [](GroupWise& g, const Object&) {
         g.mailbox->RemoveItem(u"a");
         CalendarItem again = MakeItem(u"a");
         again.subject = u"Dinner";
         g.mailbox->calendar.push_back(again);
       },
       u"Dinner"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GroupWise groupwise;
    CalendarItem lunch = MakeItem(u"a");
    lunch.subject = u"Lunch";
    groupwise.mailbox->calendar.push_back(lunch);
    groupwise.mailbox->calendar.push_back(MakeItem(u"b"));
    const Object account = testing_support::AccountOf(groupwise);
    const Object query = account.Call("CreateQuery").AsObject();
    query.PutProperty("Expression", u"APPOINTMENT");
    query.PutProperty("SearchLocally", true);
    query.Call("Start");
    ASSERT_TRUE(query.GetProperty("Completed").ToBool());
    const Object found = query.GetProperty("QueryMessages").AsObject();
    const Object item = account.Call("GetMessage", {u"a"}).AsObject();
    const Object subject = item.GetProperty("Subject").AsObject();
    ASSERT_EQ(subject.GetProperty("PlainText"), Variant(u"Lunch"));

    c.change(groupwise, item);
    const std::vector<std::pair<const char*, std::function<Variant()>>> readers = {
        {"the item",
         [&] { return item.GetProperty("Subject").AsObject().GetProperty("PlainText"); }},
        {"its subject", [&] { return subject.GetProperty("PlainText"); }},
        {"the results",
         [&] {
           return found.Call("Item", {1})
               .AsObject()
               .GetProperty("Subject")
               .AsObject()
               .GetProperty("PlainText");
         }},
    };
    for (const auto& reader : readers) {
      SCOPED_TRACE(reader.first);
      const std::function<Variant()>& read = reader.second;
      if (c.subject) {
        EXPECT_EQ(read(), Variant(std::u16string(c.subject)));
      } else {
        EXPECT_EQ(HResultOf([&] { read(); }), platform::hresult::kException);
      }
    }
  }
}

TEST_F(GroupWiseSimQuery, AStoppedQueryIsCompleteAndFoundNothing) {
  groupwise.mailbox->queryPolls = 5;
  Appointment(u"a", At(2000, 2, 1));
  const Object query = StartedQuery(u"APPOINTMENT");
  query.Call("Stop");
  EXPECT_TRUE(query.GetProperty("Completed").ToBool());
  EXPECT_TRUE(Found(query).empty());
}

}  // namespace
}  // namespace sim
