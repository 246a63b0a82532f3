// The session, the commander and the calendar as a plug-in meets them: what Login answers
// for each way of calling it, what the commander's tokens do, and how items are made, found
// and lost.

#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

using testing_support::ErrorOf;
using testing_support::GroupWiseTest;
using testing_support::HResultOf;
using testing_support::MakeItem;
using testing_support::Object;
using testing_support::Variant;
namespace hresult = platform::hresult;
using GroupWiseSimItemObjects = GroupWiseTest;

TEST(GroupWiseSimSession, LoginAnswersAsConfiguredForBothForms) {
  enum class Want { kAccount, kNull, kEmpty, kRaise, kBadCount };
  struct Case {
    const char* name;
    LoginOutcome outcome;
    std::u16string userId;
    std::vector<Variant> args;
    Want want;
  };
  const std::vector<Variant> defaultForm = {u"", u"", u"", int16_t{1}};
  const Case cases[] = {
      {"default form", LoginOutcome::kAccount, u"jdoe", defaultForm, Want::kAccount},
      {"user and parameters",
       LoginOutcome::kAccount,
       u"jdoe",
       {u"JDoe", u"/ph-po1"},
       Want::kAccount},
      {"another user", LoginOutcome::kAccount, u"jdoe", {u"mlopez", u""}, Want::kNull},
      {"another user, full form",
       LoginOutcome::kAccount,
       u"jdoe",
       {u"mlopez", u"", u"secret", int16_t{1}},
       Want::kNull},
      {"no account as Null", LoginOutcome::kNoAccountNull, u"", defaultForm, Want::kNull},
      {"no account as empty", LoginOutcome::kNoAccountEmpty, u"", defaultForm, Want::kEmpty},
      {"raising", LoginOutcome::kRaise, u"", {u"jdoe", u""}, Want::kRaise},
      {"three arguments", LoginOutcome::kAccount, u"", {u"", u"", u""}, Want::kBadCount},
      {"one argument", LoginOutcome::kAccount, u"", {u""}, Want::kBadCount},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GroupWise groupwise;
    groupwise.mailbox->login = c.outcome;
    groupwise.mailbox->userId = c.userId;
    groupwise.mailbox->loginError = u"Invalid password";
    const Object session = groupwise.CreateSession();
    Variant answer;
    const std::string error = ErrorOf([&] { answer = session.Call("Login", c.args); });
    switch (c.want) {
      case Want::kAccount:
        ASSERT_EQ(answer.GetKind(), Variant::Kind::kObject);
        EXPECT_EQ(answer.AsObject().GetProperty("Owner").AsObject().GetProperty("DisplayName"),
                  Variant(u"Test User"));
        break;
      case Want::kNull:
        EXPECT_TRUE(answer.IsNull()) << platform::KindName(answer.GetKind()) << " " << error;
        break;
      case Want::kEmpty:
        EXPECT_TRUE(answer.IsEmpty()) << platform::KindName(answer.GetKind());
        break;
      case Want::kRaise:
        EXPECT_EQ(error, "Invalid password");
        break;
      case Want::kBadCount:
        EXPECT_EQ(HResultOf([&] { session.Call("Login", c.args); }), hresult::kBadParamCount);
        break;
    }
  }
}

TEST(GroupWiseSimSession, LogsEveryCallWithItsArgumentsInOrder) {
  GroupWise groupwise;
  groupwise.mailbox->login = LoginOutcome::kNoAccountNull;
  const Object session = groupwise.CreateSession();
  session.Call("Login", {u"", u"", u"", int16_t{1}});
  session.GetProperty("MajorVersion");
  EXPECT_EQ(groupwise.context->log.calls,
            (std::vector<std::string>{"Session.Login", "Session.MajorVersion"}));
  EXPECT_EQ(
      groupwise.context->log.withArguments,
      (std::vector<std::string>{"Session.Login(\"\", \"\", \"\", 1)", "Session.MajorVersion"}));
}

// A private item, a public one and one whose reading token fails.
GroupWise CommanderMailbox() {
  GroupWise groupwise;
  CalendarItem secret = MakeItem(u"S.1");
  secret.isPrivate = true;
  groupwise.mailbox->calendar.push_back(secret);
  groupwise.mailbox->calendar.push_back(MakeItem(u"P.1"));
  CalendarItem stubborn = MakeItem(u"F.1");
  stubborn.failingTokens = {"ItemGetAttribute"};
  groupwise.mailbox->calendar.push_back(stubborn);
  return groupwise;
}

