// calsetup's profile session against the simulated engine: the profile InvisibleDialog writes
// (the host simulator's new calendar profile, both from the component's own table), what a new
// profile shows instead, CommitPages into block C of the calendar, and the calendar's
// internal-error messages.

#include <gtest/gtest.h>

#include "framework/setup_blocks.h"
#include "setup/calsetup/settings_pages.h"
#include "setup/common/machine_settings.h"
#include "tests/setup/cal_setup_harness.h"

namespace cal_setup_tests {
namespace {

namespace block_a = framework::block_a;
namespace block_c = framework::block_c_pim;
using platform::RegistryRoot;

using CalSessionTest = CalSetupTest;

TEST_F(CalSessionTest, InvisibleDialogWritesTheHostSimulatorsNewCalendarProfile) {
  registry.SetDword(RegistryRoot::kLocalMachine, setup::kHostSettingsKey, "LogLevel", 0x10005);
  Session().SetControlFile(Wide(ControlFile()));
  EXPECT_TRUE(Session().RunInvisible());
  EXPECT_TRUE(sim::LoadProfileFile(ControlFile()) == sim::NewCalendarProfile(ControlFile(), 5));
  EXPECT_TRUE(ui.messageBoxes.empty());
  EXPECT_EQ(engines.alive, 0);
}

// The same new profile: the Date Range page starts with the deletion off, while the profile
// InvisibleDialog writes has it on for a month.
TEST_F(CalSessionTest, ANewProfileShowsTheDeletionOffWhileInvisibleDialogTurnsItOn) {
  OpenControlFile();
  ASSERT_TRUE(Session().IsNewProfile());
  setup::cal::CDatePage page(setup);
  page.Fill();
  EXPECT_FALSE(page.range.deleteOld);
  EXPECT_EQ(page.range.pastCount.Position(), 1);
  EXPECT_EQ(page.range.pastUnit, 2);
  EXPECT_EQ(page.range.futureCount.Position(), 6);
  EXPECT_EQ(page.range.futureUnit, 2);
  page.Accept();
  EXPECT_TRUE(Session().Commit());
  Session().Release();
  const sim::Profile shown = sim::LoadProfileFile(ControlFile());
  EXPECT_EQ(shown.a.Get(block_a::DeleteOldTypes), 0);
  EXPECT_EQ(shown.a.Get(block_a::Title), u"Didodudo Z380 - Synchronization (Calendar)");

  std::filesystem::remove(ControlFile());
  EXPECT_TRUE(Session().RunInvisible());
  const sim::Profile invisible = sim::LoadProfileFile(ControlFile());
  EXPECT_EQ(invisible.a.Get(block_a::DeleteOldTypes), 15);
  EXPECT_EQ(invisible.a.Get(block_a::DeleteOldCount[0]), 1);
  EXPECT_EQ(invisible.a.Get(block_a::DeleteOldUnit[0]), 30);
}

TEST_F(CalSessionTest, CommitPagesWritesTheLoginIntoTheCalendarsBlockC) {
  const struct {
    const char* name;
    std::u16string user, params;
    int16_t manualLogin;
  } rows[] = {
      {"user and parameters", u"jdoe", u"/ph", 1},
      {"parameters only", u"", u"/ph", 1},
      {"both empty", u"", u"", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    stored.a.Set(block_a::ConflictRule, 0);
    stored.a.Set(block_a::DeleteRule, 15);
    stored.c.Set(block_c::LoginUser, u"old");
    stored.c.Set(block_c::AddressBook, u"Book");
    OpenStored(stored);
    Session().CommitWizardData(setup::WizardData{row.user, row.params});
    EXPECT_FALSE(Session().HoldsEngine());
    const sim::Profile saved = sim::LoadProfileFile(ControlFile());
    EXPECT_EQ(saved.c.Get(block_c::ManualLogin), row.manualLogin);
    EXPECT_EQ(saved.c.Get(block_c::LoginUser), row.user);
    EXPECT_EQ(saved.c.Get(block_c::LoginParams), row.params);
    EXPECT_EQ(saved.c.Get(block_c::AddressBook), u"Book");
    EXPECT_EQ(saved.a.Get(block_a::ConflictRule), 1);
    EXPECT_EQ(saved.a.Get(block_a::DeleteRule), 0);
  }
}

TEST_F(CalSessionTest, EveryInternalErrorHasTheCalendarsNumberAndTitle) {
  const struct {
    const char* name;
    bool cannotCreate, openFails, saveFails;
    bool invisible;
    const char* message;
  } rows[] = {
      {"engine missing", true, false, false, false, "Internal Error 10102: Sync.dll missing?"},
      {"file unopenable", false, true, false, false,
       "Internal Error 10101: pISynch: Sync file missing"},
      {"save failed", false, false, true, true,
       "Internal Error 10103: Could not write control file"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    engines.faults.cannotCreate = row.cannotCreate;
    engines.faults.openFails = row.openFails;
    engines.faults.saveFails = row.saveFails;
    ui.messageBoxes.clear();
    Session().SetControlFile(Wide(ControlFile()));
    EXPECT_EQ(Session().RunInvisible(), row.invisible);
    ASSERT_EQ(ui.messageBoxes.size(), 1u);
    EXPECT_EQ(ui.messageBoxes[0].text, row.message);
    EXPECT_EQ(ui.messageBoxes[0].caption, kTitle);
    EXPECT_EQ(engines.alive, 0);
  }
}

}  // namespace
}  // namespace cal_setup_tests
