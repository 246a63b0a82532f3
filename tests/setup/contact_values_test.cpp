// contactsetup's values, field by field on the bytes: each table applied to blocks whose every
// byte is 0xA5 must give its fields their values and leave every other byte as it was, the
// host's bytes, element 5 of the per-type arrays and the label slots it does not write among
// them. Then the same values as a whole profile: a new one written by InvisibleDialog.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/setup_blocks.h"
#include "platform/code_page.h"
#include "setup/common/load_values.h"
#include "setup/contactsetup/contact_values.h"
#include "sim/host/setup_strings.h"
#include "tests/setup/contact_setup_harness.h"
#include "tests/support/block_values.h"

namespace setup_tests {
namespace {

using framework::BlockKind;
namespace block_a = framework::block_a;
namespace block_c = framework::block_c_pim;
using setup::contact::kContactSetup;

constexpr BlockKind A = BlockKind::kA, B = BlockKind::kBPim, C = BlockKind::kCPim;

using Write = testing_support::BlockValue;
using testing_support::AtOffset;

framework::SetupBlock Filled(BlockKind kind) {
  return framework::SetupBlock(kind, std::string(framework::BlockSize(kind), '\xA5'));
}

void ExpectWrites(const std::function<void(setup::Blocks&)>& apply,
                  const std::vector<Write>& rows) {
  setup::Blocks blocks(B, C);
  blocks.a = Filled(A);
  blocks.b = Filled(B);
  blocks.c = Filled(C);
  const setup::Blocks before = blocks;
  apply(blocks);
  testing_support::ExpectValuesAndNothingElse({&blocks.a, &blocks.b, &blocks.c},
                                              {&before.a, &before.b, &before.c}, rows);
}

class ContactValues : public testing::Test {
 protected:
  std::unique_ptr<platform::ResourceLibrary> library = sim::ContactSetupStrings();
  platform::Windows1252 ansi;
  setup::ComponentStrings strings{*library, ansi};
  setup::ProfilePaths paths = setup::DeriveProfilePaths(u"c:\\profiles\\contacts.bin");
  setup::ValueContext context{strings, paths, u"DESK-7"};
};

TEST_F(ContactValues, EveryLoadWritesTheFixedValuesTheIdentityAndTheDeviceValues) {
  std::vector<Write> rows = {
      {A, "Version", 0, uint32_t{0x00010000}},
      {A, "Title", 0, u"Didodudo Z380 - Synchronization (Contacts)"},
      {A, "DeviceApp", 0, u"PROTEA"},
      {A, "PCApp", 0, u"PIMSYNC"},
      {A, "LogLevel", 0, int16_t{7}},
      {A, "LogPath", 0, u"C:\\PROFILES\\CONTACTS.LOG"},
      {A, "TypeEnabled", 4, int16_t{1}},
      {A, "WorkDayStart", 0, u"19731216T090000"},
      {A, "WorkDayEnd", 0, u"19731216T170000"},
      {A, "@3664", 0, int16_t{20}},
      {A, "@3666", 0, int16_t{1}},
      {A, "@3674", 0, int16_t{2}},
      {A, "@3676", 0, int16_t{20}},
      {A, "@3692", 0, int16_t{1}},
      {B, "DeviceFile", 0, u"C:\\Documents\\Agenda"},
      {B, "WorkPath", 0, u"C:\\PROFILES\\CONTACTS.WKF"},
      {B, "@1024", 0, u"To-do list"},
      {B, "@17034", 0, int16_t{1}},
      {C, "UseContactsManager", 0, int16_t{1}},
      {C, "@1540", 0, int16_t{1}},
  };
  for (int t = 0; t <= 3; ++t)
    rows.push_back({A, "TypeEnabled", t, int16_t{0}});
  for (int t = 0; t <= 4; ++t) {
    rows.push_back({A, "DeviceCodePage", t, uint32_t{65001}});
    rows.push_back({A, "PCCodePage", t, uint32_t{65001}});
  }
  for (int offset : {3658, 3662, 3694, 3696, 3704, 6882, 7806})
    rows.push_back({A, AtOffset(offset), 0, int16_t{0}});
  for (int t : {0, 1, 2, 3, 4, 6, 7}) {
    rows.push_back({A, "@6288", t, int16_t{0}});
    rows.push_back({A, "@6320", t, int16_t{0}});
    rows.push_back({A, "@6416", t, int16_t{720}});
    rows.push_back({A, "@6448", t, int16_t{720}});
  }
  for (int t = 0; t < 7; ++t)
    rows.push_back({A, "@6796", t, int16_t{1}});
  const std::pair<int, std::u16string> labels[] = {
      {0, u"LastName:"},     {1, u"FirstName:"},    {2, u"MidName:"},  {3, u"Company:"},
      {5, u"JobTitle:"},     {6, u"WorkAddr:"},     {7, u"WorkCity:"}, {8, u"WorkCounty:"},
      {9, u"WorkPostcode:"}, {10, u"WorkCountry:"}, {16, u"WorkTel:"}, {17, u"WorkFax:"},
      {18, u"HomeTel:"},     {19, u"Mobile:"},      {20, u"Email:"},
  };
  for (const auto& [slot, label] : labels)
    rows.push_back({B, "@2644", slot, label});
  ExpectWrites(
      [this](setup::Blocks& blocks) { setup::WriteLoadValues(kContactSetup, blocks, 7, context); },
      rows);
}

// Deletion on (15, monthly) with the counts left as they were, GroupWise winning and deleting,
// GroupWise's own login, and the book named after the device.
TEST_F(ContactValues, DefaultsNameTheDevicesBookAndLetGroupWiseLogIn) {
  std::vector<Write> rows = {
      {A, "DeleteRule", 0, int16_t{0}},
      {A, "ConflictRule", 0, int16_t{1}},
      {A, "DeleteOldTypes", 0, int16_t{15}},
      {C, "ManualLogin", 0, int16_t{0}},
      {C, "LoginUser", 0, u""},
      {C, "LoginParams", 0, u""},
      {C, "AddressBook", 0, u"Didodudo Z380"},
  };
  for (int t = 0; t <= 3; ++t)
    rows.push_back({A, "DeleteOldUnit", t, int16_t{30}});
  ExpectWrites([this](setup::Blocks& blocks) { kContactSetup.applyDefaults(blocks, context); },
               rows);
}

TEST_F(ContactValues, CommitValuesFixWhatTheWizardHasNoPageFor) {
  ExpectWrites([](setup::Blocks& blocks) { kContactSetup.applyCommitValues(blocks); },
               {
                   {A, "DeleteRule", 0, int16_t{0}},
                   {A, "ConflictRule", 0, int16_t{1}},
               });
}

// Every text the component shows or stores is in its table: a line lost from the table would
// otherwise show as an empty page, title or caption.
TEST_F(ContactValues, TheStringTableHoldsEveryTextTheComponentUses) {
  for (int id : {104, 106, 113, 114, 131, 138, 57344, 57347, 57348})
    EXPECT_FALSE(strings.Ansi(id).empty()) << "string " << id;
  EXPECT_EQ(strings.Ansi(kContactSetup.blankStringId), " ");
  EXPECT_EQ(strings.Ansi(57344), "Contact Options for Novell GroupWise");
}

using ContactProfileTest = ContactSetupTest;

// A profile InvisibleDialog writes for a control file that does not exist yet: the book named
// after the device, no manual login, GroupWise winning, deletions on the device deleting the
// GroupWise entry; and a stored profile's manual login given up with its texts.
TEST_F(ContactProfileTest, InvisibleDialogWritesAContactsProfileWithTheDefaults) {
  const struct {
    const char* name;
    bool stored;
  } rows[] = {{"a new profile", false}, {"a profile that logged in by hand", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove(ControlFile());
    if (row.stored) {
      sim::Profile stored = StoredProfile();
      stored.a.Set(block_a::ConflictRule, 0);
      stored.a.Set(block_a::DeleteRule, 16);
      stored.c.Set(block_c::ManualLogin, 1);
      stored.c.Set(block_c::LoginUser, u"jdoe");
      stored.c.Set(block_c::LoginParams, u"/ph");
      stored.c.Set(block_c::AddressBook, u"Friends");
      sim::SaveProfileFile(ControlFile(), stored);
    }
    Session().SetControlFile(WideControlFile());
    ui.messageBoxes.clear();
    EXPECT_TRUE(Session().RunInvisible());
    EXPECT_TRUE(ui.messageBoxes.empty());
    EXPECT_FALSE(Session().HoldsEngine());
    const sim::Profile profile = sim::LoadProfileFile(ControlFile());
    EXPECT_EQ(profile.a.Get(block_a::Title), u"Didodudo Z380 - Synchronization (Contacts)");
    EXPECT_EQ(profile.c.Get(block_c::AddressBook), u"Didodudo Z380");
    EXPECT_EQ(profile.c.Get(block_c::ManualLogin), 0);
    EXPECT_EQ(profile.c.Get(block_c::LoginUser), u"");
    EXPECT_EQ(profile.c.Get(block_c::LoginParams), u"");
    EXPECT_EQ(profile.a.Get(block_a::ConflictRule), 1);
    EXPECT_EQ(profile.a.Get(block_a::DeleteRule), 0);
    EXPECT_EQ(profile.a.Get(block_a::TypeEnabled[4]), 1);
    EXPECT_EQ(profile.c.Get(block_c::UseContactsManager), 1);
  }
}

}  // namespace
}  // namespace setup_tests
