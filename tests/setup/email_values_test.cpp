// emailsetup's values, field by field on the bytes: each table applied to blocks whose every
// byte is 0xA5 must give its fields their values and leave every other byte as it was, the
// host's bytes and element 5 of the per-type arrays among them.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/setup_blocks.h"
#include "platform/code_page.h"
#include "setup/common/load_values.h"
#include "setup/emailsetup/email_values.h"
#include "sim/host/setup_strings.h"
#include "tests/support/block_values.h"

namespace setup_tests {
namespace {

using framework::BlockKind;

constexpr BlockKind A = BlockKind::kA, B = BlockKind::kBMail, C = BlockKind::kCMail;

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

class EmailValues : public testing::Test {
 protected:
  std::unique_ptr<platform::ResourceLibrary> library = sim::EmailSetupStrings();
  platform::Windows1252 ansi;
  setup::ComponentStrings strings{*library, ansi};
  setup::ProfilePaths paths = setup::DeriveProfilePaths(u"c:\\profiles\\mail.bin");
  setup::ValueContext context{strings, paths, u"DESK-7"};
};

TEST_F(EmailValues, EveryLoadWritesTheFixedValuesAndTheIdentityIntoBlockAOnly) {
  std::vector<Write> rows = {
      {A, "Version", 0, uint32_t{0x00010000}},
      {A, "Title", 0, u"Didodudo Z380 - Synchronization (E-mail)"},
      {A, "DeviceApp", 0, u"EPOCMAIL"},
      {A, "PCApp", 0, u"MAILSYNC"},
      {A, "LogLevel", 0, int16_t{7}},
      {A, "LogPath", 0, u"C:\\PROFILES\\MAIL.LOG"},
      {A, "TypeEnabled", 6, int16_t{1}},
      {A, "DeviceCodePage", 6, uint32_t{65001}},
      {A, "PCCodePage", 6, uint32_t{65001}},
      {A, "WorkDayStart", 0, u"19731216T090000"},
      {A, "WorkDayEnd", 0, u"19731216T170000"},
      {A, "@3664", 0, int16_t{20}},
      {A, "@3674", 0, int16_t{2}},
      {A, "@3692", 0, int16_t{1}},
      {A, "@7024", 0, int32_t{-1}},
      {A, "@7028", 0, int32_t{-1}},
  };
  for (int t = 0; t <= 4; ++t)
    rows.push_back({A, "TypeEnabled", t, int16_t{0}});
  for (int offset : {3658, 3662, 3666, 3694, 3696, 3702, 6552, 6882, 7806})
    rows.push_back({A, AtOffset(offset), 0, int16_t{0}});
  for (int t : {0, 1, 2, 3, 4, 6, 7}) {
    rows.push_back({A, "@6288", t, int16_t{0}});
    rows.push_back({A, "@6320", t, int16_t{0}});
    rows.push_back({A, "@6416", t, int16_t{720}});
    rows.push_back({A, "@6448", t, int16_t{720}});
  }
  for (int t = 0; t < 7; ++t)
    rows.push_back({A, "@6796", t, int16_t{1}});
  ExpectWrites(
      [this](setup::Blocks& blocks) {
        setup::WriteLoadValues(setup::email::kEmailSetup, blocks, 7, context);
      },
      rows);
}

TEST_F(EmailValues, DefaultsAreThreeDaysOfSmallMailFromInboxAndOutbox) {
  ExpectWrites(
      [this](setup::Blocks& blocks) { setup::email::kEmailSetup.applyDefaults(blocks, context); },
      {
          {A, "DeleteRule", 0, int16_t{0}},
          {A, "ConflictRule", 0, int16_t{1}},
          {A, "MailRangeUnit", 0, int16_t{1}},
          {A, "MailRangeCount", 0, int16_t{3}},
          {A, "DeleteOldTypes", 0, int16_t{64}},
          {A, "DeleteOldUnit", 6, int16_t{1}},
          {A, "DeleteOldCount", 6, int16_t{3}},
          {A, "MemoLimit", 0, uint32_t{10240}},
          {A, "MailNoAttachments", 0, int16_t{1}},
          {A, "MailFolders", 0, uint32_t{10}},
          {B, "DeviceAccount", 0, u"DESK-7 (PC mail)"},
      });
}

TEST_F(EmailValues, CommitValuesFixWhatTheWizardHasNoPageFor) {
  ExpectWrites([](setup::Blocks& blocks) { setup::email::kEmailSetup.applyCommitValues(blocks); },
               {
                   {A, "DeleteRule", 0, int16_t{0}},
                   {A, "ConflictRule", 0, int16_t{1}},
                   {A, "MailFolders", 0, uint32_t{10}},
               });
}

// Every text the component shows or stores is in its table: a line lost from the table would
// otherwise show as an empty message or an empty title.
TEST_F(EmailValues, TheStringTableHoldsEveryTextTheComponentUses) {
  for (int id : {104, 106, 113, 114, 115, 116, 117, 118, 119, 120, 121,   122,
                 123, 124, 125, 126, 127, 128, 129, 132, 136, 140, 144,   145,
                 302, 305, 306, 307, 311, 312, 313, 314, 315, 316, 57344, 57345}) {
    EXPECT_FALSE(strings.Ansi(id).empty()) << "string " << id;
  }
  for (int id : {114, 116, 140})
    EXPECT_EQ(strings.Ansi(id), " ") << "string " << id;
  EXPECT_EQ(strings.Ansi(145), " (PC mail)");
  EXPECT_EQ(strings.Ansi(121), "Invalid number, please enter a number from ");
}

}  // namespace
}  // namespace setup_tests
