#include "setup/setupwizard/logon_page.h"

#include <utility>

#include "setup/setupwizard/control_ids.h"
#include "setup/setupwizard/wizard_strings.h"

namespace setup::wizard {

std::vector<ControlText> CLogonPage::StaticTexts() const {
  return {{control::kLogonIntro, wizard_.Strings().Text(string_id::kLogonIntro)}};
}

void CLogonPage::Start() {
  manualLogin = false;
  userName.clear();
  params.clear();
  MarkInitialised();
}

WizardButtons CLogonPage::Buttons() const {
  const bool nothingToLogInWith = userName.empty() && params.empty();
  return manualLogin && nothingToLogInWith ? WizardButtons::kBackOnly : WizardButtons::kBackAndNext;
}

WizardButtons CLogonPage::ManualLoginClicked(bool checked) {
  manualLogin = checked;
  return Buttons();
}

WizardButtons CLogonPage::UserNameChanged(std::u16string text) {
  userName = std::move(text);
  return Buttons();
}

WizardButtons CLogonPage::ParamsChanged(std::u16string text) {
  params = std::move(text);
  return Buttons();
}

void CLogonPage::Next() {
  if (!Initialised()) return;
  wizard_.StoreLogon(manualLogin ? WizardData{userName, params} : WizardData{});
}

}  // namespace setup::wizard
