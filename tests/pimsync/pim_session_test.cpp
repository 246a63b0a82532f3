// The plug-in's lifecycle as the host drives it: what Init takes from the setup blocks, how
// Open logs in, and what Close and Term leave behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/pimsync/pim_harness.h"

namespace pimsync {
namespace {

using testing_harness::PimHost;
namespace block_c = framework::block_c_pim;

TEST(PimInit, TakesRangeAddressBookAndDeviceFromItsSetup) {
  PimHost pim;
  pim.host.platform.env.ctrlKeyDown = true;
  pim.SetRange(u"20010201T000000", u"20010301T000000");
  pim.host.platform.registry.SetString(platform::RegistryRoot::kCurrentUser,
                                       "Software\\Psion\\CurrentUser", "MachineName", "REVO");
  ASSERT_EQ(pim.Init(), 0);
  const std::vector<std::string> trace = pim.Trace();
  ASSERT_EQ(trace.size(), 11u);
  EXPECT_EQ(trace[0], "Trace Started: 2000-01-10 12:00:00");
  EXPECT_EQ(trace[3], "Device: EPOC32 R5");
  // An empty address book name means the device's own book.
  EXPECT_EQ(trace[4], "Address book to synchronize: Didodudo Z380");
  EXPECT_EQ(trace[7], "Syncing: Data File");
  EXPECT_EQ(trace[8], "Date range start: 2001-02-01");
  // The host stores the day after the range.
  EXPECT_EQ(trace[9], "Date range end: 2001-02-28");
  EXPECT_EQ(trace[10], "TISYNCHAPPU.Init S_OK");
  EXPECT_EQ(framework::PIMName, "GroupWise");
}

TEST(PimInit, WithoutCtrlThereIsNoTraceAndWithoutStreamsNoInit) {
  PimHost pim;
  ASSERT_EQ(pim.Init(), 0);
  EXPECT_TRUE(pim.Trace().empty());
  platform::MemoryStream a;
  EXPECT_EQ(pim.plugin->Init(pim.host.progressObject, &a, nullptr), 1);
  EXPECT_EQ(pim.plugin->Init(platform::Object(), &a, &a), 1);
}

TEST(PimOpen, LogsInAsTheSetupSays) {
  struct Case {
    const char* name;
    int16_t manualLogin;
    std::string wantedLogin;
  };
  const Case cases[] = {
      // A user name in the block does not count while manual login is off.
      {"groupwise_chooses", 0, "Session.Login(\"\", \"\", \"\", 1)"},
      {"manual", 1, "Session.Login(\"jdoe\", \"/ph-po.example\")"},
      {"only_the_low_byte_counts", 0x100, "Session.Login(\"\", \"\", \"\", 1)"},
  };
  for (const Case& c : cases) {
    PimHost pim;
    pim.blockC.Set(block_c::ManualLogin, c.manualLogin);
    pim.blockC.Set(block_c::LoginUser, u"jdoe");
    pim.blockC.Set(block_c::LoginParams, u"/ph-po.example");
    pim.Start();
    EXPECT_EQ(pim.GroupWiseCalls("Session.Login"), std::vector<std::string>{c.wantedLogin})
        << c.name;
  }
}

TEST(PimOpen, ALoginWithoutAccountIsShownLoggedAndEndsThere) {
  for (sim::LoginOutcome outcome :
       {sim::LoginOutcome::kNoAccountNull, sim::LoginOutcome::kNoAccountEmpty}) {
    PimHost pim;
    pim.host.platform.env.ctrlKeyDown = true;
    pim.groupwise.mailbox->login = outcome;
    ASSERT_EQ(pim.Init(), 0);
    EXPECT_EQ(pim.plugin->Open(pim.host.progressObject), 1);
    ASSERT_EQ(pim.host.platform.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(pim.host.platform.ui.messageBoxes[0].caption, "Login Failure");
    EXPECT_EQ(pim.host.platform.ui.messageBoxes[0].text,
              "Could not log into GroupWise.  Please check your log in parameters and try again.");
    EXPECT_EQ(pim.host.progress->CallsOf("Log").size(), 1u);
    EXPECT_TRUE(pim.Traced("TISYNCHAPPU.Open EAbort"));
    // Nothing more is asked of GroupWise after the failed login.
    EXPECT_EQ(pim.groupwise.context->log.calls.back(), "Session.Login");
  }
}

TEST(PimOpen, FailuresAreTracedNotShown) {
  struct Case {
    const char* name;
    std::function<void(PimHost&)> arrange;
    std::string wantedTrace;
  };
  const Case cases[] = {
      {"login_raises",
       [](PimHost& pim) { pim.groupwise.mailbox->login = sim::LoginOutcome::kRaise; },
       "TISYNCHAPPU.Open: Exception: [The plugin was unable to log into GroupWise.] S_FALSE"},
      {"language_not_supported",
       [](PimHost& pim) {
         pim.host.platform.registry.SetString(platform::RegistryRoot::kCurrentUser,
                                              "Software\\Novell\\GroupWise\\Interface Language", "",
                                              "XX");
       },
       "TISYNCHAPPU.Open: Exception: [The current GroupWise language is not supported.] S_FALSE"},
      {"version_not_supported", [](PimHost& pim) { pim.groupwise.mailbox->minorVersion = 6; },
       "TISYNCHAPPU.Open: Exception: [The current GroupWise language is not supported.] S_FALSE"},
      {"no_session_object",
       [](PimHost& pim) { pim.host.platform.objects = platform::ObjectRegistry(); },
       "TISYNCHAPPU.Open: Exception: [Invalid class string] S_FALSE"},
  };
  for (const Case& c : cases) {
    PimHost pim;
    pim.host.platform.env.ctrlKeyDown = true;
    c.arrange(pim);
    ASSERT_EQ(pim.Init(), 0) << c.name;
    EXPECT_EQ(pim.plugin->Open(pim.host.progressObject), 1) << c.name;
    EXPECT_TRUE(pim.Traced(c.wantedTrace)) << c.name << "\n" << pim.TraceText();
    // A failed Open leaves what it made for Close to release.
    EXPECT_NO_THROW(pim.plugin->Close(pim.host.progressObject)) << c.name;
  }
}

TEST(PimOpen, TracesTheGroupWiseItFound) {
  PimHost pim;
  pim.host.platform.env.ctrlKeyDown = true;
  pim.groupwise.mailbox->fullName = u"GroupWise Caf\u00E9";
  pim.Start();
  EXPECT_TRUE(pim.Traced("TISYNCHAPPU: GroupWise Name: GroupWise Caf\xE9"));
  EXPECT_TRUE(pim.Traced("TISYNCHAPPU: Version: 5 (major) 5 (minor)"));
  EXPECT_TRUE(pim.Traced("TISYNCHAPPU: GroupWise Language (From AB language class): US"));
  EXPECT_EQ(pim.plugin->GWVersion(), "5.5");
  EXPECT_EQ(pim.host.progress->CallsOf("SetAppText"),
            std::vector<std::string>{"SetAppText(\"Connecting to GroupWise\")"});
}

TEST(PimClose, TheDcomNoticeIsLoggedOncePerRun) {
  PimHost pim;
  pim.host.platform.env.osVersion = {platform::OsVersion::kWindows9x, 4, 10, 1998};
  pim.Start();
  ASSERT_EQ(pim.plugin->Close(pim.host.progressObject), 0);
  ASSERT_EQ(pim.plugin->Term(pim.host.progressObject), 0);  // closes a second time
  const auto logs = pim.host.progress->CallsOf("Log");
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_NE(logs[0].find("DCOM98 1.3"), std::string::npos);
  EXPECT_NE(logs[0].find("I M P O R T A N T"), std::string::npos);
}

TEST(PimTerm, TheTraceFileRunsFromStartToTheSecondClose) {
  PimHost pim;
  pim.host.platform.env.ctrlKeyDown = true;
  const auto path = std::filesystem::temp_directory_path() / "gws_pim_term_trace.txt";
  pim.plugin->SetTraceFilePath(path.string());
  pim.Start();
  ASSERT_EQ(pim.plugin->Close(pim.host.progressObject), 0);
  ASSERT_EQ(pim.plugin->Term(pim.host.progressObject), 0);
  std::ifstream file(path, std::ios::binary);
  const std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  file.close();
  std::filesystem::remove(path);
  EXPECT_EQ(content.rfind("Trace Started: 2000-01-10 12:00:00\r\n", 0), 0u) << content;
  const std::string ending =
      "TISYNCHAPPU.Term S_OK\r\nTrace Ended: 2000-01-10 12:00:00\r\nTISYNCHAPPU.Close S_OK\r\n";
  ASSERT_GE(content.size(), ending.size());
  EXPECT_EQ(content.substr(content.size() - ending.size()), ending);
}

TEST(PimCheckSource, TellsTheHostAndSucceeds) {
  PimHost pim;
  pim.Start();
  pim.host.progress->ClearCalls();
  EXPECT_EQ(pim.plugin->CheckSource(platform::Object()), 0);
  EXPECT_EQ(pim.host.progress->AllCalls(),
            std::vector<std::string>{"SetAppText(\"Checking GroupWise\")"});
  pim.host.progress->Context().faults.RaiseAlways("Progress.SetAppText");
  EXPECT_EQ(pim.plugin->CheckSource(platform::Object()), 1);
}

}  // namespace
}  // namespace pimsync
