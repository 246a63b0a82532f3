// The wizard's page of contactsetup (contact_pages.h): it starts from the default address book,
// offers Next only while a name is there, and stores the name when the user goes on.

#include "setup/contactsetup/wizard_pages.h"

#include "setup/contactsetup/control_ids.h"

#include "setup/win32/contact_pages.h"
#include "setup/win32/contact_resources.h"

namespace setup::win32 {
namespace {

static_assert(IDC_CONTACT_WIZARD_INTRO == contact::control::kWizardAddressBookIntro);

class WizardAddressBookPage final : public PropertyPage {
 public:
  WizardAddressBookPage(HMODULE module, contact::ContactSetup& setup)
      : PropertyPage(module, IDD_CONTACT_WIZARD_ADDRESS_BOOK, setup.Session()), model_(setup) {}

 private:
  void OnInitDialog(HWND page) override {
    SetControlTexts(page, model_.StaticTexts());
    model_.Start();
    SetControlText(page, IDC_CONTACT_ADDRESS_BOOK, model_.addressBook);
  }
  void OnCommand(HWND page, int id, int code) override {
    if (id == IDC_CONTACT_ADDRESS_BOOK && code == EN_CHANGE)
      SetWizardButtons(page,
                       model_.AddressBookChanged(ReadControlText(page, IDC_CONTACT_ADDRESS_BOOK)));
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
        // The model has followed the edit's every change, the text set at the start included.
        model_.Next();
        break;
    }
    return 0;
  }

  contact::CWizAddressBook model_;
};

}  // namespace

std::vector<std::unique_ptr<PropertyPage>> ContactWizardPages(HMODULE module,
                                                              contact::ContactSetup& setup) {
  std::vector<std::unique_ptr<PropertyPage>> pages;
  pages.push_back(std::make_unique<WizardAddressBookPage>(module, setup));
  return pages;
}

}  // namespace setup::win32
