// The Settings sheet's pages of contactsetup (contact_pages.h).

#include "setup/contactsetup/settings_pages.h"

#include "setup/contactsetup/control_ids.h"

#include "setup/win32/contact_pages.h"
#include "setup/win32/contact_resources.h"
#include "setup/win32/rule_page_dialogs.h"

namespace setup::win32 {
namespace {

// The templates and the page models name the same controls.
namespace control = contact::control;
static_assert(IDC_CONTACT_FIELDS_INTRO == control::kRestrictionsIntro &&
              IDC_CONTACT_ALL_FIELDS == control::kAllFields &&
              IDC_CONTACT_NAME_AND_NUMBERS == control::kNameAndNumbers &&
              IDC_CONTACT_NAME_AND_WORK == control::kNameAndWork &&
              IDC_CONTACT_NAME_WORK_AND_NOTES == control::kNameWorkAndNotes &&
              IDC_CONTACT_NAME_AND_HOME == control::kNameAndHome &&
              IDC_CONTACT_CONFLICT_INTRO == control::kConflictIntro &&
              IDC_CONTACT_DELETE_INTRO == control::kDeleteIntro);

class GeneralPage final : public PropertyPage {
 public:
  GeneralPage(HMODULE module, contact::ContactSetup& setup)
      : PropertyPage(module, IDD_CONTACT_GENERAL, setup.Session()), model_(setup) {}

 private:
  void OnInitDialog(HWND page) override {
    model_.Fill();
    const auto& c = model_.controls;
    SetChecked(page, IDC_CONTACT_MANUAL_LOGIN, c.manualLogin);
    SetControlText(page, IDC_CONTACT_LOGIN_USER, c.user);
    SetControlText(page, IDC_CONTACT_LOGIN_PARAMS, c.params);
    SetControlText(page, IDC_CONTACT_ADDRESS_BOOK, c.addressBook);
    ShowEnabled(page);
  }

  void OnCommand(HWND page, int id, int code) override {
    if (id != IDC_CONTACT_MANUAL_LOGIN || code != BN_CLICKED) return;
    model_.controls.manualLogin = IsChecked(page, IDC_CONTACT_MANUAL_LOGIN);
    ShowEnabled(page);
  }

  LRESULT OnNotify(HWND page, const NMHDR& header) override {
    if (header.code == PSN_APPLY) {
      auto& c = model_.controls;
      c.manualLogin = IsChecked(page, IDC_CONTACT_MANUAL_LOGIN);
      c.user = ReadControlText(page, IDC_CONTACT_LOGIN_USER);
      c.params = ReadControlText(page, IDC_CONTACT_LOGIN_PARAMS);
      c.addressBook = ReadControlText(page, IDC_CONTACT_ADDRESS_BOOK);
      model_.Accept();
    }
    return PSNRET_NOERROR;
  }

  void ShowEnabled(HWND page) {
    for (int id : {IDC_CONTACT_LOGIN_USER, IDC_CONTACT_LOGIN_PARAMS})
      Enable(page, id, model_.UserAndParamsEnabled());
  }

  contact::CGroupWiseProfile model_;
};

class RestrictionsPage final : public PropertyPage {
 public:
  RestrictionsPage(HMODULE module, contact::ContactSetup& setup)
      : PropertyPage(module, IDD_CONTACT_RESTRICTIONS, setup.Session()), model_(setup) {}

 private:
  using Groups = contact::CRestrictions;

  void OnInitDialog(HWND page) override {
    SetControlTexts(page, model_.StaticTexts());
    model_.Fill();
    for (std::size_t i = 0; i < Groups::kFieldGroups.size(); ++i)
      SetChecked(page, Groups::kFieldGroups[i].buttonId, model_.checked[i]);
  }

  // Read when the sheet closes, not at each click: what counts is what the buttons then show.
  LRESULT OnNotify(HWND page, const NMHDR& header) override {
    if (header.code == PSN_APPLY) {
      for (std::size_t i = 0; i < Groups::kFieldGroups.size(); ++i)
        model_.checked[i] = IsChecked(page, Groups::kFieldGroups[i].buttonId);
      model_.Accept();
    }
    return PSNRET_NOERROR;
  }

  contact::CRestrictions model_;
};

}  // namespace

std::vector<std::unique_ptr<PropertyPage>> ContactSettingsPages(HMODULE module,
                                                                contact::ContactSetup& setup) {
  std::vector<std::unique_ptr<PropertyPage>> pages;
  pages.push_back(std::make_unique<GeneralPage>(module, setup));
  pages.push_back(std::make_unique<RestrictionsPage>(module, setup));
  pages.push_back(NewConflictPage(
      module, setup.Session(), contact::CConflictPage(setup),
      {IDD_CONTACT_CONFLICT, IDC_CONTACT_GROUPWISE_WINS, IDC_CONTACT_SMARTPHONE_WINS}));
  pages.push_back(NewDeleteOptionsPage(
      module, setup.Session(), contact::CDeleteOptions(setup),
      {IDD_CONTACT_DELETE, IDC_CONTACT_KEEP_IN_GROUPWISE, IDC_CONTACT_DELETE_IN_GROUPWISE}));
  return pages;
}

}  // namespace setup::win32
