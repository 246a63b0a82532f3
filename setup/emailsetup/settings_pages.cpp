#include "setup/emailsetup/settings_pages.h"

#include <algorithm>
#include <climits>

#include "framework/data_types.h"

#include "platform/exception.h"

namespace setup::email {
namespace {

namespace block_a = framework::block_a;
namespace block_c = framework::block_c_mail;
using framework::block_b_mail::DeviceAccount;

constexpr uint32_t kKilobyte = 1024;

// A call on the folder picker that raises inside its automation layer fails like one that
// returns a negative result.
template <typename Call>
int32_t PickerResult(Call&& call) {
  try {
    return call();
  } catch (const platform::Exception&) {
    return -1;
  }
}

}  // namespace

// ---- General

std::vector<ControlText> CProfilePage::StaticTexts() const {
  return {{control::kAccountIntro, setup_.Session().Strings().TextJoined(
                                       {string_id::kAccountIntro, string_id::kAccountIntroEnd})}};
}

void CProfilePage::Fill() {
  ProfileSession& session = setup_.Session();
  const framework::SetupBlock& c = session.Data().c;
  controls.manualLogin = c.Get(block_c::ManualLogin) != 0;
  controls.user = c.Get(block_c::LoginUser);
  controls.params = c.Get(block_c::LoginParams);
  controls.inboxOverride = c.Get(block_c::InboxOverride) != 0;
  controls.folderName = c.Get(block_c::InboxFolderName);
  controls.folderId = c.Get(block_c::InboxFolderId);
  if (session.IsNewProfile()) {
    controls.account = setup_.DefaultAccountName();
  } else {
    controls.account = session.Data().b.Get(DeviceAccount);
    const std::u16string suffix = session.Strings().Text(string_id::kAccountSuffix);
    if (!suffix.empty() && controls.account.ends_with(suffix))
      controls.account.resize(controls.account.size() - suffix.size());
  }
  filledUser_ = controls.user;
  filledParams_ = controls.params;
  MarkInitialised();
}

bool CProfilePage::PickFolder(platform::WindowHandle owner) {
  ProfileSession& session = setup_.Session();
  std::unique_ptr<FolderPicker> picker;
  try {
    if (setup_.FolderPickers()) picker = setup_.FolderPickers()();
  } catch (const platform::Exception&) {
  }
  if (!picker) {
    session.Message(owner, "Sorry, could not create the GroupWise file browser");
    return false;
  }
  bool chosen = false;
  if (PickerResult([&] { return picker->Login(filledUser_, filledParams_); }) >= 0) {
    std::u16string id = controls.folderId;
    std::u16string name;
    if (PickerResult([&] { return picker->Browse(id, name); }) >= 0) {
      controls.folderId = std::move(id);
      controls.folderName = std::move(name);
      controls.inboxOverride = true;
      chosen = true;
    }
  } else {
    session.Message(owner, "Sorry, could not log into GroupWise");
  }
  PickerResult([&] {
    picker->Logout();
    return 0;
  });
  return chosen;
}

bool CProfilePage::Accept(platform::WindowHandle owner) {
  if (!Initialised()) return true;
  ProfileSession& session = setup_.Session();
  Blocks& blocks = session.Data();
  const std::u16string account = DeviceAccountOf(session.Strings(), controls.account);
  if (account != blocks.b.Get(DeviceAccount)) {
    const std::string question = session.Strings().AnsiJoined(
        {string_id::kAccountChangedFirst, string_id::kAccountChangedFirst + 1,
         string_id::kAccountChangedFirst + 2, string_id::kAccountChangedFirst + 3,
         string_id::kAccountChangedLast});
    if (session.Message(owner, question, platform::mb::kYesNo) != platform::button::kYes)
      return false;
    blocks.a.Set(block_a::AccountChanged, 1);
  }
  blocks.b.Set(DeviceAccount, account);
  framework::SetupBlock& c = blocks.c;
  c.Set(block_c::ManualLogin, controls.manualLogin ? 1 : 0);
  c.Set(block_c::InboxOverride, controls.inboxOverride ? 1 : 0);
  c.Set(block_c::InboxFolderName, controls.folderName);
  c.Set(block_c::InboxFolderId, controls.folderId);
  c.Set(block_c::LoginParams, controls.params);
  c.Set(block_c::LoginUser, controls.user);
  return true;
}

// ---- Date Range

std::vector<ControlText> CDatePage::StaticTexts() const {
  const ComponentStrings& strings = setup_.Session().Strings();
  return {{control::kRangeIntro,
           strings.TextJoined({string_id::kRangeIntro, string_id::kRangeIntroEnd})},
          {control::kDeleteOldIntro, strings.Text(string_id::kDeleteOldIntro)}};
}

void CDatePage::Fill() {
  const ProfileSession& session = setup_.Session();
  const framework::SetupBlock& a = session.Data().a;
  if (session.IsNewProfile()) {
    range.FillDefaults();
  } else {
    range.Fill(a.Get(block_a::MailRangeCount), a.Get(block_a::MailRangeUnit),
               a.Get(block_a::DeleteOldTypes) == kEmailTypeBit);
  }
  MarkInitialised();
}

void CDatePage::Accept() {
  if (!Initialised()) return;
  constexpr int16_t kEmail = framework::data_type::kEmail;
  framework::SetupBlock& a = setup_.Session().Data().a;
  const int16_t days = range.SelectedDays();
  const int count = range.count.Position();
  if (days != a.Get(block_a::MailRangeUnit) || days != a.Get(block_a::DeleteOldUnit[kEmail]) ||
      count != a.Get(block_a::MailRangeCount) || count != a.Get(block_a::DeleteOldCount[kEmail])) {
    a.Set(block_a::RangeChanged, 1);
  }
  range.Store(a);
}

// ---- Restrictions

CEmFoldersPage::CEmFoldersPage(EmailSetup& setup) : size(setup.Session(), 0, 30), setup_(setup) {}

std::vector<ControlText> CEmFoldersPage::StaticTexts() const {
  const ComponentStrings& strings = setup_.Session().Strings();
  return {{control::kSizeIntro, strings.Text(string_id::kSizeIntro)},
          {control::kFoldersIntro, strings.Text(string_id::kFoldersIntro)}};
}

void CEmFoldersPage::Fill() {
  const ProfileSession& session = setup_.Session();
  if (session.IsNewProfile()) {
    size.Fill(10);
    controls = {};
  } else {
    const Blocks& blocks = session.Data();
    const uint32_t kilobytes = blocks.a.Get(block_a::MemoLimit) / kKilobyte;
    size.Fill(static_cast<int>(std::min<uint32_t>(kilobytes, INT_MAX)));
    controls.attachments = blocks.a.Get(block_a::MailNoAttachments) == 0;
    controls.supportedOnly = blocks.c.Get(block_c::SupportedOnly) == 1;
    controls.allFolders = blocks.a.Get(block_a::MailFolders) != kInboxAndOutbox;
  }
  MarkInitialised();
}

void CEmFoldersPage::Accept() {
  if (!Initialised()) return;
  Blocks& blocks = setup_.Session().Data();
  framework::SetupBlock& a = blocks.a;
  const uint32_t folders = controls.allFolders ? kAllFolders : kInboxAndOutbox;
  if (folders != a.Get(block_a::MailFolders)) {
    a.Set(block_a::MailFolders, folders);
    a.Set(block_a::RangeChanged, 1);
  }
  const uint32_t bytes = static_cast<uint32_t>(size.Position()) * kKilobyte;
  if (bytes != a.Get(block_a::MemoLimit)) {
    a.Set(block_a::MemoLimit, bytes);
    a.Set(block_a::RangeChanged, 1);
  }
  a.Set(block_a::MailNoAttachments, controls.attachments ? 0 : 1);
  blocks.c.Set(block_c::SupportedOnly, controls.supportedOnly ? 1 : 0);
}

}  // namespace setup::email