TEST(GroupWiseSimCommander, TokensReadAndSetPrivacyAndFailWithZero) {
  struct Case {
    std::u16string token;
    int32_t returned;
    std::u16string result;  // the slot held "untouched" before the call
    std::u16string changedId;
    bool privateAfter;
  };
  const Case cases[] = {
      // The two forms the plug-ins send, and blanks around the arguments.
      {u"ItemGetAttribute(\"S.1\";Private!)", 1, u"TRUE", u"S.1", true},
      {u"ItemGetAttribute(\"P.1\";Private!)", 1, u"FALSE", u"P.1", false},
      {u"ItemGetAttribute( \"S.1\" ;  Private! )", 1, u"TRUE", u"S.1", true},
      {u"ItemSetAttribute(\"P.1\"; Private!; Yes!)", 1, u"", u"P.1", true},
      {u"ItemSetAttribute(\"S.1\";Private!;No!)", 1, u"", u"S.1", false},
      {u"ItemSetAttribute(\"F.1\"; Private!; Yes!)", 1, u"", u"F.1", true},
      // Failing for the item, or no such item.
      {u"ItemGetAttribute(\"F.1\";Private!)", 0, u"untouched", u"F.1", false},
      {u"ItemGetAttribute(\"X.9\";Private!)", 0, u"untouched", u"S.1", true},
      {u"ItemSetAttribute(\"\"; Private!; No!)", 0, u"untouched", u"S.1", true},
      // Unknown verbs and constants, spelt otherwise than GroupWise spells them.
      {u"ItemGetAtribute(\"S.1\";Private!)", 0, u"untouched", u"S.1", true},
      {u"itemgetattribute(\"S.1\";Private!)", 0, u"untouched", u"S.1", true},
      {u"ItemSetAttribute(\"S.1\"; private!; no!)", 0, u"untouched", u"S.1", true},
      {u"ItemGetAttribute(\"S.1\";Hidden!)", 0, u"untouched", u"S.1", true},
      {u"ItemSetAttribute(\"S.1\"; Private!; Maybe!)", 0, u"untouched", u"S.1", true},
      // Wrong arguments: unquoted id, quoted constant, constants without "!", too few or many.
      {u"ItemGetAttribute(S.1;Private!)", 0, u"untouched", u"S.1", true},
      {u"ItemGetAttribute(\"S.1\";\"Private!\")", 0, u"untouched", u"S.1", true},
      {u"ItemSetAttribute(\"S.1\"; Private; No)", 0, u"untouched", u"S.1", true},
      {u"ItemSetAttribute(\"P.1\"; Private!)", 0, u"untouched", u"P.1", false},
      {u"ItemGetAttribute(\"S.1\";Private!;)", 0, u"untouched", u"S.1", true},
      {u"ItemGetAttribute(\"S.1\";;Private!)", 0, u"untouched", u"S.1", true},
      {u"ItemSetAttribute(\"S.1\"; Private!; No!; Yes!)", 0, u"untouched", u"S.1", true},
      // Malformed quoting and text around the token.
      {u"ItemGetAttribute(\"S.1;Private!)", 0, u"untouched", u"S.1", true},
      {u"ItemGetAttribute(\"S\"1\";Private!)", 0, u"untouched", u"S.1", true},
      {u"ItemGetAttribute(\"S.1\";Private!) x", 0, u"untouched", u"S.1", true},
      {u"ItemGetAttribute(\"S.1\";Private!) ", 0, u"untouched", u"S.1", true},
      {u" ItemGetAttribute(\"S.1\";Private!)", 0, u"untouched", u"S.1", true},
      {u"ItemGetAttribute (\"S.1\";Private!)", 0, u"untouched", u"S.1", true},
      {u"ItemGetAttribute(\"S.1\";Private!", 0, u"untouched", u"S.1", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing_support::Utf8(c.token));
    const GroupWise groupwise = CommanderMailbox();
    Variant slot(u"untouched");
    const Variant returned =
        groupwise.CreateCommander().Call("Execute", {c.token, Variant::Reference(slot)});
    EXPECT_EQ(returned, Variant(c.returned));
    EXPECT_EQ(slot, Variant(c.result));
    EXPECT_EQ(groupwise.mailbox->FindItem(c.changedId)->isPrivate, c.privateAfter);
  }
}

