// gwsync's read, write and run commands as the host: the order of the seven methods, what
// reaches the plug-in, what comes back out, and the exit status.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/text_codec.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "sim/groupwise/store.h"
#include "sim/host/profile_file.h"
#include "tests/host/fake_plugin.h"
#include "tests/support/scratch_folder_test.h"
#include "tools/gwsync/console.h"
#include "tools/gwsync/host_command.h"
#include "tools/gwsync/registry_file.h"
#include "tools/gwsync/run_script.h"

namespace gwsync {
namespace {

using testing_fake::Script;
using Calls = std::vector<std::string>;

class HostCommandTest : public testing_support::ScratchFolderTest {
 protected:
  HostCommandTest() : ScratchFolderTest("gws_host_") {}

  // Runs gwsync with these arguments against the fake plug-ins: `script`'s (or `plugin`, when
  // set) as pimsync, `mailScript`'s as mailsync.
  int Run(std::vector<std::string> argv, const std::string& input = "") {
    argv.insert(argv.begin(), {"--today", "20010215"});
    const std::optional<Options> options = ParseCommandLine(argv);
    std::istringstream in(input);
    out.str("");
    err.str("");
    return RunHostCommand(
        *options,
        {{plugin ? plugin : testing_fake::FakePluginFactory(script), Path("pimsync.dll")},
         {testing_fake::FakePluginFactory(mailScript), Path("mailsync.dll")}},
        {in, output ? *output : out, err, false});
  }

  std::shared_ptr<Script> script = std::make_shared<Script>();
  std::shared_ptr<Script> mailScript = std::make_shared<Script>();
  PluginFactory plugin;
  std::ostream* output = nullptr;  // standard output; `out` when not set
  std::ostringstream out;
  std::ostringstream err;
};

// Standard output as a closed pipe or a full disk leaves it: every write fails.
class FailingOutput : public std::ostream {
 public:
  FailingOutput() : std::ostream(&buffer_) {}

