#pragma once

// The page setupwizard hands to the host's setup wizard (CLogonPage), as a model: whether
// GroupWise needs a user name or start-up parameters to log in, and which texts. It starts
// empty, not from anything stored, and stores into the component's object when the user
// presses Next.
//
// How a Win32 dialog procedure uses it: WM_INITDIALOG sets StaticTexts(), calls Start() and
// enables 6001 and 6003 by EditsEnabled(); a click of 6000 and each EN_CHANGE of 6001 or 6003
// pass the new state on and set the wizard's buttons from the answer (PSWIZB_BACK, with
// PSWIZB_NEXT for kBackAndNext), the click also the edits' state; PSN_SETACTIVE sets the
// buttons from Buttons(); PSN_WIZNEXT moves the controls' values into the model and calls
// Next().

#include <string>
#include <vector>

#include "setup/common/page_model.h"
#include "setup/setupwizard/setup_wizard.h"

namespace setup::wizard {

class CLogonPage : public PageModel {
 public:
  explicit CLogonPage(SetupWizard& wizard) : wizard_(wizard) {}

  std::vector<ControlText> StaticTexts() const;
  // Both edits empty, the box unchecked.
  void Start();
  // 6001 and 6003 only while 6000 is checked.
  bool EditsEnabled() const { return manualLogin; }
  // Next needs something to log in with once the user asked to log in manually: Back only
  // while 6000 is checked and both edits are empty, Back and Next otherwise.
  WizardButtons Buttons() const;
  WizardButtons ManualLoginClicked(bool checked);
  WizardButtons UserNameChanged(std::u16string text);
  WizardButtons ParamsChanged(std::u16string text);
  // Stores both texts in the component's object while 6000 is checked, two empty texts while
  // it is not: the data components turn any text into a manual login, so a user who unchecked
  // the box after typing must not get one.
  void Next();

  bool manualLogin = false;  // 6000
  std::u16string userName;   // 6001
  std::u16string params;     // 6003

 private:
  SetupWizard& wizard_;
};

}  // namespace setup::wizard
