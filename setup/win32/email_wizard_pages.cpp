// The wizard's pages of emailsetup (email_pages.h). Each starts from fixed values, sets the
// wizard's buttons when it becomes active, and stores into the blocks when the user goes on.

#include "setup/emailsetup/wizard_pages.h"

#include "setup/emailsetup/control_ids.h"

#include "setup/win32/email_pages.h"
#include "setup/win32/email_resources.h"
#include "setup/win32/mail_range_fields.h"

namespace setup::win32 {
namespace {

namespace control = email::control;
static_assert(IDC_WIZARD_ACCOUNT_INTRO == control::kWizardAccountIntro &&
              IDC_WIZARD_ACCOUNT_USE == control::kWizardAccountUse &&
              IDC_WIZARD_RANGE_INTRO == control::kWizardRangeIntro &&
              IDC_WIZARD_SIZE_INTRO == control::kWizardSizeIntro &&
              IDC_WIZARD_VIEWABLE == control::kViewableAttachments);

class WizardAccountPage final : public PropertyPage {
 public:
  WizardAccountPage(HMODULE module, email::EmailSetup& setup)
      : PropertyPage(module, IDD_EMAIL_WIZARD_ACCOUNT, setup.Session()), model_(setup) {}

 private:
  void OnInitDialog(HWND page) override {
    SetControlTexts(page, model_.StaticTexts());
    model_.Start();
    SetControlText(page, IDC_WIZARD_ACCOUNT, model_.account);
  }
  void OnCommand(HWND page, int id, int code) override {
    if (id == IDC_WIZARD_ACCOUNT && code == EN_CHANGE)
      SetWizardButtons(page, model_.AccountChanged(ReadControlText(page, IDC_WIZARD_ACCOUNT)));
  }
  LRESULT OnNotify(HWND page, const NMHDR& header) override {
    switch (header.code) {
      case PSN_SETACTIVE:
        SetWizardButtons(page, model_.Buttons());
        break;
      case PSN_WIZBACK:
        SetWizardButtons(page, model_.Back());
        break;
      case PSN_WIZNEXT:
        model_.AccountChanged(ReadControlText(page, IDC_WIZARD_ACCOUNT));
        model_.Next();
        break;
    }
    return 0;
  }

  email::CWizAccount model_;
};

class WizardRangePage final : public PropertyPage {
 public:
  WizardRangePage(HMODULE module, email::EmailSetup& setup)
      : PropertyPage(module, IDD_EMAIL_WIZARD_RANGE, setup.Session()),
        model_(setup),
        fields_(model_.range,
                {IDC_WIZARD_RANGE_COUNT, IDC_WIZARD_RANGE_SPIN, IDC_WIZARD_RANGE_UNIT},
                [this] { return model_.Initialised(); }) {}

 private:
  void OnInitDialog(HWND page) override {
    SetControlTexts(page, model_.StaticTexts());
    model_.Start();
    fields_.Show(page);
  }
  void OnCommand(HWND page, int id, int code) override { fields_.OnCommand(page, id, code); }
  LRESULT OnNotify(HWND page, const NMHDR& header) override {
    if (header.code == PSN_SETACTIVE) SetWizardButtons(page, model_.Buttons());
    if (header.code == PSN_WIZNEXT) model_.Next();
    return 0;
  }

  email::CWizRange model_;
  MailRangeFields fields_;
};

class WizardSizePage final : public PropertyPage {
 public:
  WizardSizePage(HMODULE module, email::EmailSetup& setup)
      : PropertyPage(module, IDD_EMAIL_WIZARD_SIZE, setup.Session()),
        model_(setup),
        size_(model_.size, [this] { return model_.Initialised(); }) {}

 private:
  void OnInitDialog(HWND page) override {
    SetControlTexts(page, model_.StaticTexts());
    model_.Start();
    size_.Attach(page, IDC_WIZARD_SIZE, IDC_WIZARD_SIZE_SPIN);
    SetChecked(page, IDC_WIZARD_ATTACHMENTS, model_.attachments);
    SetChecked(page, IDC_WIZARD_SUPPORTED_ONLY, model_.supportedOnly);
    ShowEnabled(page);
  }
  void OnCommand(HWND page, int id, int code) override {
    if (code != BN_CLICKED) return;
    model_.attachments = IsChecked(page, IDC_WIZARD_ATTACHMENTS);
    model_.supportedOnly = IsChecked(page, IDC_WIZARD_SUPPORTED_ONLY);
    if (id == IDC_WIZARD_ATTACHMENTS) ShowEnabled(page);
  }
  LRESULT OnNotify(HWND page, const NMHDR& header) override {
    if (header.code == PSN_SETACTIVE) SetWizardButtons(page, model_.Buttons());
    if (header.code == PSN_WIZNEXT) model_.Next();
    return 0;
  }
  void ShowEnabled(HWND page) {
    for (int id : {IDC_WIZARD_SUPPORTED_ONLY, IDC_WIZARD_VIEWABLE})
      Enable(page, id, model_.SupportedOnlyEnabled());
  }

  email::CWizSize model_;
  RangeEditControl size_;
};

}  // namespace

std::vector<std::unique_ptr<PropertyPage>> EmailWizardPages(HMODULE module,
                                                            email::EmailSetup& setup) {
  std::vector<std::unique_ptr<PropertyPage>> pages;
  pages.push_back(std::make_unique<WizardAccountPage>(module, setup));
  pages.push_back(std::make_unique<WizardRangePage>(module, setup));
  pages.push_back(std::make_unique<WizardSizePage>(module, setup));
  return pages;
}

}  // namespace setup::win32
