// The four pages of calsetup's Settings sheet as models: what each shows for a new and a
// stored profile, the General page's enable rule, and what accepting stores or marks as
// changed.

#include <gtest/gtest.h>

#include "framework/setup_blocks.h"
#include "setup/calsetup/settings_pages.h"
#include "tests/setup/cal_setup_harness.h"

namespace cal_setup_tests {
namespace {

namespace block_a = framework::block_a;
namespace block_c = framework::block_c_pim;
using setup::cal::CDatePage;
using setup::cal::CProfilePage;

using CalPagesTest = CalSetupTest;

// ---- General

TEST_F(CalPagesTest, GeneralShowsAndStoresTheLogin) {
  const struct {
    const char* name;
    int16_t storedManual;
    bool manual;
    std::u16string user, params;
    int16_t wantedManual;
    std::u16string wantedUser;
  } rows[] = {
      {"off, turned on", 0, true, u"jdoe", u"/ph", 1, u"jdoe"},
      {"any non-zero value is on, turned off", 0x100, false, u"jdoe", u"/ph", 0, u"jdoe"},
      {"cut to the field", 1, true, std::u16string(300, u'u'), u"", 1, std::u16string(255, u'u')},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    stored.c.Set(block_c::ManualLogin, row.storedManual);
    stored.c.Set(block_c::LoginUser, u"stored");
    stored.c.Set(block_c::LoginParams, u"/stored");
    stored.c.Set(block_c::AddressBook, u"Book");
    OpenStored(stored);
    CProfilePage page(setup);
    page.Fill();
    EXPECT_EQ(page.controls.manualLogin, row.storedManual != 0);
    EXPECT_EQ(page.UserAndParamsEnabled(), row.storedManual != 0);
    EXPECT_EQ(page.controls.user, u"stored");
    EXPECT_EQ(page.controls.params, u"/stored");
    page.controls.manualLogin = row.manual;
    EXPECT_EQ(page.UserAndParamsEnabled(), row.manual);
    page.controls.user = row.user;
    page.controls.params = row.params;
    page.Accept();
    const framework::SetupBlock& c = Data().c;
    EXPECT_EQ(c.Get(block_c::ManualLogin), row.wantedManual);
    EXPECT_EQ(Utf8(c.Get(block_c::LoginUser)), Utf8(row.wantedUser));
    EXPECT_EQ(Utf8(c.Get(block_c::LoginParams)), Utf8(row.params));
    EXPECT_EQ(c.Get(block_c::AddressBook), u"Book") << "not the page's";
    Session().Release();
  }
}

// ---- Date Range

// The deletion shows as stored whether the profile is new or not; a new profile's range is a
// month back and six ahead whatever its blocks hold.
TEST_F(CalPagesTest, DateRangeShowsTheStoredRangeOrAMonthBackAndSixAhead) {
  const struct {
    const char* name;
    bool isNew;
    int16_t pastCount, pastUnit, futureCount, futureUnit, deleteOldTypes;
    int shownPast, shownPastUnit, shownFuture, shownFutureUnit;
    bool deleteOld;
    const char* caption;
  } rows[] = {
      {"new, as the host makes it", true, 0, 0, 0, 0, 0, 1, 2, 6, 2, false,
       "Delete calendar items older than 1 Month(s) from the smartphone after synchronization"},
      {"new, with the deletion stored on", true, 3, 7, 2, 365, 15, 1, 2, 6, 2, true,
       "Delete calendar items older than 1 Month(s) from the smartphone after synchronization"},
      {"two weeks back, a year ahead", false, 2, 7, 1, 365, 15, 2, 1, 1, 3, true,
       "Delete calendar items older than 2 Week(s) from the smartphone after synchronization"},
      {"days, deletion off", false, 30, 1, 12, 1, 0, 30, 0, 12, 0, false,
       "Delete calendar items older than 30 Day(s) from the smartphone after synchronization"},
      {"units no list has", false, 4, 14, 5, 0, 15, 4, 0, 5, 0, true,
       "Delete calendar items older than 4 Day(s) from the smartphone after synchronization"},
      {"counts beyond the field", false, 0, 30, 99, 30, 15, 1, 2, 30, 2, true,
       "Delete calendar items older than 1 Month(s) from the smartphone after synchronization"},
      {"deletion of other types only", false, 1, 30, 6, 30, 64, 1, 2, 6, 2, false,
       "Delete calendar items older than 1 Month(s) from the smartphone after synchronization"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = row.isNew ? sim::Profile() : StoredProfile();
    stored.a.Set(block_a::CalPastCount, row.pastCount);
    stored.a.Set(block_a::CalPastUnit, row.pastUnit);
    stored.a.Set(block_a::CalFutureCount, row.futureCount);
    stored.a.Set(block_a::CalFutureUnit, row.futureUnit);
    stored.a.Set(block_a::DeleteOldTypes, row.deleteOldTypes);
    OpenStored(stored);
    ASSERT_EQ(Session().IsNewProfile(), row.isNew);
    CDatePage page(setup);
    page.Fill();
    EXPECT_EQ(page.range.pastCount.Position(), row.shownPast);
    EXPECT_EQ(page.range.pastUnit, row.shownPastUnit);
    EXPECT_EQ(page.range.futureCount.Position(), row.shownFuture);
    EXPECT_EQ(page.range.futureUnit, row.shownFutureUnit);
    EXPECT_EQ(page.range.deleteOld, row.deleteOld);
    EXPECT_EQ(Utf8(page.range.DeleteCaption()), row.caption);
    Session().Release();
  }
}

// The unit lists offer Day(s), Week(s), Month(s), Year(s) in this order, and the caption follows
// the past count and unit only.
TEST_F(CalPagesTest, DateRangeListsTheUnitsAndItsCaptionFollowsThePast) {
  OpenStored(StoredProfile());
  CDatePage page(setup);
  page.Fill();
  EXPECT_EQ(page.range.UnitNames(),
            (std::vector<std::u16string>{u"Day(s)", u"Week(s)", u"Month(s)", u"Year(s)"}));
  page.PastCountChanged(u"12", 0);
  page.range.pastUnit = 3;
  page.FutureCountChanged(u"2", 0);
  page.range.futureUnit = 0;
  EXPECT_EQ(Utf8(page.range.DeleteCaption()),
            "Delete calendar items older than 12 Year(s) from the smartphone after "
            "synchronization");
  EXPECT_EQ(page.StaticTexts(),
            (std::vector<setup::ControlText>{
                {239,
                 u"Specify the Date Range of calendar items that will be included in the "
                 u"synchronization. "},
                {602,
                 u"To save space in your smartphone, you can have calendar items older than "
                 u"that selected above automatically deleted from your smartphone."}}));
}

// Both counts are numeric fields of 1 to 30 whose message ends in the component's blank.
TEST_F(CalPagesTest, DateRangeCountsRefuseWhatLiesOutsideOneToThirty) {
  OpenStored(StoredProfile());
  CDatePage page(setup);
  page.Fill();
  const struct {
    const char* name;
    bool future;
    const char16_t* typed;
    int position;
    bool message;
  } rows[] = {
      {"past 30", false, u"30", 30, false},
      {"past 31", false, u"31", 30, true},
      {"future 0", true, u"0", 6, true},
      {"future 07", true, u"07", 7, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ui.messageBoxes.clear();
    if (row.future) {
      page.FutureCountChanged(row.typed, 5);
    } else {
      page.PastCountChanged(row.typed, 5);
    }
    EXPECT_EQ((row.future ? page.range.futureCount : page.range.pastCount).Position(),
              row.position);
    ASSERT_EQ(ui.messageBoxes.size(), row.message ? 1u : 0u);
    if (row.message) {
      EXPECT_EQ(ui.messageBoxes[0].text, "Invalid number, please enter a number from 1 - 30 ");
      EXPECT_EQ(ui.messageBoxes[0].caption, kTitle);
      EXPECT_EQ(ui.messageBoxes[0].owner, 5u);
    }
  }
}

// RangeChanged follows a change of a unit, a count, or of the past range against the
// deletion's limit of the appointments, whether the deletion is on or not; the deletion's
// limits follow the past range only while it is on.
TEST_F(CalPagesTest, DateRangeAcceptsTheRangeAndMarksItChanged) {
  constexpr int kAsShown = -1;
  // The stored profile: 1 Month(s) back, 6 Month(s) ahead, deleted after 1 Month(s).
  const struct {
    const char* name;
    int16_t storedPastUnit;
    int16_t deleteCount, deleteUnit;  // stored limit of every calendar type
    const char16_t *past, *future;
    // List entries: 0 Day(s), 1 Week(s), 2 Month(s), 3 Year(s); kAsShown leaves the list alone.
    int pastUnit, futureUnit;
    bool deleteOld;
    int16_t rangeChanged;
    int16_t wantedPastCount, wantedPastUnit, wantedFutureCount, wantedFutureUnit;
    int16_t wantedTypes, wantedDeleteCount, wantedDeleteUnit;
  } rows[] = {
      {"nothing changed", 30, 1, 30, u"1", u"6", 2, 2, true, 0, 1, 30, 6, 30, 15, 1, 30},
      {"only the future count", 30, 1, 30, u"1", u"7", 2, 2, true, 1, 1, 30, 7, 30, 15, 1, 30},
      {"the future unit", 30, 1, 30, u"1", u"6", 2, 3, true, 1, 1, 30, 6, 365, 15, 1, 30},
      {"the past count", 30, 1, 30, u"2", u"6", 2, 2, true, 1, 2, 30, 6, 30, 15, 2, 30},
      {"the past unit", 30, 1, 30, u"1", u"6", 1, 2, true, 1, 1, 7, 6, 30, 15, 1, 7},
      {"the deletion's count differed", 30, 3, 30, u"1", u"6", 2, 2, true, 1, 1, 30, 6, 30, 15, 1,
       30},
      {"the deletion's unit differed", 30, 1, 7, u"1", u"6", 2, 2, true, 1, 1, 30, 6, 30, 15, 1,
       30},
      {"deletion off, nothing changed", 30, 1, 30, u"1", u"6", 2, 2, false, 0, 1, 30, 6, 30, 0, 1,
       30},
      {"deletion off, the past count changed: the limits stay", 30, 1, 30, u"4", u"6", 2, 2, false,
       1, 4, 30, 6, 30, 0, 1, 30},
      {"a stored unit of 14 accepted untouched", 14, 1, 30, u"1", u"6", kAsShown, kAsShown, true, 1,
       1, 1, 6, 30, 15, 1, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    stored.a.Set(block_a::CalPastUnit, row.storedPastUnit);
    for (int t = 0; t < 4; ++t) {
      stored.a.Set(block_a::DeleteOldCount[t], row.deleteCount);
      stored.a.Set(block_a::DeleteOldUnit[t], row.deleteUnit);
    }
    OpenStored(stored);
    CDatePage page(setup);
    page.Fill();
    page.PastCountChanged(row.past, 0);
    page.FutureCountChanged(row.future, 0);
    if (row.pastUnit != kAsShown) page.range.pastUnit = row.pastUnit;
    if (row.futureUnit != kAsShown) page.range.futureUnit = row.futureUnit;
    page.range.deleteOld = row.deleteOld;
    page.Accept();
    const framework::SetupBlock& a = Data().a;
    EXPECT_EQ(a.Get(block_a::RangeChanged), row.rangeChanged);
    EXPECT_EQ(a.Get(block_a::CalPastCount), row.wantedPastCount);
    EXPECT_EQ(a.Get(block_a::CalPastUnit), row.wantedPastUnit);
    EXPECT_EQ(a.Get(block_a::CalFutureCount), row.wantedFutureCount);
    EXPECT_EQ(a.Get(block_a::CalFutureUnit), row.wantedFutureUnit);
    EXPECT_EQ(a.Get(block_a::DeleteOldTypes), row.wantedTypes);
    for (int t = 0; t < 4; ++t) {
      SCOPED_TRACE("type " + std::to_string(t));
      const bool limitsStored = row.deleteOld;
      EXPECT_EQ(a.Get(block_a::DeleteOldCount[t]),
                limitsStored ? row.wantedDeleteCount : row.deleteCount);
      EXPECT_EQ(a.Get(block_a::DeleteOldUnit[t]),
                limitsStored ? row.wantedDeleteUnit : row.deleteUnit);
    }
    Session().Release();
  }
}

// A RangeChanged the host has not yet taken stays set when nothing changed.
TEST_F(CalPagesTest, DateRangeLeavesAStoredRangeChangedAsItWas) {
  sim::Profile stored = StoredProfile();
  stored.a.Set(block_a::RangeChanged, 1);
  OpenStored(stored);
  CDatePage page(setup);
  page.Fill();
  page.Accept();
  EXPECT_EQ(Data().a.Get(block_a::RangeChanged), 1);
}

// ---- Conflict Resolution, Delete Options, and pages never shown

TEST_F(CalPagesTest, ConflictAndDeletePagesShowAndStoreTheirRule) {
  const struct {
    const char* name;
    bool isNew;
    int16_t conflictRule, deleteRule;
    bool groupWiseWins, keep;
  } rows[] = {
      {"new", true, 0, 0, true, false},
      {"device wins, kept in GroupWise", false, 0, 15, false, true},
      {"GroupWise wins, deleted", false, 1, 0, true, false},
      {"another component's values", false, 7, 64, false, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = row.isNew ? sim::Profile() : StoredProfile();
    stored.a.Set(block_a::ConflictRule, row.conflictRule);
    stored.a.Set(block_a::DeleteRule, row.deleteRule);
    OpenStored(stored);
    setup::cal::CConflictPage conflict(setup);
    setup::cal::CDeleteOptions deletion(setup);
    conflict.Fill();
    deletion.Fill();
    EXPECT_EQ(conflict.groupWiseWins, row.groupWiseWins);
    EXPECT_EQ(deletion.keepInGroupWise, row.keep);
    conflict.groupWiseWins = !conflict.groupWiseWins;
    deletion.keepInGroupWise = !deletion.keepInGroupWise;
    conflict.Accept();
    deletion.Accept();
    EXPECT_EQ(Data().a.Get(block_a::ConflictRule), row.groupWiseWins ? 0 : 1);
    EXPECT_EQ(Data().a.Get(block_a::DeleteRule), row.keep ? 0 : 15);
    Session().Release();
  }
}

TEST_F(CalPagesTest, ConflictAndDeletePagesJoinTheirTexts) {
  OpenStored(StoredProfile());
  const std::vector<setup::ControlText> conflict = setup::cal::CConflictPage(setup).StaticTexts();
  const std::vector<setup::ControlText> deletion = setup::cal::CDeleteOptions(setup).StaticTexts();
  ASSERT_EQ(conflict.size(), 1u);
  EXPECT_EQ(conflict[0].id, 238);
  EXPECT_EQ(Utf8(conflict[0].text),
            "Select the action to be taken when changes made in the smartphone conflict with "
            "changes in GroupWise. ");
  ASSERT_EQ(deletion.size(), 1u);
  EXPECT_EQ(deletion[0].id, 136);
  EXPECT_TRUE(Utf8(deletion[0].text).starts_with("If you synchronize a calendar item"));
  EXPECT_TRUE(Utf8(deletion[0].text).find("or not. This is useful") != std::string::npos);
}

TEST_F(CalPagesTest, APageNeverShownWritesNothing) {
  OpenStored(StoredProfile());
  const setup::Blocks before = Data();
  CProfilePage general(setup);
  CDatePage date(setup);
  setup::cal::CConflictPage conflict(setup);
  setup::cal::CDeleteOptions deletion(setup);
  general.controls.manualLogin = true;
  general.controls.user = u"someone";
  date.range.deleteOld = false;
  date.range.pastUnit = 3;
  conflict.groupWiseWins = false;
  deletion.keepInGroupWise = true;
  general.Accept();
  date.Accept();
  conflict.Accept();
  deletion.Accept();
  EXPECT_EQ(Data().a, before.a);
  EXPECT_EQ(Data().b, before.b);
  EXPECT_EQ(Data().c, before.c);
}

}  // namespace
}  // namespace cal_setup_tests
