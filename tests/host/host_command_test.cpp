// gwsync's read, write and run commands as the host: the order of the seven methods, what
// reaches the plug-in, what comes back out, and the exit status.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

}  // namespace
}  // namespace gwsync
