// The profile session of a data setup component, as emailsetup runs it against the simulated
// engine object over profile files: open, prepare, commit and release, InvisibleDialog,
// CommitPages with the setup wizard's data, their failures, and what they read from the
// registry.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "framework/setup_blocks.h"
#include "framework/text_codec.h"
#include "setup/common/load_values.h"
#include "setup/common/machine_settings.h"
#include "tests/setup/email_setup_harness.h"

namespace setup_tests {
namespace {

namespace block_a = framework::block_a;
namespace block_c = framework::block_c_mail;
using platform::RegistryRoot;

using ProfileSessionTest = EmailSetupTest;

TEST(DerivedPath, UpperCasesThePathAndReplacesEveryBin) {
  const struct {
    const char* name;
    std::u16string path, log, work;
  } rows[] = {
      {"plain", u"c:\\profiles\\mail.bin", u"C:\\PROFILES\\MAIL.LOG", u"C:\\PROFILES\\MAIL.WKF"},
      {"every occurrence", u"c:\\a.bin\\b.BIN", u"C:\\A.LOG\\B.LOG", u"C:\\A.WKF\\B.WKF"},
      {"no .BIN", u"c:\\profiles\\mail", u"C:\\PROFILES\\MAIL", u"C:\\PROFILES\\MAIL"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const setup::ProfilePaths paths = setup::DeriveProfilePaths(row.path);
    EXPECT_EQ(framework::Utf16ToUtf8(paths.log), framework::Utf16ToUtf8(row.log));
    EXPECT_EQ(framework::Utf16ToUtf8(paths.work), framework::Utf16ToUtf8(row.work));
  }
}

// InvisibleDialog on a control file that does not exist yet writes exactly the profile gwsync
// makes for a new e-mail profile: both come from the component's own values.
TEST_F(ProfileSessionTest, InvisibleDialogWritesANewProfileWithTheDefaults) {
  registry.SetDword(RegistryRoot::kLocalMachine, setup::kHostSettingsKey, "LogLevel", 0x10005);
  Session().SetControlFile(Wide(ControlFile()));
  EXPECT_TRUE(Session().RunInvisible());
  EXPECT_EQ(sim::LoadProfileFile(ControlFile()), sim::NewEmailProfile(ControlFile(), 5, u"DESK-7"));
  EXPECT_TRUE(ui.messageBoxes.empty());
  EXPECT_EQ(engines.calls, (std::vector<std::string>{"create", "open " + ControlFile(), "stream -1",
                                                     "stream 0", "stream 1", "stream -1",
                                                     "stream 0", "stream 1", "save", "close"}));
  EXPECT_EQ(engines.alive, 0);
  EXPECT_FALSE(Session().HoldsEngine());
}

// A profile with a title is not new, and what the host and the user stored survives a load
// and a commit; InvisibleDialog overwrites the defaults.
TEST_F(ProfileSessionTest, AnExistingProfileIsNotNewAndKeepsTheHostsBytes) {
  sim::Profile stored = StoredProfile();
  stored.a.Set(framework::I16Field{framework::BlockKind::kA, 3672}, 0x1234);  // the host's
  stored.a.Set(block_a::MemoLimit, 4096u);
  stored.c.Set(block_c::LoginUser, u"jdoe");
  OpenStored(stored);
  EXPECT_FALSE(Session().IsNewProfile());
  EXPECT_TRUE(Session().Commit());
  Session().Release();
  const sim::Profile saved = sim::LoadProfileFile(ControlFile());
  EXPECT_EQ(saved.a.Get(framework::I16Field{framework::BlockKind::kA, 3672}), 0x1234);
  EXPECT_EQ(saved.a.Get(block_a::MemoLimit), 4096u);
  EXPECT_EQ(saved.c.Get(block_c::LoginUser), u"jdoe");
  EXPECT_EQ(saved.a.Get(block_a::LogPath), setup::DerivedPath(Wide(ControlFile()), u".LOG"));

  EXPECT_TRUE(Session().RunInvisible());
  EXPECT_EQ(sim::LoadProfileFile(ControlFile()).a.Get(block_a::MemoLimit), 10240u);
}

// The host's wizard writes profiles of both kinds through one engine: a new file takes the
// kind of the blocks its component wrote, and a file of either kind opens.
TEST_F(ProfileSessionTest, EnginesWithoutAKindOpenEitherKindAndSaveTheComponents) {
  sim::SimulatedEngines anyKind(std::nullopt);
  setup::ProfileSession session(setup::email::kEmailSetup,
                                {ui, registry, {*library, ansi}, anyKind.Factory(), [] {
                                   return std::u16string(u"DESK-7");
                                 }});
  session.SetControlFile(Wide(ControlFile()));
  ASSERT_TRUE(session.RunInvisible());
  EXPECT_EQ(sim::LoadProfileFile(ControlFile()).Kind(), sim::ProfileKind::kEmail);

  sim::SaveProfileFile(ControlFile(), sim::NewCalendarProfile(""));
  EXPECT_TRUE(session.Open());
  EXPECT_FALSE(Session().Open()) << "an engine of the e-mail kind refuses it";
  session.Release();
  EXPECT_EQ(ui.messageBoxes.size(), 1u) << "only the refusal's message";
}

TEST_F(ProfileSessionTest, AProfileWithoutATitleIsNew) {
  sim::Profile stored = StoredProfile();
  stored.a.Set(block_a::Title, u"");
  OpenStored(stored);
  EXPECT_TRUE(Session().IsNewProfile());
}

// The engine missing, the control file unopenable, the save failing: each shows its message
// with the component's title and writes nothing, and InvisibleDialog reports FALSE only when
// nothing was opened.
TEST_F(ProfileSessionTest, FailuresShowTheirMessageAndGiveTheirResult) {
  const struct {
    const char* name;
    bool sim::EngineFaults::*fault;
    const char* message;
    bool result;
    std::vector<std::string> calls;
  } rows[] = {
      {"engine missing",
       &sim::EngineFaults::cannotCreate,
       "Internal Error 10108: Sync.dll missing?",
       false,
       {"create refused"}},
      {"control file unopenable",
       &sim::EngineFaults::openFails,
       "Internal Error 10107: pISynch: Sync file missing",
       false,
       {"create", "open", "close"}},
      {"save failing",
       &sim::EngineFaults::saveFails,
       "Internal Error 10109: Could not write control file",
       true,
       {"create", "open", "stream -1", "stream 0", "stream 1", "stream -1", "stream 0", "stream 1",
        "save", "close"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove(ControlFile());
    engines.faults = {};
    engines.faults.*row.fault = true;
    engines.calls.clear();
    ui.messageBoxes.clear();
    Session().SetControlFile(Wide(ControlFile()));
    EXPECT_EQ(Session().RunInvisible(), row.result);
    ASSERT_EQ(ui.messageBoxes.size(), 1u);
    EXPECT_EQ(ui.messageBoxes[0].text, row.message);
    EXPECT_EQ(ui.messageBoxes[0].caption, kTitle);
    EXPECT_EQ(ui.messageBoxes[0].style, platform::mb::kOk);
    EXPECT_FALSE(std::filesystem::exists(ControlFile()));
    std::vector<std::string> calls = engines.calls;
    for (std::string& call : calls) {
      if (call.starts_with("open ")) call = "open";
    }
    EXPECT_EQ(calls, row.calls);
    EXPECT_EQ(engines.alive, 0);
  }
}

// A control file that cannot be opened leaves the engine held until the release, and the
// pages then see zeroed blocks, never stored.
TEST_F(ProfileSessionTest, AnUnopenableFileKeepsTheEngineUntilRelease) {
  engines.faults.openFails = true;
  EXPECT_FALSE(Session().Open());
  EXPECT_TRUE(Session().HoldsEngine());
  EXPECT_EQ(Data().a, framework::SetupBlock(framework::BlockKind::kA));
  EXPECT_FALSE(Session().IsNewProfile());
  Session().Release();
  EXPECT_EQ(engines.calls.back(), "close");
  EXPECT_EQ(engines.alive, 0);
}

// A stream shorter than its block leaves the rest zero; a stream whose every operation fails
// is ignored, in the read and in the commit.
TEST_F(ProfileSessionTest, ShortAndFailingStreamsAreTakenAsTheyCome) {
  sim::Profile stored = StoredProfile();
  stored.a.Set(block_a::MemoLimit, 4096u);
  sim::SaveProfileFile(ControlFile(), stored);
  engines.faults.shortStreams = 100;
  Session().SetControlFile(Wide(ControlFile()));
  ASSERT_TRUE(Session().Open());
  EXPECT_EQ(Data().a.Get(block_a::Title), u"Didodudo Z380 - Synchronization (E-mail)");
  EXPECT_EQ(Data().a.Get(block_a::MemoLimit), 0u);  // past the first 100 bytes
  EXPECT_EQ(Data().b.Get(framework::block_b_mail::DeviceAccount), u"DESK-7 (PC mail)");
  Session().Release();

  engines.faults = {};
  engines.faults.streamsFail = true;
  ui.messageBoxes.clear();
  EXPECT_TRUE(Session().RunInvisible());
  EXPECT_TRUE(ui.messageBoxes.empty());
  // Nothing was read, not even what the last open left in the buffers.
  EXPECT_TRUE(Session().IsNewProfile());
  // Nothing reached the streams, so the save kept the file's bytes.
  EXPECT_EQ(sim::LoadProfileFile(ControlFile()), stored);
}

// CommitPages: the wizard's user name and parameters, ManualLogin by whether either is given,
// then the commit values; without valid data the login fields stay as they were.
TEST_F(ProfileSessionTest, CommitWizardDataFillsTheLoginAndCommits) {
  const std::u16string greek = u"\u0393\u03b9\u03ce\u03c1\u03b3\u03bf\u03c2";
  const struct {
    const char* name;
    std::optional<setup::WizardData> data;
    std::u16string user, params;
    int16_t manualLogin;
  } rows[] = {
      {"user and parameters", setup::WizardData{u"jdoe", u"/ph-gw"}, u"jdoe", u"/ph-gw", 1},
      {"parameters only", setup::WizardData{u"", u"/ph-gw"}, u"", u"/ph-gw", 1},
      {"both empty", setup::WizardData{u"", u""}, u"", u"", 0},
      {"a Greek name, as typed", setup::WizardData{greek, u""}, greek, u"", 1},
      {"cut at 255", setup::WizardData{std::u16string(300, u'u'), u""}, std::u16string(255, u'u'),
       u"", 1},
      {"no valid array", std::nullopt, u"old", u"/old", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    stored.c.Set(block_c::ManualLogin, 1);
    stored.c.Set(block_c::LoginUser, u"old");
    stored.c.Set(block_c::LoginParams, u"/old");
    stored.a.Set(block_a::ConflictRule, 0);
    stored.a.Set(block_a::MailFolders, 15u);
    OpenStored(stored);
    Session().CommitWizardData(row.data);
    EXPECT_FALSE(Session().HoldsEngine());
    const sim::Profile saved = sim::LoadProfileFile(ControlFile());
    EXPECT_EQ(saved.c.Get(block_c::LoginUser), row.user);
    EXPECT_EQ(saved.c.Get(block_c::LoginParams), row.params);
    EXPECT_EQ(saved.c.Get(block_c::ManualLogin), row.manualLogin);
    EXPECT_EQ(saved.a.Get(block_a::ConflictRule), 1);
    EXPECT_EQ(saved.a.Get(block_a::MailFolders), 10u);
  }
}

TEST_F(ProfileSessionTest, CommitWizardDataWritesNothingWithoutAnOpenProfile) {
  engines.faults.openFails = true;
  Session().SetControlFile(Wide(ControlFile()));
  EXPECT_FALSE(Session().OpenAndPrepare());
  engines.calls.clear();
  Session().CommitWizardData(setup::WizardData{u"jdoe", u""});
  EXPECT_TRUE(engines.calls.empty());
  EXPECT_FALSE(std::filesystem::exists(ControlFile()));
}

// What the components read from the registry, each with its fallback.
TEST_F(ProfileSessionTest, LogLevelAndHelpFileComeFromTheHostsSettings) {
  const std::string longFolder(1000, 'f');
  const struct {
    const char* name;
    std::optional<uint32_t> logLevel;
    std::optional<std::string> appDir;
    int16_t wantedLevel;
    std::string wantedHelp;
  } rows[] = {
      {"no settings", std::nullopt, std::nullopt, 3, "Pmz380.hlp"},
      {"both set", 0x10105u, "C:\\Z380", 0x105, "C:\\Z380\\Pmz380.hlp"},
      {"an AppDir that fills the buffer", std::nullopt, longFolder.substr(0, 999), 3,
       longFolder.substr(0, 999) + "\\Pmz380.hlp"},
      {"an AppDir too long for it", std::nullopt, longFolder, 3, "Pmz380.hlp"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    registry.DeleteKeyTree(RegistryRoot::kLocalMachine, setup::kHostSettingsKey);
    if (row.logLevel)
      registry.SetDword(RegistryRoot::kLocalMachine, setup::kHostSettingsKey, "LogLevel",
                        *row.logLevel);
    if (row.appDir)
      registry.SetString(RegistryRoot::kLocalMachine, setup::kHostSettingsKey, "AppDir",
                         *row.appDir);
    std::filesystem::remove(ControlFile());
    OpenControlFile();
    EXPECT_EQ(Data().a.Get(block_a::LogLevel), row.wantedLevel);
    EXPECT_EQ(Session().HelpFile(), row.wantedHelp);
    Session().Release();
  }
}

TEST(IsPIMInstalled, AsksForGroupWisesApplicationPath) {
  const struct {
    const char* name;
    std::optional<std::string> path;
    bool installed;
  } rows[] = {
      {"no key", std::nullopt, false},
      {"a path", "C:\\Novell\\GroupWise", true},
      {"a path too long to read", std::string(1000, 'p'), false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    platform::MemoryRegistry registry;
    if (row.path)
      registry.SetString(RegistryRoot::kLocalMachine, setup::kGroupWiseAppPathKey, "Path",
                         *row.path);
    EXPECT_EQ(setup::IsPIMInstalled(registry), row.installed);
  }
}

}  // namespace
}  // namespace setup_tests
