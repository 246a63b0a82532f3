// The engine base as the host drives it: codes checked, requests dispatched to the right hook,
// record streams built and written back, progress and trace kept.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include "framework/base_isync.h"
#include "framework/data_types.h"
#include "framework/module_globals.h"
#include "framework/text_util.h"
#include "tests/support/bytes.h"
#include "tests/support/plugin_harness.h"

namespace framework {
namespace {

using platform::MemoryStream;
using platform::Object;
using testing_support::Crlf;
using testing_support::FaultyStream;

// Overrides every hook, records which one the engine called and answers as the test says.
class HookRecorder : public TBaseIsync {
 public:
  using TBaseIsync::TBaseIsync;
  std::function<bool(TEntryList&)> onRead = [](TEntryList&) { return true; };
  std::function<bool(TEntry&)> onWrite = [](TEntry&) { return true; };
  std::vector<std::string> hooksCalled;
  int closeCalls = 0;
  bool closeRaises = false;

  using TBaseIsync::ReportError;
  using TBaseIsync::SetTracing;
  using TBaseIsync::Trace;

  int32_t Close(const Object& progress) override {
    ++closeCalls;
    if (closeRaises) throw platform::Exception("Close failed");
    return TBaseIsync::Close(progress);
  }

#define GWS_READ_HOOK(name)              \
  bool name(TEntryList& list) override { \
    hooksCalled.push_back(#name);        \
    return onRead(list);                 \
  }
#define GWS_WRITE_HOOK(name)          \
  bool name(TEntry& entry) override { \
    hooksCalled.push_back(#name);     \
    return onWrite(entry);            \
  }
  GWS_READ_HOOK(GetPIMAppointments)
  GWS_READ_HOOK(GetPIMAnniversaries)
  GWS_READ_HOOK(GetPIMTasks)
  GWS_READ_HOOK(GetPIMEvents)
  GWS_READ_HOOK(GetPIMContacts)
  GWS_READ_HOOK(GetPIMEmails)
  GWS_WRITE_HOOK(DeletePIMAppointment)
  GWS_WRITE_HOOK(DeletePIMAnniversary)
  GWS_WRITE_HOOK(DeletePIMTask)
  GWS_WRITE_HOOK(DeletePIMEvent)
  GWS_WRITE_HOOK(DeletePIMContact)
  GWS_WRITE_HOOK(DeletePIMEmail)
  GWS_WRITE_HOOK(ModifyPIMAppointment)
  GWS_WRITE_HOOK(ModifyPIMAnniversary)
  GWS_WRITE_HOOK(ModifyPIMTask)
  GWS_WRITE_HOOK(ModifyPIMEvent)
  GWS_WRITE_HOOK(ModifyPIMContact)
  GWS_WRITE_HOOK(ModifyPIMEmail)
  GWS_WRITE_HOOK(AddPIMAppointment)
  GWS_WRITE_HOOK(AddPIMAnniversary)
  GWS_WRITE_HOOK(AddPIMTask)
  GWS_WRITE_HOOK(AddPIMEvent)
  GWS_WRITE_HOOK(AddPIMContact)
  GWS_WRITE_HOOK(AddPIMEmail)
#undef GWS_READ_HOOK
#undef GWS_WRITE_HOOK
};

const std::string kEvent = Crlf(
    "BEGIN:VCALENDAR|VERSION:1.0|BEGIN:VEVENT|SUMMARY:Lunch|"
    "DESCRIPTION:Pizza|END:VEVENT|END:VCALENDAR|");

std::unique_ptr<TEntry> Event(const std::string& uid) {
  auto entry = std::make_unique<TEntry>();
  entry->Properties.Add("BEGIN", "", "VEVENT");
  entry->Properties.Add("UID", "", uid);
  entry->Properties.Add("END", "", "VEVENT");
  return entry;
}

class BaseIsyncTest : public testing::Test {
 protected:
  void SetUp() override {
    // The module's resource libraries as the build installs them, so progress texts are real.
    host.platform.env.modulePath = std::string(GWS_RUNTIME_DIR) + "/pimsync.dll";
    resources.emplace(host.platform.env, host.platform.resources, host.platform.ui);
    PIMName = "GroupWise";
    ASSERT_EQ(plugin.Init(host.progressObject, &setupA, &setupC), 0);
  }

  std::vector<std::string> Trace() const {
    return plugin.TraceLines() ? *plugin.TraceLines() : std::vector<std::string>{};
  }

  testing_support::HostHarness host;
  std::optional<ModuleResourcesScope> resources;
  MemoryStream setupA, setupC;
  HookRecorder plugin{host.platform};
};

TEST(BaseIsyncInit, RefusesANullProgressObject) {
  testing_support::HostHarness host;
  TBaseIsync plugin(host.platform);
  MemoryStream a, c;
  EXPECT_EQ(plugin.Init(Object(), &a, &c), 1);
  EXPECT_EQ(plugin.TraceLines(), nullptr);
  EXPECT_EQ(plugin.Init(host.progressObject, &a, &c), 0);
  EXPECT_NE(plugin.TraceLines(), nullptr);
  EXPECT_FALSE(plugin.TraceEnabled());
}

TEST(BaseIsyncLifecycle, OpenCloseAndCheckSourceSucceedWithoutTouchingTheHost) {
  testing_support::HostHarness host;
  TBaseIsync plugin(host.platform);
  EXPECT_EQ(plugin.Open(host.progressObject), 0);
  EXPECT_EQ(plugin.CheckSource(host.progressObject), 0);
  EXPECT_EQ(plugin.Close(host.progressObject), 0);
  EXPECT_TRUE(host.progress->Calls().empty());
}

// Each (operation, type) pair reaches exactly its own hook: a slip in the dispatch table
// would store an appointment as a task.
TEST_F(BaseIsyncTest, EveryRequestReachesItsOwnHook) {
  struct Case {
    int16_t op;
    int16_t type;
    const char* hook;
    const char* progress;
  };
  const Case cases[] = {
      {0, 0, "GetPIMAppointments", "Reading appointments from GroupWise"},
      {0, 1, "GetPIMEvents", "Reading events from GroupWise"},
      {0, 2, "GetPIMAnniversaries", "Reading anniversaries from GroupWise"},
      {0, 3, "GetPIMTasks", "Reading tasks from GroupWise"},
      {0, 4, "GetPIMContacts", "Reading contacts from GroupWise"},
      {0, 6, "GetPIMEmails", "Reading mail from GroupWise"},
      {1, 0, "AddPIMAppointment", "Adding an appointment to GroupWise"},
      {1, 1, "AddPIMEvent", "Adding an event to GroupWise"},
      {1, 2, "AddPIMAnniversary", "Adding an anniversary to GroupWise"},
      {1, 3, "AddPIMTask", "Adding a task to GroupWise"},
      {1, 4, "AddPIMContact", "Adding a contact to GroupWise"},
      {1, 6, "AddPIMEmail", "Sending a mail message from GroupWise"},
      {2, 0, "ModifyPIMAppointment", "Changing an appointment in GroupWise"},
      {2, 1, "ModifyPIMEvent", "Changing an event in GroupWise"},
      {2, 2, "ModifyPIMAnniversary", "Changing an anniversary in GroupWise"},
      {2, 3, "ModifyPIMTask", "Changing a task in GroupWise"},
      {2, 4, "ModifyPIMContact", "Changing a contact in GroupWise"},
      {2, 6, "ModifyPIMEmail", "Changing a mail message in GroupWise"},
      {3, 0, "DeletePIMAppointment", "Deleting an appointment from GroupWise"},
      {3, 1, "DeletePIMEvent", "Deleting an event from GroupWise"},
      {3, 2, "DeletePIMAnniversary", "Deleting an anniversary from GroupWise"},
      {3, 3, "DeletePIMTask", "Deleting a task from GroupWise"},
      {3, 4, "DeletePIMContact", "Deleting a contact from GroupWise"},
      {3, 6, "DeletePIMEmail", "Deleting a mail message from GroupWise"},
  };
  for (const Case& c : cases) {
    plugin.hooksCalled.clear();
    MemoryStream stream(kEvent);
    const int32_t value = c.op == 0 ? plugin.ReadSource(Object(), &stream, c.type, c.op, u"")
                                    : plugin.WriteSource(Object(), &stream, c.type, c.op, u"");
    EXPECT_EQ(value, 0) << c.hook;
    EXPECT_EQ(plugin.hooksCalled, std::vector<std::string>{c.hook});
  }
}

TEST_F(BaseIsyncTest, CodesOutsideTheHostsSetAreRefusedWithoutAnyCall) {
  struct Case {
    const char* name;
    bool read;
    int16_t type;
    int16_t op;
  };
  const Case cases[] = {
      {"read_with_insert", true, 0, 1}, {"read_type_5", true, 5, 0},
      {"read_type_7", true, 7, 0},      {"read_negative_type", true, -1, 0},
      {"write_type_5", false, 5, 1},    {"write_type_7", false, 7, 2},
      {"write_op_read", false, 0, 0},   {"write_op_4", false, 0, 4},
  };
  for (const Case& c : cases) {
    MemoryStream stream(kEvent);
    const int32_t value = c.read ? plugin.ReadSource(Object(), &stream, c.type, c.op, u"")
                                 : plugin.WriteSource(Object(), &stream, c.type, c.op, u"");
    EXPECT_EQ(value, 1) << c.name;
    EXPECT_TRUE(plugin.hooksCalled.empty()) << c.name;
    EXPECT_EQ(stream.Bytes(), kEvent) << c.name;
  }
  EXPECT_TRUE(host.progress->Calls().empty());
}

TEST(BaseIsyncRefusal, HooksLeftAloneRefuseEveryRequest) {
  testing_support::HostHarness host;
  TBaseIsync plugin(host.platform);
  MemoryStream a, c;
  ASSERT_EQ(plugin.Init(host.progressObject, &a, &c), 0);
  for (int16_t type : {0, 1, 2, 3, 4, 6}) {
    MemoryStream stream(kEvent);
    EXPECT_EQ(plugin.ReadSource(Object(), &stream, type, 0, u""), 1) << type;
    for (int16_t op : {1, 2, 3}) {
      EXPECT_EQ(plugin.WriteSource(Object(), &stream, type, op, u""), 1) << type << "/" << op;
    }
    EXPECT_EQ(stream.Bytes(), kEvent);
  }
}

TEST_F(BaseIsyncTest, ReadSendsTheRecordStreamInPlaceOfTheOldContent) {
  plugin.onRead = [](TEntryList& list) {
    list.Add(Event("1"));
    list.Add(Event("2"));
    return true;
  };
  // A longer leftover must not survive behind the new stream's trailer.
  MemoryStream stream(std::string(500, 'x'));
  stream.Seek(100, platform::ByteStream::Origin::kBegin);
  ASSERT_EQ(plugin.ReadSource(Object(), &stream, data_type::kApt, 0, u""), 0);
  EXPECT_EQ(testing_support::FirstDifference(
                stream.Bytes(), Crlf("BEGIN:VCALENDAR|VERSION:1.0|BEGIN:VEVENT|UID:1|END:VEVENT|"
                                     "BEGIN:VEVENT|UID:2|END:VEVENT|END:VCALENDAR")),
            "");
  EXPECT_EQ(stream.Position(), 0u);
  EXPECT_EQ(host.progress->AllCalls(),
            std::vector<std::string>{"SetSynchText(\"Reading appointments from GroupWise\")"});
}

TEST_F(BaseIsyncTest, AReadThatFindsNothingSendsOnlyTheFrame) {
  plugin.onRead = [](TEntryList&) { return true; };
  MemoryStream stream;
  ASSERT_EQ(plugin.ReadSource(Object(), &stream, data_type::kCon, 0, u""), 0);
  EXPECT_EQ(stream.Bytes(), "BEGIN:VCARD\r\nVERSION:2.1\r\nEND:VCARD");
}

TEST_F(BaseIsyncTest, AFailedReadGivesTheHostNoRecords) {
  const std::function<bool(TEntryList&)> failures[] = {
      [](TEntryList&) { return false; },
      [](TEntryList& list) -> bool {
        list.Add(Event("1"));
        throw platform::AutomationError("Messages", platform::hresult::kFail, "query failed");
      },
  };
  for (const auto& failure : failures) {
    plugin.onRead = failure;
    MemoryStream stream("previous");
    EXPECT_EQ(plugin.ReadSource(Object(), &stream, data_type::kApt, 0, u""), 1);
    EXPECT_EQ(stream.Bytes(), "previous");
    EXPECT_EQ(stream.Position(), 0u);
  }
  // A large read hands records over while it runs; when it then fails, the host must not find
  // a part of the records that would read as the whole.
  plugin.onRead = [](TEntryList& list) {
    for (int i = 0; i < 2000; ++i) {
      auto event = Event(std::to_string(i));
      event->Properties.Add("DESCRIPTION", "", std::string(1000, 'd'));
      list.Add(std::move(event));
    }
    return false;
  };
  MemoryStream stream("previous");
  EXPECT_EQ(plugin.ReadSource(Object(), &stream, data_type::kApt, 0, u""), 1);
  EXPECT_EQ(stream.Bytes(), "");
}

TEST_F(BaseIsyncTest, ReadAndWriteFailWhenTheHostStreamIsMissingOrBroken) {
  EXPECT_EQ(plugin.ReadSource(Object(), nullptr, data_type::kApt, 0, u""), 1);
  EXPECT_EQ(plugin.WriteSource(Object(), nullptr, data_type::kApt, 1, u""), 1);
  EXPECT_TRUE(plugin.hooksCalled.empty());

  FaultyStream unwritable;
  unwritable.failWrite = true;
  EXPECT_EQ(plugin.ReadSource(Object(), &unwritable, data_type::kApt, 0, u""), 1);
  FaultyStream unreadable(kEvent);
  unreadable.failRead = true;
  EXPECT_EQ(plugin.WriteSource(Object(), &unreadable, data_type::kApt, 2, u""), 1);
}

// Every seek of the host stream belongs to the request, the last rewind included: the host reads
// its stream from where it stands, so a stream left elsewhere is a failed request.
TEST_F(BaseIsyncTest, AnySeekThatFailsFailsTheRequest) {
  struct Case {
    const char* name;
    int16_t op;
  };
  for (const Case& c : {Case{"read", operation::kRead}, Case{"insert", operation::kInsert}}) {
    FaultyStream counting(kEvent);
    const auto request = [&](FaultyStream& stream) {
      return c.op == operation::kRead
                 ? plugin.ReadSource(Object(), &stream, data_type::kApt, c.op, u"")
                 : plugin.WriteSource(Object(), &stream, data_type::kApt, c.op, u"");
    };
    ASSERT_EQ(request(counting), 0) << c.name;
    ASSERT_GE(counting.seeks, 3) << c.name;
    for (int failing = 1; failing <= counting.seeks; ++failing) {
      FaultyStream stream(kEvent);
      stream.failSeekFrom = failing;
      EXPECT_EQ(request(stream), 1) << c.name << ": seek " << failing << " failed";
    }
  }
}

TEST_F(BaseIsyncTest, AFailingProgressObjectFailsTheRequest) {
  host.progress->Context().faults.RaiseAlways("Progress.SetSynchText");
  MemoryStream stream(kEvent);
  EXPECT_EQ(plugin.ReadSource(Object(), &stream, data_type::kApt, 0, u""), 1);
  EXPECT_EQ(plugin.WriteSource(Object(), &stream, data_type::kApt, 2, u""), 1);
  EXPECT_TRUE(plugin.hooksCalled.empty());
}

TEST_F(BaseIsyncTest, UnreadableRecordsFailTheWrite) {
  struct Case {
    const char* name;
    std::string record;
    bool messageShown;
  };
  const Case cases[] = {
      {"no_colon", "no properties here\r\n", false},
      {"empty", "", true},
      {"binary_length_past_the_end", "ATTACH;VALUE=BINARY:f;*00100000*tiny\r\nEND:X", true},
  };
  for (const Case& c : cases) {
    host.platform.ui.messageBoxes.clear();
    MemoryStream stream(c.record);
    EXPECT_EQ(plugin.WriteSource(Object(), &stream, data_type::kApt, 1, u""), 1) << c.name;
    EXPECT_TRUE(plugin.hooksCalled.empty()) << c.name;
    EXPECT_EQ(stream.Bytes(), c.record) << c.name;
    EXPECT_EQ(host.platform.ui.messageBoxes.size(), c.messageShown ? 1u : 0u) << c.name;
  }
  EXPECT_EQ(host.platform.ui.messageBoxes.size(), 1u);
}

TEST_F(BaseIsyncTest, AnInsertWritesBackWhatTheHookLeftAndClearsTheProgressLines) {
  plugin.SetTracing(true);
  plugin.onWrite = [](TEntry& entry) {
    entry.Properties.Insert(4, "UID", "", "NEW.1");
    return true;
  };
  MemoryStream stream(kEvent);
  ASSERT_EQ(plugin.WriteSource(Object(), &stream, data_type::kApt, 1, u""), 0);
  const std::string written = Crlf(
      "BEGIN:VCALENDAR|VERSION:1.0|BEGIN:VEVENT|SUMMARY:Lunch|UID:NEW.1|DESCRIPTION:Pizza|"
      "END:VEVENT|END:VCALENDAR|");
  EXPECT_EQ(testing_support::FirstDifference(stream.Bytes(), written), "");
  EXPECT_EQ(stream.Position(), 0u);
  EXPECT_EQ(host.progress->AllCalls(),
            (std::vector<std::string>{"SetSynchText(\"Adding an appointment to GroupWise\")",
                                      "SetAppText(\"Pizza\")", "SetSynchText(\"\")",
                                      "SetAppText(\"\")"}));
  EXPECT_EQ(Trace(), (std::vector<std::string>{"WriteSource: Insert APT [\r\n" + kEvent + "\r\n]",
                                               "Insert APT OK [\r\n" + written + "\r\n]"}));
}

// The host may look at its stream as soon as the progress lines clear; by then the record it is
// to learn from must be there and traced.
TEST_F(BaseIsyncTest, AnInsertClearsItsProgressLinesOnlyAfterWritingBack) {
  plugin.SetTracing(true);
  plugin.onWrite = [](TEntry& entry) {
    entry.Properties.Insert(4, "UID", "", "NEW.1");
    return true;
  };
  MemoryStream stream(kEvent);
  std::vector<std::string> seenWhenCleared;
  host.progress->sink = [&](const sim::RecordingProgress::Call& call) {
    if (call.member == "SetSynchText" && call.args.at(0).empty())
      seenWhenCleared = {stream.Bytes(), Trace().empty() ? "" : Trace().back()};
  };
  ASSERT_EQ(plugin.WriteSource(Object(), &stream, data_type::kApt, 1, u""), 0);
  ASSERT_EQ(seenWhenCleared.size(), 2u);
  EXPECT_NE(seenWhenCleared[0].find("UID:NEW.1"), std::string::npos) << seenWhenCleared[0];
  EXPECT_EQ(seenWhenCleared[1].rfind("Insert APT OK [", 0), 0u) << seenWhenCleared[1];
}

TEST_F(BaseIsyncTest, AnInsertWithoutDescriptionShowsNoSecondProgressLineBeforeTheHook) {
  MemoryStream stream(Crlf("BEGIN:VEVENT|SUMMARY:Lunch|END:VEVENT|"));
  std::size_t callsBeforeHook = 0;
  plugin.onWrite = [&](TEntry&) {
    callsBeforeHook = host.progress->Calls().size();
    return true;
  };
  ASSERT_EQ(plugin.WriteSource(Object(), &stream, data_type::kApt, 1, u""), 0);
  EXPECT_EQ(callsBeforeHook, 1u);
  EXPECT_EQ(host.progress->CallsOf("SetAppText"), std::vector<std::string>{"SetAppText(\"\")"});
}

TEST_F(BaseIsyncTest, AnInsertClearsTheProgressLinesEvenWhenTheHookRaises) {
  plugin.onWrite = [](TEntry&) -> bool { throw platform::Exception("GroupWise said no"); };
  MemoryStream stream(kEvent);
  EXPECT_EQ(plugin.WriteSource(Object(), &stream, data_type::kTodo, 1, u""), 1);
  EXPECT_EQ(stream.Bytes(), kEvent);
  EXPECT_EQ(host.progress->CallsOf("SetAppText"),
            (std::vector<std::string>{"SetAppText(\"Pizza\")", "SetAppText(\"\")"}));
}

TEST_F(BaseIsyncTest, ModifyAndDeleteTouchOnlyTheMainProgressLine) {
  plugin.SetTracing(true);
  for (int16_t op : {operation::kModify, operation::kDelete}) {
    host.progress->ClearCalls();
    MemoryStream stream(kEvent);
    ASSERT_EQ(plugin.WriteSource(Object(), &stream, data_type::kCon, op, u""), 0);
    ASSERT_EQ(host.progress->Calls().size(), 1u);
    EXPECT_EQ(host.progress->Calls()[0].member, "SetSynchText");
  }
  EXPECT_EQ(Trace()[0], "WriteSource: Modify CON [\r\n" + kEvent + "\r\n]");
  EXPECT_EQ(Trace()[3], "Delete CON OK [\r\n" + kEvent + "\r\n]");
}

TEST_F(BaseIsyncTest, ARefusedWriteLeavesTheStreamAndTracesNothingMore) {
  plugin.SetTracing(true);
  plugin.onWrite = [](TEntry& entry) {
    entry.Properties.Clear();  // whatever a hook does to the entry, a refusal is not written
    return false;
  };
  MemoryStream stream(kEvent);
  EXPECT_EQ(plugin.WriteSource(Object(), &stream, data_type::kEve, 2, u""), 1);
  EXPECT_EQ(stream.Bytes(), kEvent);
  EXPECT_EQ(Trace().size(), 1u);
}

// The mail plug-in shows its insert progress before tracing the request: a progress object
// that fails on the first call shows which came first.
TEST_F(BaseIsyncTest, MailInsertsShowProgressBeforeTracingTheRequest) {
  plugin.SetTracing(true);
  host.progress->Context().faults.RaiseAlways("Progress.SetSynchText");
  MemoryStream stream(kEvent);
  EXPECT_EQ(plugin.WriteSource(Object(), &stream, data_type::kEmail, 1, u""), 1);
  EXPECT_TRUE(Trace().empty());
  EXPECT_EQ(plugin.WriteSource(Object(), &stream, data_type::kApt, 1, u""), 1);
  EXPECT_EQ(Trace().size(), 1u);
}

TEST_F(BaseIsyncTest, AWriteBackThatFailsIsAFailedWrite) {
  plugin.SetTracing(true);
  FaultyStream stream(kEvent);
  stream.failSetSize = true;
  EXPECT_EQ(plugin.WriteSource(Object(), &stream, data_type::kApt, 2, u""), 1);
  ASSERT_EQ(plugin.hooksCalled.size(), 1u);
  ASSERT_EQ(Trace().size(), 2u);
  EXPECT_EQ(Trace()[1], "Exception Simulated SetSize failure in TBaseIsync.WriteBack");
}

TEST_F(BaseIsyncTest, ReadTracesTheTypeAndTheStreamWithBinaryDataHidden) {
  plugin.SetTracing(true);
  plugin.onRead = [](TEntryList& list) {
    auto entry = std::make_unique<TEntry>();
    entry->Properties.Add("PHOTO", "VALUE=BINARY", "a.png;*00000002*\x89P");
    list.Add(std::move(entry));
    return true;
  };
  MemoryStream stream;
  ASSERT_EQ(plugin.ReadSource(Object(), &stream, data_type::kCon, 0, u""), 0);
  EXPECT_EQ(Trace(), (std::vector<std::string>{
                         "ReadSource: CON",
                         "\r\nCON Stream [\r\nBEGIN:VCARD\r\nVERSION:2.1\r\n"
                         "PHOTO;VALUE=BINARY:a.png;*00000002*<BINARY STREAM>\r\nEND:VCARD\r\n]",
                         "\r\nCON Stream record count : 1\r\n]"}));
}

TEST_F(BaseIsyncTest, RequestsUseTheProgressObjectFromInitNotTheirArgument) {
  testing_support::HostHarness other;
  MemoryStream stream;
  ASSERT_EQ(plugin.ReadSource(other.progressObject, &stream, data_type::kApt, 0, u""), 0);
  EXPECT_TRUE(other.progress->Calls().empty());
  EXPECT_EQ(host.progress->Calls().size(), 1u);
}

TEST_F(BaseIsyncTest, ReportErrorReachesTheUserTheTraceAndTheHostLog) {
  plugin.SetTracing(true);
  plugin.ReportError("Login Failure", "Could not log in.");
  EXPECT_EQ(host.platform.ui.beeps, std::vector<uint32_t>{platform::mb::kIconExclamation});
  ASSERT_EQ(host.platform.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(host.platform.ui.messageBoxes[0].caption, "Login Failure");
  EXPECT_EQ(host.platform.ui.messageBoxes[0].text, "Could not log in.");
  EXPECT_EQ(host.platform.ui.messageBoxes[0].style, platform::mb::kSetForeground);
  EXPECT_EQ(host.platform.ui.messageBoxes[0].owner, 0u);
  EXPECT_EQ(Trace(), std::vector<std::string>{"Login Failure: Could not log in."});
  EXPECT_EQ(host.progress->AllCalls(),
            std::vector<std::string>{"Log(\"Could not log in.\", \"Login Failure\", \"1\")"});
}

// Before Init there is no progress object to log to; the user still sees the message.
TEST(BaseIsyncReportError, WithoutAProgressObjectShowsTheMessageAndLogsNothing) {
  testing_support::HostHarness host;
  HookRecorder plugin{host.platform};
  plugin.ReportError("Login Failure", "Could not log in.");
  ASSERT_EQ(host.platform.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(host.platform.ui.messageBoxes[0].text, "Could not log in.");
  EXPECT_TRUE(host.progress->Calls().empty());
}

class BaseIsyncTermTest : public BaseIsyncTest {
 protected:
  void SetUp() override {
    BaseIsyncTest::SetUp();
    // One folder per test, since tests may run at the same time; the dot in the folder's
    // name must survive into the trace file's path.
    folder = std::filesystem::temp_directory_path() /
             (std::string("gws term 2.0 ") +
              testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
    host.platform.env.modulePath = (folder / "pimsync.dll").string();
    tracePath = folder / "pimsync_dll.txt";
    std::filesystem::remove(tracePath);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::filesystem::path folder;
  std::filesystem::path tracePath;
};

TEST_F(BaseIsyncTermTest, WithTracingOffNoFileIsWritten) {
  plugin.Trace("not kept");
  EXPECT_EQ(plugin.Term(Object()), 0);
  EXPECT_FALSE(std::filesystem::exists(tracePath));
  EXPECT_TRUE(host.platform.env.shellOpens.empty());
  EXPECT_EQ(plugin.closeCalls, 0);
}

TEST_F(BaseIsyncTermTest, WithTracingOnTheFileIsWrittenBesideTheModuleAndOpened) {
  plugin.SetTracing(true);
  plugin.Trace("first");
  plugin.Trace("A;VALUE=BINARY:x;*00000001*\x01");
  EXPECT_EQ(plugin.Term(host.progressObject), 0);
  std::ifstream file(tracePath, std::ios::binary);
  ASSERT_TRUE(file) << tracePath;
  const std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  EXPECT_EQ(content, "first\r\nA;VALUE=BINARY:x;*00000001*<BINARY STREAM>\r\n");
  ASSERT_EQ(host.platform.env.shellOpens.size(), 1u);
  EXPECT_EQ(host.platform.env.shellOpens[0].file, tracePath.string());
  EXPECT_EQ(host.platform.env.shellOpens[0].directory, folder.string());
  EXPECT_EQ(plugin.closeCalls, 1);  // Term closes again when given a progress object
  EXPECT_EQ(plugin.TraceLines(), nullptr);

  // The progress object is released: nothing reaches it after Term.
  host.progress->ClearCalls();
  platform::MemoryStream stream;
  EXPECT_EQ(plugin.ReadSource(host.progressObject, &stream, data_type::kApt, 0, u""), 1);
  EXPECT_TRUE(host.progress->Calls().empty());
}

TEST_F(BaseIsyncTermTest, FailuresOfCloseAndOfTheShellDoNotFailTerm) {
  plugin.SetTracing(true);
  plugin.closeRaises = true;
  host.platform.env.shellOpenFails = true;
  EXPECT_EQ(plugin.Term(host.progressObject), 0);
  EXPECT_TRUE(std::filesystem::exists(tracePath));
  EXPECT_TRUE(host.platform.ui.messageBoxes.empty());
}

TEST_F(BaseIsyncTermTest, ATraceFileThatCannotBeWrittenIsShownAndFailsTerm) {
  plugin.SetTracing(true);
  host.platform.env.modulePath = (folder / "missing folder" / "pimsync.dll").string();
  EXPECT_EQ(plugin.Term(Object()), 1);
  ASSERT_EQ(host.platform.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(host.platform.ui.messageBoxes[0].caption, "TBaseIsync.Term");
  EXPECT_NE(host.platform.ui.messageBoxes[0].text.find("pimsync_dll.txt"), std::string::npos);
}

}  // namespace
}  // namespace framework
