#include "setup/contactsetup/wizard_pages.h"

#include "setup/contactsetup/control_ids.h"

namespace setup::contact {

std::vector<ControlText> CWizAddressBook::StaticTexts() const {
  return {{control::kWizardAddressBookIntro,
           setup_.Session().Strings().Text(string_id::kWizardAddressBookIntro)}};
}

void CWizAddressBook::Start() {
  addressBook = kDefaultAddressBook;
  MarkInitialised();
}

WizardButtons CWizAddressBook::Buttons() const {
  return addressBook.empty() ? WizardButtons::kBackOnly : WizardButtons::kBackAndNext;
}

WizardButtons CWizAddressBook::AddressBookChanged(std::u16string text) {
  addressBook = std::move(text);
  return Buttons();
}

void CWizAddressBook::Next() {
  if (Initialised())
    setup_.Session().Data().c.Set(framework::block_c_pim::AddressBook, addressBook);
}

}  // namespace setup::contact
