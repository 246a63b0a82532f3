// gwsync's read, write and run commands as the host: the order of the seven methods, what
// reaches the plug-in, what comes back out, and the exit status.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "sim/host/profile_file.h"
#include "tests/host/fake_plugin.h"
#include "tools/gwsync/host_command.h"

namespace gwsync {
namespace {

using testing_fake::Script;
using Calls = std::vector<std::string>;

class HostCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    folder =
        std::filesystem::temp_directory_path() /
        (std::string("gws_host_") + testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string Path(const std::string& name) const { return (folder / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream file(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  // Runs gwsync with these arguments against the fake plug-in.
  int Run(std::vector<std::string> argv, const std::string& input = "") {
    argv.insert(argv.begin(), {"--today", "20010215"});
    const std::optional<Options> options = ParseCommandLine(argv);
    std::istringstream in(input);
    out.str("");
    err.str("");
    return RunHostCommand(*options, {testing_fake::FakePluginFactory(script), Path("pimsync.dll")},
                          {in, out, err, false});
  }

  std::filesystem::path folder;
  std::shared_ptr<Script> script = std::make_shared<Script>();
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(HostCommandTest, ReadCallsTheSevenMethodsInOrderAndPrintsTheStream) {
  script->readStream = "BEGIN:VCALENDAR\r\nVERSION:1.0\r\nEND:VCALENDAR\r\n";
  EXPECT_EQ(Run({"read", "TODO"}), 0) << err.str();
  EXPECT_EQ(script->calls,
            (Calls{"Init", "Open", "CheckSource", "ReadSource 3 0", "Close", "Term"}));
  EXPECT_EQ(out.str(), script->readStream);
}

TEST_F(HostCommandTest, WriteSendsTheRecordAndPrintsWhatCameBack) {
  const std::string record = "BEGIN:VCARD\r\nN:Doe\r\nEND:VCARD\r\n";
  EXPECT_EQ(Run({"write", "CON", "insert"}, record), 0) << err.str();
  EXPECT_EQ(script->calls,
            (Calls{"Init", "Open", "CheckSource", "WriteSource 4 1", "Close", "Term"}));
  EXPECT_EQ(script->records, Calls{record});
  EXPECT_EQ(out.str(), record + script->writeBackSuffix);
}

// Codes outside the host's are the plug-in's to refuse, so they reach it as they are.
TEST_F(HostCommandTest, PassesCodesThatAreNoneOfTheHostsUnchanged) {
  Write("rec.txt", "X:1\r\n");
  EXPECT_EQ(Run({"write", "-3", "9", Path("rec.txt")}), 0);
  EXPECT_EQ(Run({"read", "5"}), 0);
  EXPECT_EQ(script->calls[3], "WriteSource -3 9");
  EXPECT_EQ(script->calls[9], "ReadSource 5 0");
}

TEST_F(HostCommandTest, AFailingMethodEndsTheRunAsFarAsThePluginAllowsAndFailsTheStatus) {
  const struct {
    std::string method;
    bool raises;
    Calls calls;
  } rows[] = {
      {"Init", false, {"Init", "Term"}},
      {"Open", false, {"Init", "Open", "Close", "Term"}},
      {"CheckSource", false, {"Init", "Open", "CheckSource", "Close", "Term"}},
      {"ReadSource", false, {"Init", "Open", "CheckSource", "ReadSource 0 0", "Close", "Term"}},
      {"Close", true, {"Init", "Open", "CheckSource", "ReadSource 0 0", "Close", "Term"}},
      {"Term", false, {"Init", "Open", "CheckSource", "ReadSource 0 0", "Close", "Term"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.method);
    script = std::make_shared<Script>();
    if (row.raises) {
      script->raising = {row.method};
    } else {
      script->values[row.method] = 1;
    }
    EXPECT_EQ(Run({"read", "APT"}), 1);
    EXPECT_EQ(script->calls, row.calls);
    EXPECT_NE(err.str().find("gwsync: " + row.method), std::string::npos) << err.str();
    // A stream is printed only when ReadSource succeeded.
    EXPECT_EQ(out.str(), row.method == "Close" || row.method == "Term" ? script->readStream : "");
  }
}

TEST_F(HostCommandTest, InitGetsBlocksAAndCOfTheProfileWithTheRangeFilledIn) {
  EXPECT_EQ(Run({"--profile", Path("cal.bin"), "--range", "20010201", "20010228", "read", "APT"}),
            0);
  // A missing profile is made with the calendar defaults, paths derived from its file.
  sim::Profile profile = sim::LoadProfileFile(Path("cal.bin"));
  EXPECT_EQ(profile.b.Get(framework::block_b_pim::WorkPath),
            sim::DerivedPath(Path("cal.bin"), u".WKF"));
  EXPECT_EQ(std::string(profile.c.Bytes()), script->appSetup);
  const framework::SetupBlock a(framework::BlockKind::kA, script->synchSetup);
  EXPECT_EQ(a.Get(framework::block_a::CalRangeStart), u"20010201T000000");
  EXPECT_EQ(a.Get(framework::block_a::CalRangeEnd), u"20010301T000000");
  // Apart from the range, block A is the profile's.
  profile.a.Set(framework::block_a::CalRangeStart, u"20010201T000000");
  profile.a.Set(framework::block_a::CalRangeEnd, u"20010301T000000");
  EXPECT_TRUE(a == profile.a);
}

TEST_F(HostCommandTest, WithoutARangeTheProfilesCountsAroundTodayGiveIt) {
  sim::Profile profile = sim::NewCalendarProfile("");
  profile.a.Set(framework::block_a::CalPastCount, 2);
  profile.a.Set(framework::block_a::CalPastUnit, 7);
  profile.a.Set(framework::block_a::CalFutureCount, 1);
  profile.a.Set(framework::block_a::CalFutureUnit, 1);
  sim::SaveProfileFile(Path("p.json"), profile);
  EXPECT_EQ(Run({"--profile", Path("p.json"), "read", "APT"}), 0);
  const framework::SetupBlock a(framework::BlockKind::kA, script->synchSetup);
  EXPECT_EQ(a.Get(framework::block_a::CalRangeStart), u"20010201T000000");  // 15 Feb - 14 days
  EXPECT_EQ(a.Get(framework::block_a::CalRangeEnd), u"20010217T000000");    // last day 16 Feb
  EXPECT_TRUE(sim::LoadProfileFile(Path("p.json")) == profile) << "a run leaves the file alone";
}

TEST_F(HostCommandTest, TheLogLevelComesFromTheMachinesSettings) {
  Write(
      "registry.json",
      R"({"HKEY_LOCAL_MACHINE\\Software\\Didodudo\\Z380\\Settings": {"LogLevel": {"dword": 65541}}})");
  EXPECT_EQ(Run({"--registry", Path("registry.json"), "read", "APT"}), 0);
  const framework::SetupBlock a(framework::BlockKind::kA, script->synchSetup);
  EXPECT_EQ(a.Get(framework::block_a::LogLevel), 5);
}

TEST_F(HostCommandTest, AbortAfterMakesTheProgressObjectAnswerTrueFromItsNthQuestionOn) {
  script->abortedQuestions = 4;
  EXPECT_EQ(Run({"--abort-after", "3", "read", "APT"}), 0);
  EXPECT_EQ(script->abortedAnswers, (std::vector<bool>{false, false, true, true}));
  script->abortedAnswers.clear();
  EXPECT_EQ(Run({"read", "APT"}), 0);
  EXPECT_EQ(script->abortedAnswers, (std::vector<bool>(4, false)));
}

TEST_F(HostCommandTest, TraceHoldsCtrlAtInitAndSavesTheTraceWhereAsked) {
  EXPECT_EQ(Run({"read", "APT"}), 0);
  EXPECT_FALSE(script->ctrlKeyAtInit);
  EXPECT_EQ(Run({"--trace", Path("trace.txt"), "read", "APT"}), 0);
  EXPECT_TRUE(script->ctrlKeyAtInit);
  EXPECT_NE(Read("trace.txt").find("fake Init"), std::string::npos);
}

TEST_F(HostCommandTest, ProgressAndLogGoToStandardErrorAsLines) {
  script->progressTexts = {{"SetSynchText", "Reading appointments"},
                           {"SetAppText", "Lunch"},
                           {"SetAppText", ""},
                           {"Log", "One item was skipped"}};
  EXPECT_EQ(Run({"read", "APT"}), 0);
  EXPECT_NE(err.str().find("Reading appointments\n  Lunch\nlog: [Fake] One item was skipped\n"),
            std::string::npos)
      << err.str();
}

TEST_F(HostCommandTest, AnInputThatCannotBeReadStopsBeforeThePluginIsMade) {
  EXPECT_EQ(Run({"write", "APT", "insert", Path("missing.txt")}), 2);
  EXPECT_EQ(Run({"run", Path("missing.gws")}), 2);
  EXPECT_TRUE(script->calls.empty());
  EXPECT_NE(err.str().find("cannot read"), std::string::npos);
}

TEST_F(HostCommandTest, AProfileThatCannotBeReadFailsTheRunBeforeThePluginIsMade) {
  Write("broken.json", "{");
  EXPECT_EQ(Run({"--profile", Path("broken.json"), "read", "APT"}), 1);
  EXPECT_TRUE(script->calls.empty());
  EXPECT_NE(err.str().find("broken.json"), std::string::npos);
}

}  // namespace
}  // namespace gwsync
