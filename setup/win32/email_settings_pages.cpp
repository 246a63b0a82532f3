// The Settings sheet's pages of emailsetup (email_pages.h).

#include "setup/emailsetup/settings_pages.h"

#include "setup/emailsetup/control_ids.h"

#include "setup/win32/email_pages.h"
#include "setup/win32/email_resources.h"
#include "setup/win32/mail_range_fields.h"
#include "setup/win32/rule_page_dialogs.h"

namespace setup::win32 {
namespace {

// The templates and the page models name the same controls.
namespace control = email::control;
static_assert(IDC_ACCOUNT_INTRO == control::kAccountIntro &&
              IDC_RANGE_INTRO == control::kRangeIntro &&
              IDC_DELETE_OLD_INTRO == control::kDeleteOldIntro &&
              IDC_DELETE_OLD == control::kDeleteOldCheck && IDC_SIZE_INTRO == control::kSizeIntro &&
              IDC_FOLDERS_INTRO == control::kFoldersIntro &&
              IDC_CONFLICT_INTRO == control::kConflictIntro &&
              IDC_DELETE_INTRO == control::kDeleteIntro);

// A refusal keeps the sheet open on the refusing page, whichever page was showing.
LRESULT Refused(bool accepted) {
  return accepted ? PSNRET_NOERROR : PSNRET_INVALID;
}

class GeneralPage final : public PropertyPage {
 public:
  GeneralPage(HMODULE module, email::EmailSetup& setup)
      : PropertyPage(module, IDD_EMAIL_GENERAL, setup.Session()), model_(setup) {}

 private:
  void OnInitDialog(HWND page) override {
    SetControlTexts(page, model_.StaticTexts());
    model_.Fill();
    Show(page);
  }

  void OnCommand(HWND page, int id, int code) override {
    if (code != BN_CLICKED) return;
    if (id == IDC_MANUAL_LOGIN || id == IDC_INBOX_OVERRIDE) {
      Read(page);
      ShowEnabled(page);
    } else if (id == IDC_PICK_FOLDER) {
      Read(page);
      if (model_.PickFolder(Owner(page))) Show(page);
    }
  }

  LRESULT OnNotify(HWND page, const NMHDR& header) override {
    if (header.code != PSN_APPLY) return 0;
    Read(page);
    return Refused(model_.Accept(Owner(page)));
  }

  void Show(HWND page) {
    const auto& c = model_.controls;
    SetChecked(page, IDC_MANUAL_LOGIN, c.manualLogin);
    SetControlText(page, IDC_LOGIN_USER, c.user);
    SetControlText(page, IDC_LOGIN_PARAMS, c.params);
    SetChecked(page, IDC_INBOX_OVERRIDE, c.inboxOverride);
    SetControlText(page, IDC_INBOX_FOLDER_NAME, c.folderName);
    SetControlText(page, IDC_ACCOUNT, c.account);
    ShowEnabled(page);
  }

  void ShowEnabled(HWND page) {
    for (int id : {IDC_LOGIN_USER, IDC_LOGIN_PARAMS})
      Enable(page, id, model_.UserAndParamsEnabled());
    for (int id : {IDC_INBOX_FOLDER_NAME, IDC_PICK_FOLDER})
      Enable(page, id, model_.FolderEnabled());
  }

  // The folder's identifier is the page's own, never shown: it stays as the model holds it.
  void Read(HWND page) {
    auto& c = model_.controls;
    c.manualLogin = IsChecked(page, IDC_MANUAL_LOGIN);
    c.user = ReadControlText(page, IDC_LOGIN_USER);
    c.params = ReadControlText(page, IDC_LOGIN_PARAMS);
    c.inboxOverride = IsChecked(page, IDC_INBOX_OVERRIDE);
    c.folderName = ReadControlText(page, IDC_INBOX_FOLDER_NAME);
    c.account = ReadControlText(page, IDC_ACCOUNT);
  }

  email::CProfilePage model_;
};

class DateRangePage final : public PropertyPage {
 public:
  DateRangePage(HMODULE module, email::EmailSetup& setup)
      : PropertyPage(module, IDD_EMAIL_DATE_RANGE, setup.Session()),
        model_(setup),
        fields_(model_.range, {IDC_RANGE_COUNT, IDC_RANGE_SPIN, IDC_RANGE_UNIT},
                [this] { return model_.Initialised(); }) {}

 private:
  void OnInitDialog(HWND page) override {
    SetControlTexts(page, model_.StaticTexts());
    model_.Fill();
    fields_.Show(page);
  }
  void OnCommand(HWND page, int id, int code) override { fields_.OnCommand(page, id, code); }
  LRESULT OnNotify(HWND, const NMHDR& header) override {
    if (header.code == PSN_APPLY) model_.Accept();
    return PSNRET_NOERROR;
  }

  email::CDatePage model_;
  MailRangeFields fields_;
};

class RestrictionsPage final : public PropertyPage {
 public:
  RestrictionsPage(HMODULE module, email::EmailSetup& setup)
      : PropertyPage(module, IDD_EMAIL_RESTRICTIONS, setup.Session()),
        model_(setup),
        size_(model_.size, [this] { return model_.Initialised(); }) {}

 private:
  void OnInitDialog(HWND page) override {
    SetControlTexts(page, model_.StaticTexts());
    model_.Fill();
    size_.Attach(page, IDC_SIZE_LIMIT, IDC_SIZE_SPIN);
    const auto& c = model_.controls;
    SetChecked(page, IDC_ATTACHMENTS, c.attachments);
    SetChecked(page, IDC_SUPPORTED_ONLY, c.supportedOnly);
    SetChecked(page, IDC_INBOX_AND_OUTBOX, !c.allFolders);
    SetChecked(page, IDC_ALL_FOLDERS, c.allFolders);
    Enable(page, IDC_SUPPORTED_ONLY, model_.SupportedOnlyEnabled());
  }

  void OnCommand(HWND page, int id, int code) override {
    if (code != BN_CLICKED) return;
    auto& c = model_.controls;
    c.attachments = IsChecked(page, IDC_ATTACHMENTS);
    c.supportedOnly = IsChecked(page, IDC_SUPPORTED_ONLY);
    c.allFolders = IsChecked(page, IDC_ALL_FOLDERS);
    if (id == IDC_ATTACHMENTS) Enable(page, IDC_SUPPORTED_ONLY, model_.SupportedOnlyEnabled());
  }

  LRESULT OnNotify(HWND, const NMHDR& header) override {
    if (header.code == PSN_APPLY) model_.Accept();
    return PSNRET_NOERROR;
  }

  email::CEmFoldersPage model_;
  RangeEditControl size_;
};

}  // namespace

std::vector<std::unique_ptr<PropertyPage>> EmailSettingsPages(HMODULE module,
                                                              email::EmailSetup& setup) {
  std::vector<std::unique_ptr<PropertyPage>> pages;
  pages.push_back(std::make_unique<GeneralPage>(module, setup));
  pages.push_back(std::make_unique<DateRangePage>(module, setup));
  pages.push_back(std::make_unique<RestrictionsPage>(module, setup));
  pages.push_back(NewConflictPage(module, setup.Session(), email::CConflictPage(setup),
                                  {IDD_EMAIL_CONFLICT, IDC_GROUPWISE_WINS, IDC_SMARTPHONE_WINS}));
  pages.push_back(
      NewDeleteOptionsPage(module, setup.Session(), email::CDeleteOptions(setup),
                           {IDD_EMAIL_DELETE, IDC_KEEP_IN_GROUPWISE, IDC_DELETE_IN_GROUPWISE}));
  return pages;
}

}  // namespace setup::win32
