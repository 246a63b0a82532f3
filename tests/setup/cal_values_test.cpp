// calsetup's values, field by field on the bytes: each table applied to blocks whose every
// byte is 0xA5 must give its fields their values and leave every other byte as it was, the
// host's bytes, the label slots it keeps and element 5 of the per-type arrays among them.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/setup_blocks.h"
#include "platform/code_page.h"
#include "setup/calsetup/cal_values.h"
#include "setup/common/load_values.h"
#include "sim/host/setup_strings.h"
#include "tests/support/block_values.h"

namespace cal_setup_tests {
namespace {

using framework::BlockKind;

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

class CalValues : public testing::Test {
 protected:
  std::unique_ptr<platform::ResourceLibrary> library = sim::CalSetupStrings();
  platform::Windows1252 ansi;
  setup::ComponentStrings strings{*library, ansi};
  setup::ProfilePaths paths = setup::DeriveProfilePaths(u"c:\\profiles\\cal.bin");
  setup::ValueContext context{strings, paths, u"DESK-7"};
};

// The fixed values every component writes, the calendar's identity and the device-side
// values it shares with contactsetup; block C is not touched.
TEST_F(CalValues, EveryLoadWritesTheFixedValuesTheIdentityAndTheDeviceValues) {
  std::vector<Write> rows = {
      {A, "Version", 0, uint32_t{0x00010000}},
      {A, "Title", 0, u"Didodudo Z380 - Synchronization (Calendar)"},
      {A, "DeviceApp", 0, u"PROTEA"},
      {A, "PCApp", 0, u"PIMSYNC"},
      {A, "LogLevel", 0, int16_t{7}},
      {A, "LogPath", 0, u"C:\\PROFILES\\CAL.LOG"},
      {A, "WorkDayStart", 0, u"19731216T090000"},
      {A, "WorkDayEnd", 0, u"19731216T170000"},
      {A, "@3664", 0, int16_t{20}},
      {A, "@3674", 0, int16_t{2}},
      {A, "@3666", 0, int16_t{1}},
      {A, "@3692", 0, int16_t{1}},
      {A, "@7806", 0, int16_t{1}},
      {B, "DeviceFile", 0, u"C:\\Documents\\Agenda"},
      {B, "WorkPath", 0, u"C:\\PROFILES\\CAL.WKF"},
      {B, "@1024", 0, u"To-do list"},
      {B, "@17034", 0, int16_t{1}},
  };
  for (int t : {0, 1, 3})
    rows.push_back({A, "TypeEnabled", t, int16_t{1}});
  for (int t : {2, 4})
    rows.push_back({A, "TypeEnabled", t, int16_t{0}});
  for (int t = 0; t < 4; ++t) {
    rows.push_back({A, "DeviceCodePage", t, uint32_t{65001}});
    rows.push_back({A, "PCCodePage", t, uint32_t{65001}});
  }
  for (int offset : {3658, 3662, 3694, 3696, 3704, 6882})
    rows.push_back({A, AtOffset(offset), 0, int16_t{0}});
  for (int t : {0, 1, 2, 3, 4, 6, 7}) {
    rows.push_back({A, "@6288", t, int16_t{0}});
    rows.push_back({A, "@6320", t, int16_t{0}});
    rows.push_back({A, "@6416", t, int16_t{720}});
    rows.push_back({A, "@6448", t, int16_t{720}});
  }
  for (int t = 0; t < 7; ++t)
    rows.push_back({A, "@6796", t, int16_t{1}});
  const std::pair<int, const char16_t*> labels[] = {
      {0, u"LastName:"},     {1, u"FirstName:"},    {2, u"MidName:"},  {3, u"Company:"},
      {5, u"JobTitle:"},     {6, u"WorkAddr:"},     {7, u"WorkCity:"}, {8, u"WorkCounty:"},
      {9, u"WorkPostcode:"}, {10, u"WorkCountry:"}, {16, u"WorkTel:"}, {17, u"WorkFax:"},
      {18, u"HomeTel:"},     {19, u"Mobile:"},      {20, u"Email:"},
  };
  for (const auto& [slot, label] : labels)
    rows.push_back({B, "@2644", slot, label});
  ExpectWrites(
      [this](setup::Blocks& blocks) {
        setup::WriteLoadValues(setup::cal::kCalSetup, blocks, 7, context);
      },
      rows);
}

TEST_F(CalValues, DefaultsAreAMonthBackSixAheadAndAMonthsDeletion) {
  std::vector<Write> rows = {
      {A, "DeleteRule", 0, int16_t{0}},      {A, "ConflictRule", 0, int16_t{1}},
      {A, "CalPastCount", 0, int16_t{1}},    {A, "CalPastUnit", 0, int16_t{30}},
      {A, "CalFutureCount", 0, int16_t{6}},  {A, "CalFutureUnit", 0, int16_t{30}},
      {A, "DeleteOldTypes", 0, int16_t{15}},
  };
  for (int t = 0; t < 4; ++t) {
    rows.push_back({A, "DeleteOldUnit", t, int16_t{30}});
    rows.push_back({A, "DeleteOldCount", t, int16_t{1}});
  }
  ExpectWrites(
      [this](setup::Blocks& blocks) { setup::cal::kCalSetup.applyDefaults(blocks, context); },
      rows);
}

TEST_F(CalValues, CommitValuesFixWhatTheWizardHasNoPageFor) {
  ExpectWrites([](setup::Blocks& blocks) { setup::cal::kCalSetup.applyCommitValues(blocks); },
               {
                   {A, "DeleteRule", 0, int16_t{0}},
                   {A, "ConflictRule", 0, int16_t{1}},
               });
}

// The deletion switched off touches only its switch: the limits stay for the day it is back on.
TEST_F(CalValues, TheDeletionStoresItsLimitsOnlyWhenOn) {
  std::vector<Write> on = {{A, "DeleteOldTypes", 0, int16_t{15}}};
  for (int t = 0; t < 4; ++t) {
    on.push_back({A, "DeleteOldUnit", t, int16_t{7}});
    on.push_back({A, "DeleteOldCount", t, int16_t{2}});
  }
  ExpectWrites([](setup::Blocks& blocks) { setup::cal::StoreDeleteOld(blocks.a, true, 2, 7); }, on);
  ExpectWrites([](setup::Blocks& blocks) { setup::cal::StoreDeleteOld(blocks.a, false, 2, 7); },
               {{A, "DeleteOldTypes", 0, int16_t{0}}});
}

// Every text the component shows or stores is in its table: a line lost from the table would
// otherwise show as an empty message or an empty title.
TEST_F(CalValues, TheStringTableHoldsEveryTextTheComponentUses) {
  for (int id : {104, 106, 113, 114, 115, 116, 117, 118, 119, 120, 121, 125, 131, 132, 133, 134,
                 138, 143, 57344}) {
    EXPECT_FALSE(strings.Ansi(id).empty()) << "string " << id;
  }
  for (int id : {114, 116, 143})
    EXPECT_EQ(strings.Ansi(id), " ") << "string " << id;
  EXPECT_EQ(strings.Ansi(57344), "Calendar Options for Novell GroupWise");
  EXPECT_EQ(strings.Ansi(121), "Invalid number, please enter a number from ");
  EXPECT_TRUE(strings.Ansi(131).ends_with("or not. "));
  EXPECT_EQ(strings.Ansi(138).find("\n\nSelect the action"), 60u) << "\\n read as line breaks";
}

}  // namespace
}  // namespace cal_setup_tests