 private:
  struct : std::streambuf {
    int_type overflow(int_type) override { return traits_type::eof(); }
  } buffer_;
};

bool Has(const std::ostringstream& stream, const std::string& text) {
  return stream.str().find(text) != std::string::npos;
}

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

// The files of the options are only used once the run is under way; a folder among them is
// refused first, before a lock file is made beside it or the plug-in is created.
TEST_F(HostCommandTest, AFolderGivenForAnOptionsFileStopsTheRunBeforeItStarts) {
  std::filesystem::create_directories(folder / "dir");
  for (const char* option : {"--store", "--profile", "--registry", "--trace"}) {
    SCOPED_TRACE(option);
    script = std::make_shared<Script>();
    EXPECT_EQ(Run({option, Path("dir"), "read", "APT"}), 1);
    EXPECT_TRUE(Has(err, Path("dir") + ": is a folder")) << err.str();
    EXPECT_TRUE(script->calls.empty());
    EXPECT_FALSE(std::filesystem::exists(Path("dir.lock")));
  }
}

// Two runs on one store would each save the mailbox they loaded and one insert would vanish.
TEST_F(HostCommandTest, ARunOnAStoreInUseIsRefusedAndChangesNothing) {
  std::optional<platform::FileLock> other =
      platform::FileLock::TryAcquire(Path("mailbox.json") + ".lock");
  ASSERT_TRUE(other.has_value());
  EXPECT_EQ(Run({"--store", Path("mailbox.json"), "read", "APT"}), 1);
  EXPECT_TRUE(Has(err, "the store " + Path("mailbox.json") + " is in use")) << err.str();
  EXPECT_TRUE(script->calls.empty());
  EXPECT_FALSE(std::filesystem::exists(Path("mailbox.json")));
  other.reset();
  EXPECT_EQ(Run({"--store", Path("mailbox.json"), "read", "APT"}), 0) << err.str();
  EXPECT_TRUE(std::filesystem::exists(Path("mailbox.json")));
}

// What ends a run early must not cost the mailbox what the plug-in did: the store is saved
// (here: a new store is created) after a failing output and after a run that broke off.
TEST_F(HostCommandTest, TheStoreIsSavedWhenOutputFailsOrTheRunBreaksOff) {
  FailingOutput broken;
  output = &broken;
  EXPECT_EQ(Run({"--store", Path("output.json"), "read", "APT"}), 1);
  EXPECT_TRUE(Has(err, "gwsync: cannot write standard output")) << err.str();
  EXPECT_EQ(script->calls.back(), "Term");
  EXPECT_TRUE(std::filesystem::exists(Path("output.json")));

  output = nullptr;
  plugin = [](platform::Platform&) -> std::unique_ptr<framework::TBaseIsync> {
    throw std::runtime_error("the plug-in's module cannot be loaded");
  };
  EXPECT_EQ(Run({"--store", Path("broken.json"), "read", "APT"}), 1);
  EXPECT_TRUE(Has(err, "gwsync: the plug-in's module cannot be loaded")) << err.str();
  EXPECT_TRUE(std::filesystem::exists(Path("broken.json")));
}

// A read that logs an item and leaves it out still returns Value 0, as the host expects; the
// count at the end is what tells the user that the records are not all there are.
TEST_F(HostCommandTest, ItemsThatReadsLoggedAndSkippedAreCountedAtTheEnd) {
  const struct {
    const char* name;
    int logged;           // Log calls of each ReadSource
    int32_t readValue;    // what ReadSource answers
    std::string script;   // the requests
    std::string summary;  // "": no summary line
  } rows[] = {
      {"nothing logged", 0, 0, "read APT\n", ""},
      {"one read, one item", 1, 0, "read APT\n", "gwsync: 1 item was skipped by a read"},
      {"two reads", 2, 0, "read APT\nread TODO\n", "gwsync: 4 items were skipped by a read"},
      {"a failed read skips nothing", 1, 1, "read APT\n", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    script = std::make_shared<Script>();
    for (int i = 0; i < row.logged; ++i)
      script->progressTexts.emplace_back("Log", "item " + std::to_string(i));
    script->values["ReadSource"] = row.readValue;
    Write("day.gws", row.script);
    EXPECT_EQ(Run({"run", Path("day.gws")}), row.readValue);
    EXPECT_EQ(Has(err, "skipped"), !row.summary.empty()) << err.str();
    if (!row.summary.empty()) {
      EXPECT_TRUE(Has(err, row.summary)) << err.str();
    }
  }
}

// Every file has a limit (docs/gwsync.md, "Limits"); one past it is refused by name before
// anything runs. The files are sparse, so the test costs no disk.
TEST_F(HostCommandTest, AFileLargerThanItsLimitIsRefusedNamingIt) {
  const struct {
    const char* option;  // "": the command's own input
    std::vector<std::string> command;
    std::size_t limit;
    int status;
  } rows[] = {
      {"--store", {"read", "APT"}, sim::kStoreFileLimit, 1},
      {"--profile", {"read", "APT"}, sim::kProfileFileLimit, 1},
      {"--registry", {"read", "APT"}, kRegistryFileLimit, 1},
      {"", {"write", "APT", "insert"}, kRecordLimit, 2},
      {"", {"run"}, kScriptLimit, 2},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command.front() + " " + row.option);
    script = std::make_shared<Script>();
    { std::ofstream(Path("big"), std::ios::binary) << "{"; }
    std::filesystem::resize_file(Path("big"), row.limit + 1);
    std::vector<std::string> argv = row.command;
    if (*row.option) {
      argv.insert(argv.begin(), {row.option, Path("big")});
    } else {
      argv.push_back(Path("big"));
    }
    EXPECT_EQ(Run(argv), row.status);
    EXPECT_TRUE(Has(err, Path("big") + ": is larger than " + platform::SizeText(row.limit)))
        << err.str();
    EXPECT_TRUE(script->calls.empty());
  }
}

TEST_F(HostCommandTest, TheDataTypeChoosesThePluginUnlessPluginSaysOtherwise) {
  Write("mail.gws", "read EMAIL\nwrite EMAIL insert new.txt\n");
  Write("new.txt", "BEGIN:VMEMO\r\nEND:VMEMO\r\n");
  const struct {
    std::vector<std::string> argv;
    bool mailsync;
    Calls requests;
  } rows[] = {
      {{"read", "EMAIL"}, true, {"ReadSource 6 0"}},
      {{"read", "APT"}, false, {"ReadSource 0 0"}},
      {{"write", "EMAIL", "insert", Path("new.txt")}, true, {"WriteSource 6 1"}},
      {{"run", Path("mail.gws")}, true, {"ReadSource 6 0", "WriteSource 6 1"}},
      {{"--plugin", "pimsync", "read", "EMAIL"}, false, {"ReadSource 6 0"}},
      {{"--plugin", "mailsync", "read", "CON"}, true, {"ReadSource 4 0"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.argv));
    script = std::make_shared<Script>();
    mailScript = std::make_shared<Script>();
    EXPECT_EQ(Run(row.argv), 0) << err.str();
    Calls wanted = {"Init", "Open", "CheckSource"};
    wanted.insert(wanted.end(), row.requests.begin(), row.requests.end());
    wanted.insert(wanted.end(), {"Close", "Term"});
    EXPECT_EQ((row.mailsync ? mailScript : script)->calls, wanted);
    EXPECT_TRUE((row.mailsync ? script : mailScript)->calls.empty());
  }
}

// The host runs one plug-in per profile: a script that would need both is refused whole.
TEST_F(HostCommandTest, AScriptWhoseRequestsNeedBothPluginsIsRefusedBeforeAnythingRuns) {
  Write("both.gws", "# the day\nread APT\n\nread EMAIL > mail.txt\n");
  EXPECT_EQ(Run({"--store", Path("mailbox.json"), "run", Path("both.gws")}), 2);
  EXPECT_TRUE(Has(err, "both.gws:4: EMAIL is mailsync's, but line 2 (APT) is pimsync's"))
      << err.str();
  EXPECT_TRUE(script->calls.empty());
  EXPECT_TRUE(mailScript->calls.empty());
  EXPECT_FALSE(std::filesystem::exists(Path("mailbox.json")));
  EXPECT_EQ(Run({"--plugin", "mailsync", "run", Path("both.gws")}), 0) << err.str();
  EXPECT_EQ(mailScript->calls.size(), 7u);
}

// A new e-mail profile, with the mail range filled in from its three days back; the calendar
// range stays empty, since mailsync never reads it.
TEST_F(HostCommandTest, AnEmailRunGetsAnEmailProfileWithItsMailRangeFilledIn) {
  const struct {
    std::vector<std::string> options;
    std::u16string start, end;
  } rows[] = {
      {{}, u"20010212T000000", u"20010215T000000"},
      {{"--range", "20010201", "20010228"}, u"20010201T000000", u"20010228T000000"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.options));
    std::filesystem::remove(Path("mail.bin"));
    std::vector<std::string> argv = {"--profile", Path("mail.bin")};
    argv.insert(argv.end(), row.options.begin(), row.options.end());
    argv.insert(argv.end(), {"read", "EMAIL"});
    EXPECT_EQ(Run(argv), 0) << err.str();
    const sim::Profile profile = sim::LoadProfileFile(Path("mail.bin"));
    EXPECT_EQ(profile.Kind(), sim::ProfileKind::kEmail);
    EXPECT_EQ(profile.a.Get(framework::block_a::LogPath),
              sim::DerivedPath(Path("mail.bin"), u".LOG"));
    EXPECT_EQ(mailScript->appSetup, std::string(profile.c.Bytes()));
    EXPECT_EQ(mailScript->appSetup.size(), 2054u);
    const framework::SetupBlock a(framework::BlockKind::kA, mailScript->synchSetup);
    EXPECT_EQ(a.Get(framework::block_a::MailRangeStart), row.start);
    EXPECT_EQ(a.Get(framework::block_a::MailRangeEnd), row.end);
    EXPECT_EQ(a.Get(framework::block_a::CalRangeStart), u"");
    EXPECT_EQ(a.Get(framework::block_a::CalRangeEnd), u"");
    EXPECT_EQ(profile.a.Get(framework::block_a::MailRangeStart), u"") << "the file is not changed";
  }
}

TEST_F(HostCommandTest, AProfileOfTheOtherPluginsKindIsRefusedBeforeAnythingRuns) {
  const struct {
    sim::Profile profile;
    std::vector<std::string> command;
    std::string message;
  } rows[] = {
      {sim::NewCalendarProfile(""),
       {"read", "EMAIL"},
       "holds a calendar profile, and mailsync needs an email one"},
      {sim::NewEmailProfile(""),
       {"read", "APT"},
       "holds an email profile, and pimsync needs a calendar one"},
      {sim::NewCalendarProfile(""),
       {"--plugin", "mailsync", "read", "APT"},
       "holds a calendar profile, and mailsync needs"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    script = std::make_shared<Script>();
    mailScript = std::make_shared<Script>();
    sim::SaveProfileFile(Path("p.json"), row.profile);
    std::vector<std::string> argv = {"--profile", Path("p.json")};
    argv.insert(argv.end(), row.command.begin(), row.command.end());
    EXPECT_EQ(Run(argv), 1);
    EXPECT_TRUE(Has(err, "profile file " + Path("p.json") + " " + row.message)) << err.str();
    EXPECT_TRUE(script->calls.empty());
    EXPECT_TRUE(mailScript->calls.empty());
    EXPECT_TRUE(sim::LoadProfileFile(Path("p.json")) == row.profile);
  }
}

// The account the device creates for the PC's mail is named after the computer, whose name
// the registry keeps where Windows keeps it.
TEST_F(HostCommandTest, TheComputersNameNamesTheDevicesMailAccount) {
  const struct {
    std::string registry;
    std::u16string account;
  } rows[] = {
      {R"({"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName": )"
       R"({"ComputerName": "DESK-7"}})",
       u"DESK-7 (PC mail)"},
      {"{}", u"Work (PC mail)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(framework::Utf16ToUtf8(row.account));
    std::filesystem::remove(Path("mail.json"));
    Write("registry.json", row.registry);
    EXPECT_EQ(
        Run({"--registry", Path("registry.json"), "--profile", Path("mail.json"), "read", "EMAIL"}),
        0)
        << err.str();
    EXPECT_EQ(sim::LoadProfileFile(Path("mail.json")).b.Get(framework::block_b_mail::DeviceAccount),
              row.account);
  }
}

// The dialog is shown on standard error with how it ended, whoever answered it.
TEST_F(HostCommandTest, TheFolderNameDialogGetsTheOptionsAndTheScriptsAnswers) {
  const struct {
    const char* name;
    std::vector<std::string> options;
    std::string answers;  // the script's answer lines
    std::optional<std::string> outcome;
    std::string shown;
  } rows[] = {
      {"Enter on the proposed name", {}, "", "Z380", "[Folder] OK: Z380"},
      {"the option",
       {"--folder-name", "Handheld mail"},
       "",
       "Handheld mail",
       "[Folder] OK: Handheld mail"},
      {"an empty option ends the dialog without OK",
       {"--folder-name", ""},
       "",
       std::nullopt,
       "[Folder] closed without OK"},
      {"a script's answer", {}, "answer folder-name Archive\n", "Archive", "OK: Archive"},
      {"a script's answer after a refused option",
       {"--folder-name", ""},
       "answer folder-name \"Later on\"\n",
       "Later on",
       "OK: Later on"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    mailScript = std::make_shared<Script>();
    mailScript->askFolderName = "Z380";
    Write("day.gws", row.answers + "read EMAIL\n");
    std::vector<std::string> argv = row.options;
    argv.insert(argv.end(), {"run", Path("day.gws")});
    EXPECT_EQ(Run(argv), 0) << err.str();
    EXPECT_EQ(mailScript->folderNames, std::vector<std::optional<std::string>>{row.outcome});
    EXPECT_TRUE(Has(err, "[Folder] Name the folder.")) << err.str();
    EXPECT_TRUE(Has(err, row.shown)) << err.str();
  }
}

}  // namespace
}  // namespace gwsync
