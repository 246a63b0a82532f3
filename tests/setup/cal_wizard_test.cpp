// calsetup's wizard page: where it starts, what Next stores (RangeChanged untouched), and that
// cancelling the wizard lets go of the engine so that nothing is written.

#include <gtest/gtest.h>

#include <optional>

#include "framework/setup_blocks.h"
#include "setup/calsetup/wizard_pages.h"
#include "tests/setup/cal_setup_harness.h"

namespace cal_setup_tests {
namespace {

namespace block_a = framework::block_a;
using setup::WizardButtons;

using CalWizardTest = CalSetupTest;

TEST_F(CalWizardTest, RangePageStartsAMonthBackSixAheadWithTheDeletionOn) {
  sim::Profile stored = StoredProfile();
  stored.a.Set(block_a::CalPastCount, 3);
  stored.a.Set(block_a::CalPastUnit, 7);
  stored.a.Set(block_a::DeleteOldTypes, 0);
  OpenStored(stored);
  setup::cal::CWizRange page(setup);
  page.Start();
  EXPECT_EQ(page.range.pastCount.Position(), 1);
  EXPECT_EQ(page.range.pastUnit, 2);
  EXPECT_EQ(page.range.futureCount.Position(), 6);
  EXPECT_EQ(page.range.futureUnit, 2);
  EXPECT_TRUE(page.range.deleteOld);
  EXPECT_EQ(page.Buttons(), WizardButtons::kBackAndNext);
  EXPECT_EQ(page.StaticTexts()[0].id, 301);
  EXPECT_EQ(Utf8(page.StaticTexts()[0].text),
            "Specify the Date Range of calendar items to be included in the synchronization.");
}

TEST_F(CalWizardTest, NextStoresTheRangeButLeavesRangeChanged) {
  const struct {
    const char* name;
    const char16_t *past, *future;
    int pastUnit, futureUnit;
    bool deleteOld;
    int16_t pastCount, pastDays, futureCount, futureDays, deleteTypes, deleteCount, deleteUnit;
  } rows[] = {
      {"as it starts", u"1", u"6", 2, 2, true, 1, 30, 6, 30, 15, 1, 30},
      {"two weeks back, a year ahead", u"2", u"1", 1, 3, true, 2, 7, 1, 365, 15, 2, 7},
      {"without the deletion", u"2", u"1", 1, 3, false, 2, 7, 1, 365, 0, 9, 9},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    for (int t = 0; t < 4; ++t) {
      stored.a.Set(block_a::DeleteOldCount[t], 9);
      stored.a.Set(block_a::DeleteOldUnit[t], 9);
    }
    OpenStored(stored);
    setup::cal::CWizRange page(setup);
    page.Start();
    page.PastCountChanged(row.past, 0);
    page.FutureCountChanged(row.future, 0);
    page.range.pastUnit = row.pastUnit;
    page.range.futureUnit = row.futureUnit;
    page.range.deleteOld = row.deleteOld;
    page.Next();
    const framework::SetupBlock& a = Data().a;
    EXPECT_EQ(a.Get(block_a::CalPastCount), row.pastCount);
    EXPECT_EQ(a.Get(block_a::CalPastUnit), row.pastDays);
    EXPECT_EQ(a.Get(block_a::CalFutureCount), row.futureCount);
    EXPECT_EQ(a.Get(block_a::CalFutureUnit), row.futureDays);
    EXPECT_EQ(a.Get(block_a::DeleteOldTypes), row.deleteTypes);
    for (int t = 0; t < 4; ++t) {
      SCOPED_TRACE("type " + std::to_string(t));
      EXPECT_EQ(a.Get(block_a::DeleteOldCount[t]), row.deleteCount);
      EXPECT_EQ(a.Get(block_a::DeleteOldUnit[t]), row.deleteUnit);
    }
    EXPECT_EQ(a.Get(block_a::RangeChanged), 0);
    Session().Release();
  }
}

// A page never shown stores nothing on Next.
TEST_F(CalWizardTest, NextBeforeTheStartStoresNothing) {
  OpenStored(StoredProfile());
  const setup::Blocks before = Data();
  setup::cal::CWizRange page(setup);
  page.range.pastUnit = 3;
  page.Next();
  EXPECT_EQ(Data().a, before.a);
}

// Cancel lets go of the engine before the wizard closes: the CommitPages that may still come
// finds no profile open and writes nothing.
TEST_F(CalWizardTest, CancelReleasesTheEngineSoThatNothingIsWritten) {
  OpenStored(StoredProfile());
  const sim::Profile before = sim::LoadProfileFile(ControlFile());
  setup::cal::CWizRange page(setup);
  page.Start();
  page.PastCountChanged(u"9", 0);
  page.Next();
  engines.calls.clear();
  page.Cancel();
  EXPECT_FALSE(Session().HoldsEngine());
  EXPECT_EQ(engines.alive, 0);
  EXPECT_EQ(engines.calls, std::vector<std::string>{"close"});
  Session().CommitWizardData(setup::WizardData{u"jdoe", u"/ph"});
  EXPECT_EQ(engines.calls, std::vector<std::string>{"close"});
  EXPECT_TRUE(sim::LoadProfileFile(ControlFile()) == before);
}

}  // namespace
}  // namespace cal_setup_tests