TEST(GroupWiseSimCommander, TheResultMustComeByReference) {
  const Object commander = CommanderMailbox().CreateCommander();
  EXPECT_EQ(HResultOf([&] {
              commander.Call("Execute", {u"ItemGetAttribute(\"S.1\";Private!)", u""});
            }),
            hresult::kTypeMismatch);
}

TEST_F(GroupWiseSimItemObjects, APrivateReadThatRaisesLeavesOnlyTheCommanderToTell) {
  CalendarItem hidden = MakeItem(u"H.1");
  hidden.isPrivate = true;
  hidden.privateReadRaises = true;
  Put(hidden);
  const Object item = Account().Call("GetMessage", {u"H.1"}).AsObject();
  EXPECT_EQ(HResultOf([&] { item.GetProperty("Private"); }), hresult::kException);
  Variant slot(u"");
  groupwise.CreateCommander().Call(
      "Execute", {u"ItemGetAttribute(\"H.1\";Private!)", Variant::Reference(slot)});
  EXPECT_EQ(slot, Variant(u"TRUE"));
}

TEST_F(GroupWiseSimItemObjects, GetMessageFindsByIdAndAnswersEmptyForAnUnknownOrDeletedId) {
  Put(MakeItem(u"A.1"));
  const Object account = Account();
  EXPECT_TRUE(account.Call("GetMessage", {u"A.2"}).IsEmpty());
  const Object item = account.Call("GetMessage", {u"A.1"}).AsObject();
  EXPECT_EQ(item.GetProperty("MessageID"), Variant(u"A.1"));
  item.Call("Delete");
  EXPECT_TRUE(account.Call("GetMessage", {u"A.1"}).IsEmpty());
  // The object outlives its item and fails like GroupWise's would.
  EXPECT_EQ(HResultOf([&] { item.GetProperty("Subject"); }), hresult::kException);
}

TEST_F(GroupWiseSimItemObjects, AddGivesNewStableIncreasingIdsThatSkipTakenOnes) {
  groupwise.mailbox->nextMessageNumber = 7;
  Put(MakeItem(u"SIM.DOM.PO.100.8.1"));
  const Object messages = CalendarMessages();
  std::vector<std::u16string> ids;
  for (const char16_t* className :
       {u"GW.MESSAGE.APPOINTMENT", u"GW.MESSAGE.TASK", u"GW.MESSAGE.NOTE"}) {
    const Object item = messages.Call("Add", {className, int16_t{3}}).AsObject();
    ids.push_back(item.GetProperty("MessageID").AsText());
    EXPECT_EQ(item.GetProperty("ClassName"), Variant(className));
    // The same item, found again by the id it was given.
    EXPECT_EQ(messages.Call("Item", {ids.back()}).AsObject().GetProperty("ClassName"),
              Variant(className));
  }
  EXPECT_EQ(ids, (std::vector<std::u16string>{u"SIM.DOM.PO.100.7.1", u"SIM.DOM.PO.100.9.1",
                                              u"SIM.DOM.PO.100.10.1"}));
  EXPECT_EQ(messages.GetProperty("Count"), Variant(int32_t{4}));
  const CalendarItem* added = groupwise.mailbox->FindItem(ids[0]);
  EXPECT_EQ(added->boxType, BoxType::kPersonal);
  EXPECT_TRUE(added->accepted && added->personal);
}

TEST_F(GroupWiseSimItemObjects, AddRefusesWhatTheCalendarDoesNotHold) {
  const Object messages = CalendarMessages();
  EXPECT_EQ(HResultOf([&] {
              messages.Call("Add", {u"GW.MESSAGE.MAIL", int16_t{3}});
            }),
            hresult::kException);
  EXPECT_EQ(HResultOf([&] {
              messages.Call("Add", {u"GW.MESSAGE.APPOINTMENT", int16_t{1}});
            }),
            hresult::kTypeMismatch);
  EXPECT_EQ(HResultOf([&] { messages.Call("Add", {u"GW.MESSAGE.APPOINTMENT"}); }),
            hresult::kBadParamCount);
  EXPECT_TRUE(groupwise.mailbox->calendar.empty());
}

