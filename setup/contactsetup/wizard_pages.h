#pragma once

// The page contactsetup hands to the host's setup wizard (AddPages) as a model: the address book
// pimsync synchronizes with (CWizAddressBook). It starts from the default book, not from the
// profile, and stores into the blocks when the user presses Next; CommitPages writes them
// (profile_session.h). A Win32 dialog procedure uses it as setup/emailsetup/wizard_pages.h
// describes for the account page, whose button rule it shares.

#include <string>
#include <vector>

#include "setup/common/page_model.h"
#include "setup/contactsetup/contact_setup.h"

namespace setup::contact {

class CWizAddressBook : public PageModel {
 public:
  explicit CWizAddressBook(ContactSetup& setup) : setup_(setup) {}

  std::vector<ControlText> StaticTexts() const;
  // The edit (609) starts with the default book; the stored one is not shown.
  void Start();
  // Back and Next while the name is not empty, Back only while it is.
  WizardButtons Buttons() const;
  // 609's text changed: the buttons to show.
  WizardButtons AddressBookChanged(std::u16string text);
  // Going back re-enables both buttons.
  WizardButtons Back() const { return WizardButtons::kBackAndNext; }
  // AddressBook takes the name, cut to the field.
  void Next();

  std::u16string addressBook;

 private:
  ContactSetup& setup_;
};

}  // namespace setup::contact
