// The five pages of emailsetup's Settings sheet as models: what each shows for a new and a
// stored profile, its enable rules, and what accepting stores, refuses or marks as changed.

#include <gtest/gtest.h>

#include "framework/data_types.h"
#include "framework/text_codec.h"
#include "setup/emailsetup/settings_pages.h"
#include "tests/setup/email_setup_harness.h"

namespace setup_tests {
namespace {

namespace block_a = framework::block_a;
namespace block_c = framework::block_c_mail;
using framework::block_b_mail::DeviceAccount;
using setup::email::CDatePage;
using setup::email::CEmFoldersPage;
using setup::email::CProfilePage;
constexpr int16_t kEmail = framework::data_type::kEmail;

using EmailPagesTest = EmailSetupTest;

std::string Utf8(const std::u16string& text) {
  return framework::Utf16ToUtf8(text);
}

// ---- General

TEST_F(EmailPagesTest, GeneralShowsTheAccountWithoutItsSuffix) {
  const struct {
    const char* name;
    bool isNew;
    std::u16string stored, computer, shown;
  } rows[] = {
      {"stored with the suffix", false, u"Home (PC mail)", u"DESK-7", u"Home"},
      {"stored without it", false, u"Home", u"DESK-7", u"Home"},
      {"a new profile: the computer's name", true, u"", u"DESK-7", u"DESK-7"},
      {"a new profile on a computer without a name", true, u"", u"", u"Work"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    stored.b.Set(DeviceAccount, row.stored);
    if (row.isNew) stored.a.Set(block_a::Title, u"");
    computerName = row.computer;
    OpenStored(stored);
    CProfilePage page(setup);
    page.Fill();
    EXPECT_EQ(Utf8(page.controls.account), Utf8(row.shown));
    Session().Release();
  }
}

// The account with its suffix is compared with the stored one: a difference is asked about,
// Yes marks the account changed, No refuses OK and stores nothing.
TEST_F(EmailPagesTest, GeneralAsksBeforeTheAccountChanges) {
  const struct {
    const char* name;
    std::u16string stored, typed;
    std::optional<int> answer;  // nothing: no question
    bool accepted;
    std::u16string account;
    int16_t accountChanged;
  } rows[] = {
      {"unchanged", u"Home (PC mail)", u"Home", std::nullopt, true, u"Home (PC mail)", 0},
      {"changed, Yes", u"Home (PC mail)", u"Office", platform::button::kYes, true,
       u"Office (PC mail)", 1},
      {"changed, No", u"Home (PC mail)", u"Office", platform::button::kNo, false, u"Home (PC mail)",
       0},
      {"stored without the suffix, Yes", u"Home", u"Home", platform::button::kYes, true,
       u"Home (PC mail)", 1},
      {"cut to the field", u"Home (PC mail)", std::u16string(70, u'n'), platform::button::kYes,
       true, std::u16string(63, u'n'), 1},
      {"no account stored yet, as in a new profile", u"", u"DESK-7", platform::button::kYes, true,
       u"DESK-7 (PC mail)", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    stored.b.Set(DeviceAccount, row.stored);
    OpenStored(stored);
    CProfilePage page(setup);
    page.Fill();
    page.controls.account = row.typed;
    page.controls.user = u"jdoe";
    page.controls.inboxOverride = true;
    page.controls.folderId = u"GW.FOLDER.HANDHELD";
    ui.messageBoxes.clear();
    if (row.answer) ui.Answer(*row.answer);
    const setup::Blocks before = Data();
    EXPECT_EQ(page.Accept(42), row.accepted);
    ASSERT_EQ(ui.messageBoxes.size(), row.answer ? 1u : 0u);
    if (row.answer) {
      EXPECT_EQ(ui.messageBoxes[0].style, platform::mb::kYesNo);
      EXPECT_EQ(ui.messageBoxes[0].caption, kTitle);
      EXPECT_EQ(ui.messageBoxes[0].owner, 42u);
      EXPECT_TRUE(ui.messageBoxes[0].text.starts_with("You have changed the PC mail account"));
      EXPECT_TRUE(ui.messageBoxes[0].text.ends_with("use this new PC mail account?"));
    }
    EXPECT_EQ(Utf8(Data().b.Get(DeviceAccount)), Utf8(row.account));
    EXPECT_EQ(Data().a.Get(block_a::AccountChanged), row.accountChanged);
    if (!row.accepted) {
      EXPECT_EQ(Data().a, before.a);
      EXPECT_EQ(Data().c, before.c);
    } else {
      EXPECT_EQ(Data().c.Get(block_c::LoginUser), u"jdoe");
      EXPECT_EQ(Data().c.Get(block_c::InboxOverride), 1);
      EXPECT_EQ(Data().c.Get(block_c::InboxFolderId), u"GW.FOLDER.HANDHELD");
    }
    Session().Release();
  }
}

// The folder picker logs in with what the page was filled with, starts from the held folder,
// and always logs out; a failure says so and changes nothing.
TEST_F(EmailPagesTest, GeneralPicksAFolderThroughTheFolderPicker) {
  const struct {
    const char* name;
    bool cannotCreate, loginFails;
    std::optional<std::size_t> choice;
    const char* message;  // empty: none
    bool chosen;
    std::vector<std::string> calls;
  } rows[] = {
      {"chosen",
       false,
       false,
       1,
       "",
       true,
       {"create", "login(jdoe,/ph)", "browse(OLD-ID)", "logout"}},
      {"cancelled",
       false,
       false,
       std::nullopt,
       "",
       false,
       {"create", "login(jdoe,/ph)", "browse(OLD-ID)", "logout"}},
      {"login refused",
       false,
       true,
       1,
       "Sorry, could not log into GroupWise",
       false,
       {"create", "login(jdoe,/ph)", "logout"}},
      {"no picker",
       true,
       false,
       1,
       "Sorry, could not create the GroupWise file browser",
       false,
       {"create refused"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    stored.c.Set(block_c::LoginUser, u"jdoe");
    stored.c.Set(block_c::LoginParams, u"/ph");
    stored.c.Set(block_c::InboxFolderId, u"OLD-ID");
    stored.c.Set(block_c::InboxFolderName, u"Old");
    OpenStored(stored);
    CProfilePage page(setup);
    page.Fill();
    page.controls.user = u"typed-but-not-used";
    pickers.cannotCreate = row.cannotCreate;
    pickers.loginFails = row.loginFails;
    pickers.choice = row.choice;
    pickers.calls.clear();
    ui.messageBoxes.clear();
    EXPECT_EQ(page.PickFolder(9), row.chosen);
    EXPECT_EQ(pickers.calls, row.calls);
    EXPECT_EQ(pickers.alive, 0);
    ASSERT_EQ(ui.messageBoxes.size(), std::string_view(row.message).empty() ? 0u : 1u);
    if (!ui.messageBoxes.empty()) {
      EXPECT_EQ(ui.messageBoxes[0].text, row.message);
    }
    EXPECT_EQ(page.controls.inboxOverride, row.chosen);
    EXPECT_EQ(Utf8(page.controls.folderId), row.chosen ? "GW.FOLDER.HANDHELD" : "OLD-ID");
    EXPECT_EQ(Utf8(page.controls.folderName), row.chosen ? "Handheld" : "Old");
    Session().Release();
  }
}

// ---- Date Range

TEST_F(EmailPagesTest, DateRangeShowsTheStoredRangeOrThreeDays) {
  const struct {
    const char* name;
    bool isNew;
    int16_t count, unit, deleteOldTypes;
    int shownCount, shownUnit;
    bool deleteOld;
    const char* caption;
  } rows[] = {
      {"new", true, 9, 7, 0, 3, 0, true,
       "Delete e-mails older than 3 Day(s) from the smartphone after synchronization"},
      {"two weeks", false, 2, 7, 64, 2, 1, true,
       "Delete e-mails older than 2 Week(s) from the smartphone after synchronization"},
      {"a year, deletion off", false, 1, 365, 0, 1, 3, false,
       "Delete e-mails older than 1 Year(s) from the smartphone after synchronization"},
      {"a unit no list has", false, 4, 2, 15, 4, 0, false,
       "Delete e-mails older than 4 Day(s) from the smartphone after synchronization"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    if (row.isNew) stored.a.Set(block_a::Title, u"");
    stored.a.Set(block_a::MailRangeCount, row.count);
    stored.a.Set(block_a::MailRangeUnit, row.unit);
    stored.a.Set(block_a::DeleteOldTypes, row.deleteOldTypes);
    OpenStored(stored);
    CDatePage page(setup);
    page.Fill();
    EXPECT_EQ(page.range.count.Position(), row.shownCount);
    EXPECT_EQ(page.range.unit, row.shownUnit);
    EXPECT_EQ(page.range.deleteOld, row.deleteOld);
    EXPECT_EQ(Utf8(page.range.DeleteCaption()), row.caption);
    Session().Release();
  }
}

// RangeChanged follows a change of count or unit against the range and the deletion alike,
// whether the deletion is on or not; the deletion's unit and count follow only while it is on.
TEST_F(EmailPagesTest, DateRangeAcceptsTheRangeAndMarksItChanged) {
  const struct {
    const char* name;
    int16_t deleteCount, deleteUnit;  // stored deletion; the range is stored as 3 Day(s)
    const char16_t* typed;
    int unit;
    bool deleteOld;
    int16_t rangeChanged, wantedDeleteTypes, wantedDeleteCount, wantedDeleteUnit;
  } rows[] = {
      {"nothing changed", 3, 1, u"3", 0, true, 0, 64, 3, 1},
      {"count changed", 3, 1, u"5", 0, true, 1, 64, 5, 1},
      {"unit changed", 3, 1, u"3", 2, true, 1, 64, 3, 30},
      {"the deletion's count differed", 4, 1, u"3", 0, true, 1, 64, 3, 1},
      {"the deletion's unit differed", 3, 7, u"3", 0, true, 1, 64, 3, 1},
      {"deletion off, count changed", 3, 1, u"5", 0, false, 1, 0, 3, 1},
      {"deletion off, nothing changed", 3, 1, u"3", 0, false, 0, 0, 3, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    stored.a.Set(block_a::DeleteOldCount[kEmail], row.deleteCount);
    stored.a.Set(block_a::DeleteOldUnit[kEmail], row.deleteUnit);
    OpenStored(stored);
    CDatePage page(setup);
    page.Fill();
    page.CountChanged(row.typed, 0);
    page.range.unit = row.unit;
    page.range.deleteOld = row.deleteOld;
    page.Accept();
    const framework::SetupBlock& a = Data().a;
    EXPECT_EQ(a.Get(block_a::RangeChanged), row.rangeChanged);
    EXPECT_EQ(a.Get(block_a::MailRangeCount), std::stoi(Utf8(row.typed)));
    EXPECT_EQ(a.Get(block_a::MailRangeUnit), setup::email::kUnits[row.unit].days);
    EXPECT_EQ(a.Get(block_a::DeleteOldTypes), row.wantedDeleteTypes);
    EXPECT_EQ(a.Get(block_a::DeleteOldCount[kEmail]), row.wantedDeleteCount);
    EXPECT_EQ(a.Get(block_a::DeleteOldUnit[kEmail]), row.wantedDeleteUnit);
    Session().Release();
  }
}

// ---- Restrictions

TEST_F(EmailPagesTest, RestrictionsShowTheStoredLimitsOrTheDefaults) {
  const struct {
    const char* name;
    bool isNew;
    uint32_t memoLimit, folders;
    int16_t noAttachments, supportedOnly;
    int size;
    bool attachments, supported, allFolders;
  } rows[] = {
      {"new", true, 4096, 15, 0, 1, 10, false, false, false},
      {"stored", false, 5 * 1024 + 1023, 15, 0, 1, 5, true, true, true},
      {"above what the page offers", false, 50 * 1024, 10, 1, 2, 30, false, false, false},
      {"folders other than 10 and 15", false, 0, 8, 1, 0, 0, false, false, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    if (row.isNew) stored.a.Set(block_a::Title, u"");
    stored.a.Set(block_a::MemoLimit, row.memoLimit);
    stored.a.Set(block_a::MailFolders, row.folders);
    stored.a.Set(block_a::MailNoAttachments, row.noAttachments);
    stored.c.Set(block_c::SupportedOnly, row.supportedOnly);
    OpenStored(stored);
    CEmFoldersPage page(setup);
    page.Fill();
    EXPECT_EQ(page.size.Position(), row.size);
    EXPECT_EQ(page.controls.attachments, row.attachments);
    EXPECT_EQ(page.SupportedOnlyEnabled(), row.attachments);
    EXPECT_EQ(page.controls.supportedOnly, row.supported);
    EXPECT_EQ(page.controls.allFolders, row.allFolders);
    Session().Release();
  }
}

// The folders and the size are stored only when they change, and each change marks the range
// changed; 0 KB is a limit like any other.
TEST_F(EmailPagesTest, RestrictionsStoreOnlyWhatChanged) {
  const struct {
    const char* name;
    uint32_t storedLimit, storedFolders;
    const char16_t* typed;
    bool allFolders;
    uint32_t limit, folders;
    int16_t rangeChanged;
  } rows[] = {
      {"nothing changed", 10240, 10, u"10", false, 10240, 10, 0},
      {"all folders", 10240, 10, u"10", true, 10240, 15, 1},
      {"0 KB", 10240, 10, u"0", false, 0, 10, 1},
      {"a limit the page cannot show, kept as shown", 51200, 15, u"30", true, 30720, 15, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    stored.a.Set(block_a::MemoLimit, row.storedLimit);
    stored.a.Set(block_a::MailFolders, row.storedFolders);
    OpenStored(stored);
    CEmFoldersPage page(setup);
    page.Fill();
    page.SizeChanged(row.typed, 0);
    page.controls.allFolders = row.allFolders;
    page.controls.attachments = true;
    page.controls.supportedOnly = true;
    page.Accept();
    const setup::Blocks& blocks = Data();
    EXPECT_EQ(blocks.a.Get(block_a::MemoLimit), row.limit);
    EXPECT_EQ(blocks.a.Get(block_a::MailFolders), row.folders);
    EXPECT_EQ(blocks.a.Get(block_a::RangeChanged), row.rangeChanged);
    EXPECT_EQ(blocks.a.Get(block_a::MailNoAttachments), 0);
    EXPECT_EQ(blocks.c.Get(block_c::SupportedOnly), 1);
    Session().Release();
  }
}

// ---- Conflict Resolution, Delete Options, and pages never shown

TEST_F(EmailPagesTest, ConflictAndDeletePagesShowAndStoreTheirRule) {
  const struct {
    const char* name;
    bool isNew;
    int16_t conflictRule, deleteRule;
    bool groupWiseWins, keep;
  } rows[] = {
      {"new", true, 0, 0, true, false},
      {"device wins, kept in GroupWise", false, 0, 64, false, true},
      {"GroupWise wins, deleted", false, 1, 0, true, false},
      {"unknown values", false, 7, 15, false, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::Profile stored = StoredProfile();
    if (row.isNew) stored.a.Set(block_a::Title, u"");
    stored.a.Set(block_a::ConflictRule, row.conflictRule);
    stored.a.Set(block_a::DeleteRule, row.deleteRule);
    OpenStored(stored);
    setup::email::CConflictPage conflict(setup);
    setup::email::CDeleteOptions deletion(setup);
    conflict.Fill();
    deletion.Fill();
    EXPECT_EQ(conflict.groupWiseWins, row.groupWiseWins);
    EXPECT_EQ(deletion.keepInGroupWise, row.keep);
    conflict.groupWiseWins = !conflict.groupWiseWins;
    deletion.keepInGroupWise = !deletion.keepInGroupWise;
    conflict.Accept();
    deletion.Accept();
    EXPECT_EQ(Data().a.Get(block_a::ConflictRule), row.groupWiseWins ? 0 : 1);
    EXPECT_EQ(Data().a.Get(block_a::DeleteRule), row.keep ? 0 : 64);
    Session().Release();
  }
}

TEST_F(EmailPagesTest, APageNeverShownWritesNothing) {
  OpenStored(StoredProfile());
  const setup::Blocks before = Data();
  CProfilePage general(setup);
  CDatePage date(setup);
  CEmFoldersPage restrictions(setup);
  setup::email::CConflictPage conflict(setup);
  setup::email::CDeleteOptions deletion(setup);
  conflict.groupWiseWins = false;
  deletion.keepInGroupWise = true;
  general.controls.account = u"Other";
  EXPECT_TRUE(general.Accept(0));
  date.Accept();
  restrictions.Accept();
  conflict.Accept();
  deletion.Accept();
  EXPECT_EQ(Data().a, before.a);
  EXPECT_EQ(Data().b, before.b);
  EXPECT_EQ(Data().c, before.c);
  EXPECT_TRUE(ui.messageBoxes.empty());
}

}  // namespace
}  // namespace setup_tests
