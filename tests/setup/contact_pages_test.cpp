// contactsetup's page models: what the General, Restrictions, Conflict Resolution and Delete
// Options pages show for a stored profile and store when accepted, and the wizard's address
// book page with its buttons.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "framework/setup_blocks.h"
#include "framework/text_codec.h"
#include "setup/contactsetup/settings_pages.h"
#include "setup/contactsetup/wizard_pages.h"
#include "tests/setup/contact_setup_harness.h"

namespace setup_tests {
namespace {

namespace block_a = framework::block_a;
namespace block_c = framework::block_c_pim;
using setup::WizardButtons;
using setup::contact::CConflictPage;
using setup::contact::CDeleteOptions;
using setup::contact::CGroupWiseProfile;
using setup::contact::CRestrictions;
using setup::contact::CWizAddressBook;

std::string Utf8(const std::u16string& text) {
  return framework::Utf16ToUtf8(text);
}

// ---- General

TEST_F(ContactSetupTest, GeneralEnablesTheLoginTextsOnlyForAManualLogin) {
  for (int16_t stored : {0, 1, 256}) {
    SCOPED_TRACE(stored);
    sim::Profile profile = StoredProfile();
    profile.c.Set(block_c::ManualLogin, stored);
    profile.c.Set(block_c::LoginUser, u"jdoe");
    profile.c.Set(block_c::LoginParams, u"/ph");
    profile.c.Set(block_c::AddressBook, u"Friends");
    OpenStored(profile);
    CGroupWiseProfile page(setup);
    page.Fill();
    EXPECT_EQ(page.controls.manualLogin, stored != 0);
    EXPECT_EQ(page.UserAndParamsEnabled(), stored != 0);
    EXPECT_EQ(page.controls.user, u"jdoe");
    EXPECT_EQ(page.controls.params, u"/ph");
    EXPECT_EQ(page.controls.addressBook, u"Friends");
    page.controls.manualLogin = !page.controls.manualLogin;
    EXPECT_EQ(page.UserAndParamsEnabled(), stored == 0);
    Session().Release();
  }
}

TEST_F(ContactSetupTest, GeneralStoresTheCheckBoxAndEachTextCutToItsField) {
  const std::u16string longText(300, u'x');
  const struct {
    const char* name;
    bool manualLogin;
    std::u16string user, params, addressBook;
    int16_t storedLogin;
    std::u16string storedUser, storedParams, storedBook;
  } rows[] = {
      {"as typed", true, u"\u0394\u03bf\u03ba", u"/ph", u"Family", 1, u"\u0394\u03bf\u03ba", u"/ph",
       u"Family"},
      {"no manual login, the texts still stored", false, u"jdoe", u"", u"Family", 0, u"jdoe", u"",
       u"Family"},
      {"an empty book stays empty", true, u"jdoe", u"/ph", u"", 1, u"jdoe", u"/ph", u""},
      {"255 characters each", true, longText, longText, longText, 1, std::u16string(255, u'x'),
       std::u16string(255, u'x'), std::u16string(255, u'x')},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile profile = StoredProfile();
    profile.c.Set(block_c::AddressBook, u"Old book");
    OpenStored(profile);
    CGroupWiseProfile page(setup);
    page.Fill();
    page.controls = {row.manualLogin, row.user, row.params, row.addressBook};
    page.Accept();
    const framework::SetupBlock& c = Data().c;
    EXPECT_EQ(c.Get(block_c::ManualLogin), row.storedLogin);
    EXPECT_EQ(Utf8(c.Get(block_c::LoginUser)), Utf8(row.storedUser));
    EXPECT_EQ(Utf8(c.Get(block_c::LoginParams)), Utf8(row.storedParams));
    EXPECT_EQ(Utf8(c.Get(block_c::AddressBook)), Utf8(row.storedBook));
    Session().Release();
  }
}

// A page the user never opened leaves its fields as loaded, whatever its controls hold.
TEST_F(ContactSetupTest, PagesNeverShownStoreNothing) {
  sim::Profile profile = StoredProfile();
  profile.a.Set(block_a::ContactFieldGroups, 27);
  profile.c.Set(block_c::AddressBook, u"Friends");
  OpenStored(profile);
  const setup::Blocks before = Data();
  CGroupWiseProfile general(setup);
  general.controls.addressBook = u"Other";
  general.Accept();
  CRestrictions restrictions(setup);
  restrictions.checked[0] = true;
  restrictions.Accept();
  CWizAddressBook wizard(setup);
  wizard.addressBook = u"Other";
  wizard.Next();
  EXPECT_EQ(Data().a, before.a);
  EXPECT_EQ(Data().c, before.c);
}

// ---- Restrictions

TEST_F(ContactSetupTest, RestrictionsSelectTheStoredGroupAmongTheVisibleButtons) {
  const struct {
    uint32_t stored;
    std::optional<std::size_t> selected;  // index in CRestrictions::kFieldGroups
  } rows[] = {
      {0, 0},
      {551, 1},
      {4069, 2},
      {8165, 3},
      {27, std::nullopt},  // its button is hidden
      {1, std::nullopt},
      {0xFFFFFFFF, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stored);
    sim::Profile profile = StoredProfile();
    profile.a.Set(block_a::ContactFieldGroups, row.stored);
    OpenStored(profile);
    CRestrictions page(setup);
    page.checked = {true, true, true, true, true};
    page.Fill();
    for (std::size_t i = 0; i < page.checked.size(); ++i)
      EXPECT_EQ(page.checked[i], row.selected == i) << "button " << i;
    // Accepted untouched, the stored value stays, shown or not.
    page.Accept();
    EXPECT_EQ(Data().a.Get(block_a::ContactFieldGroups), row.stored);
    EXPECT_EQ(Data().a.Get(block_a::RangeChanged), 0);
    Session().Release();
  }
}

TEST_F(ContactSetupTest, RestrictionsStoreTheFirstCheckedButtonsGroup) {
  const struct {
    const char* name;
    std::array<bool, 5> checked;
    uint32_t stored;
  } rows[] = {
      {"All fields", {true, false, false, false, false}, 0},
      {"Name and all numbers", {false, true, false, false, false}, 551},
      {"Name and work details", {false, false, true, false, false}, 4069},
      {"Name and work details + notes", {false, false, false, true, false}, 8165},
      {"Name and home details", {false, false, false, false, true}, 27},
      {"two checked: the first in order", {false, false, true, false, true}, 4069},
      {"none checked: kept", {false, false, false, false, false}, 1234},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile profile = StoredProfile();
    profile.a.Set(block_a::ContactFieldGroups, 1234);
    OpenStored(profile);
    CRestrictions page(setup);
    page.Fill();
    page.checked = row.checked;
    page.Accept();
    EXPECT_EQ(Data().a.Get(block_a::ContactFieldGroups), row.stored);
    Session().Release();
  }
}

TEST_F(ContactSetupTest, EachPageShowsItsTextsFromTheComponentsTable) {
  OpenStored(StoredProfile());
  const std::u16string restrictions = CRestrictions(setup).StaticTexts().at(0).text;
  EXPECT_TRUE(restrictions.starts_with(u"To save space in your smartphone, you can choose"));
  EXPECT_TRUE(restrictions.ends_with(u"\n\nSelect one of the pre-defined groups:"));
  EXPECT_EQ(CRestrictions(setup).StaticTexts().at(0).id, 606);
  const setup::ControlText conflict = CConflictPage(setup).StaticTexts().at(0);
  EXPECT_EQ(conflict.id, 238);
  EXPECT_EQ(Utf8(conflict.text),
            "Select the action to be taken when changes made in the smartphone conflict with "
            "changes in GroupWise ");
  const setup::ControlText deletion = CDeleteOptions(setup).StaticTexts().at(0);
  EXPECT_EQ(deletion.id, 136);
  EXPECT_TRUE(deletion.text.find(u"or not. This is useful") != std::u16string::npos)
      << Utf8(deletion.text);
  const setup::ControlText wizard = CWizAddressBook(setup).StaticTexts().at(0);
  EXPECT_EQ(wizard.id, 613);
  EXPECT_TRUE(wizard.text.starts_with(u"You can synchronize your smartphone with a GroupWise"));
}

// ---- Delete Options

// Contacts keep their deletions back with their own bit, 16: the calendar's 15 is not theirs.
TEST_F(ContactSetupTest, DeleteOptionsKeepDeletionsWithTheContactsBit) {
  const struct {
    int16_t stored;
    bool kept;
  } rows[] = {{0, false}, {16, true}, {15, false}, {64, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stored);
    sim::Profile profile = StoredProfile();
    profile.a.Set(block_a::DeleteRule, row.stored);
    OpenStored(profile);
    CDeleteOptions page(setup);
    page.Fill();
    EXPECT_EQ(page.keepInGroupWise, row.kept);
    page.keepInGroupWise = !row.kept;
    page.Accept();
    EXPECT_EQ(Data().a.Get(block_a::DeleteRule), row.kept ? 0 : 16);
    Session().Release();
  }
}

// ---- Wizard

TEST_F(ContactSetupTest, WizardPageStartsWithTheDefaultBookAndNeedsOne) {
  sim::Profile profile = StoredProfile();
  profile.c.Set(block_c::AddressBook, u"Friends and family");
  OpenStored(profile);
  CWizAddressBook page(setup);
  page.Start();
  EXPECT_EQ(page.addressBook, u"Didodudo Z380");
  EXPECT_EQ(page.Buttons(), WizardButtons::kBackAndNext);
  EXPECT_EQ(page.AddressBookChanged(u""), WizardButtons::kBackOnly);
  EXPECT_EQ(page.Buttons(), WizardButtons::kBackOnly);
  EXPECT_EQ(page.Back(), WizardButtons::kBackAndNext);
  EXPECT_EQ(page.AddressBookChanged(u"F"), WizardButtons::kBackAndNext);
  EXPECT_EQ(page.AddressBookChanged(u" "), WizardButtons::kBackAndNext);
}

TEST_F(ContactSetupTest, WizardNextStoresTheBookInPlaceOfTheStoredOne) {
  const struct {
    const char* name;
    std::u16string typed, stored;
  } rows[] = {
      {"as started", u"Didodudo Z380", u"Didodudo Z380"},
      {"shorter than the stored one", u"Work", u"Work"},
      {"Greek", u"\u0395\u03c0\u03b1\u03c6\u03ad\u03c2", u"\u0395\u03c0\u03b1\u03c6\u03ad\u03c2"},
      {"cut to 255 characters", std::u16string(256, u'b'), std::u16string(255, u'b')},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile profile = StoredProfile();
    profile.c.Set(block_c::AddressBook, u"Friends and family");
    OpenStored(profile);
    CWizAddressBook page(setup);
    page.Start();
    page.AddressBookChanged(row.typed);
    page.Next();
    EXPECT_EQ(Utf8(Data().c.Get(block_c::AddressBook)), Utf8(row.stored));
    Session().Release();
  }
}

}  // namespace
}  // namespace setup_tests
