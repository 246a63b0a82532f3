// The three wizard pages of emailsetup: where each starts, the account page's buttons, and what
// Next stores.

#include <gtest/gtest.h>

#include "framework/data_types.h"
#include "framework/text_codec.h"
#include "setup/emailsetup/wizard_pages.h"
#include "tests/setup/email_setup_harness.h"

namespace setup_tests {
namespace {

namespace block_a = framework::block_a;
namespace block_c = framework::block_c_mail;
using framework::block_b_mail::DeviceAccount;
using setup::WizardButtons;
constexpr int16_t kEmail = framework::data_type::kEmail;

using WizardPagesTest = EmailSetupTest;

// The account page starts with the default name whatever is stored, and Next stays off while
// the name is empty.
TEST_F(WizardPagesTest, AccountPageStartsWithTheDefaultNameAndNeedsOne) {
  sim::Profile stored = StoredProfile();
  stored.b.Set(DeviceAccount, u"Home (PC mail)");
  OpenStored(stored);
  setup::email::CWizAccount page(setup);
  page.Start();
  EXPECT_EQ(page.account, u"DESK-7");
  EXPECT_EQ(page.Buttons(), WizardButtons::kBackAndNext);
  EXPECT_EQ(page.AccountChanged(u""), WizardButtons::kBackOnly);
  EXPECT_EQ(page.Back(), WizardButtons::kBackAndNext);
  EXPECT_EQ(page.AccountChanged(u"\u0393\u03c1\u03b1\u03c6\u03b5\u03af\u03bf"),
            WizardButtons::kBackAndNext);
  page.Next();
  EXPECT_EQ(Data().b.Get(DeviceAccount), u"\u0393\u03c1\u03b1\u03c6\u03b5\u03af\u03bf (PC mail)");
  EXPECT_EQ(Data().a.Get(block_a::AccountChanged), 0);
  EXPECT_TRUE(ui.messageBoxes.empty());
}

TEST_F(WizardPagesTest, RangePageStoresTheRangeButLeavesRangeChanged) {
  const struct {
    const char* name;
    const char16_t* typed;
    int unit;
    bool deleteOld;
    int16_t count, days, deleteTypes, deleteCount, deleteUnit;
  } rows[] = {
      {"as it starts", u"3", 0, true, 3, 1, 64, 3, 1},
      {"two months", u"2", 2, true, 2, 30, 64, 2, 30},
      {"without the deletion", u"2", 2, false, 2, 30, 0, 9, 9},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    stored.a.Set(block_a::DeleteOldCount[kEmail], 9);
    stored.a.Set(block_a::DeleteOldUnit[kEmail], 9);
    OpenStored(stored);
    setup::email::CWizRange page(setup);
    page.Start();
    EXPECT_EQ(page.range.count.Position(), 3);
    EXPECT_EQ(page.range.unit, 0);
    EXPECT_TRUE(page.range.deleteOld);
    page.CountChanged(row.typed, 0);
    page.range.unit = row.unit;
    page.range.deleteOld = row.deleteOld;
    page.Next();
    const framework::SetupBlock& a = Data().a;
    EXPECT_EQ(a.Get(block_a::MailRangeCount), row.count);
    EXPECT_EQ(a.Get(block_a::MailRangeUnit), row.days);
    EXPECT_EQ(a.Get(block_a::DeleteOldTypes), row.deleteTypes);
    EXPECT_EQ(a.Get(block_a::DeleteOldCount[kEmail]), row.deleteCount);
    EXPECT_EQ(a.Get(block_a::DeleteOldUnit[kEmail]), row.deleteUnit);
    EXPECT_EQ(a.Get(block_a::RangeChanged), 0);
    Session().Release();
  }
}

// The size page offers 1 to 50 KB: 0 is refused there, unlike on the Restrictions page.
TEST_F(WizardPagesTest, SizePageStoresTheLimitAndTheAttachments) {
  OpenStored(StoredProfile());
  setup::email::CWizSize page(setup);
  page.Start();
  EXPECT_EQ(page.size.Position(), 10);
  EXPECT_FALSE(page.attachments);
  EXPECT_FALSE(page.SupportedOnlyEnabled());
  page.SizeChanged(u"0", 0);
  EXPECT_EQ(ui.messageBoxes.size(), 1u);
  page.SizeChanged(u"50", 0);
  page.attachments = true;
  page.supportedOnly = true;
  EXPECT_TRUE(page.SupportedOnlyEnabled());
  page.Next();
  EXPECT_EQ(Data().a.Get(block_a::MemoLimit), 50u * 1024);
  EXPECT_EQ(Data().a.Get(block_a::MailNoAttachments), 0);
  EXPECT_EQ(Data().c.Get(block_c::SupportedOnly), 1);
}

}  // namespace
}  // namespace setup_tests