TEST(GroupWiseSimItems, EachClassHasOnlyItsOwnMembers) {
  struct Case {
    ItemClass itemClass;
    const char* member;
    bool present;
  };
  const Case cases[] = {
      {ItemClass::kAppointment, "Place", true},      {ItemClass::kAppointment, "EndDate", true},
      {ItemClass::kAppointment, "DueDate", false},   {ItemClass::kNote, "Place", false},
      {ItemClass::kNote, "EndDate", false},          {ItemClass::kNote, "StartDate", true},
      {ItemClass::kTask, "DueDate", true},           {ItemClass::kTask, "AssignedDate", true},
      {ItemClass::kTask, "TaskPriority", true},      {ItemClass::kTask, "Place", false},
      {ItemClass::kAppointment, "Completed", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.member) + " of " + testing_support::Utf8(ClassNameOf(c.itemClass)));
    GroupWise fresh;
    fresh.mailbox->calendar.push_back(MakeItem(u"I.1", c.itemClass));
    const Object item = fresh.CreateSession()
                            .Call("Login", {u"", u""})
                            .AsObject()
                            .Call("GetMessage", {u"I.1"})
                            .AsObject();
    EXPECT_EQ(HResultOf([&] { item.GetProperty(c.member); }),
              c.present ? hresult::kOk : hresult::kUnknownName);
  }
}

TEST_F(GroupWiseSimItemObjects, ItemsAreChangedOnlyThroughWritableMembers) {
  Put(MakeItem(u"A.1"));
  const Object item = Account().Call("GetMessage", {u"A.1"}).AsObject();
  // Subject and BodyText read as objects and take a text, directly or through PlainText.
  EXPECT_EQ(HResultOf([&] { item.PutProperty("Subject", Variant::Null()); }),
            hresult::kTypeMismatch);
  EXPECT_EQ(HResultOf([&] { item.PutProperty("Personal", false); }), hresult::kMemberNotFound);
  // Privacy changes only through the commander's token.
  EXPECT_EQ(HResultOf([&] { item.PutProperty("Private", true); }), hresult::kMemberNotFound);
  EXPECT_EQ(HResultOf([&] { item.PutProperty("StartDate", u"2000-01-05"); }),
            hresult::kTypeMismatch);
  EXPECT_EQ(HResultOf([&] { item.PutProperty("StartDate", 1e9); }), hresult::kTypeMismatch);
  item.GetProperty("Subject").AsObject().PutProperty("PlainText", u"Lunch \U0001F37D");
  item.PutProperty("BodyText", u"Soup\r\nBread");
  item.PutProperty("StartDate", testing_support::At(2000, 1, 5, 12, 30));
  const CalendarItem& stored = *groupwise.mailbox->FindItem(u"A.1");
  EXPECT_EQ(stored.subject, u"Lunch \U0001F37D");
  EXPECT_EQ(item.GetProperty("BodyText").AsObject().GetProperty("PlainText"),
            Variant(u"Soup\r\nBread"));
  EXPECT_EQ(stored.startDate, testing_support::At(2000, 1, 5, 12, 30));
  EXPECT_FALSE(stored.isPrivate);
}

// Faults are planned and counted apart from the log, so they strike on the chosen call also
// where nothing is logged (gwsync).
TEST(GroupWiseSimFaults, AFaultRaisesOnTheChosenCallOnlyWhetherOrNotCallsAreLogged) {
  for (const bool logged : {true, false}) {
    SCOPED_TRACE(logged ? "logged" : "not logged");
    GroupWise groupwise;
    groupwise.mailbox->calendar.push_back(MakeItem(u"A.1"));
    groupwise.context->log.enabled = logged;
    groupwise.context->faults.RaiseOnCall("Appointment.Place", 2, "Disk full");
    const Object item =
        testing_support::AccountOf(groupwise).Call("GetMessage", {u"A.1"}).AsObject();
    EXPECT_EQ(ErrorOf([&] { item.GetProperty("Place"); }), "(no error)");
    EXPECT_EQ(ErrorOf([&] { item.GetProperty("Place"); }), "Disk full");
    EXPECT_EQ(ErrorOf([&] { item.GetProperty("Place"); }), "(no error)");
    groupwise.context->faults.RaiseAlways("Messages.Count", "Offline");
    const Object messages = testing_support::CalendarMessagesOf(groupwise);
    for (int i = 0; i < 2; ++i)
      EXPECT_EQ(ErrorOf([&] { messages.GetProperty("Count"); }), "Offline");
    EXPECT_EQ(groupwise.context->log.Count("Appointment.Place"), logged ? 3 : 0);
    EXPECT_EQ(groupwise.context->log.withArguments.empty(), !logged);
  }
}

}  // namespace
}  // namespace sim
