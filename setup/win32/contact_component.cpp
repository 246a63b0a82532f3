#include "setup/win32/contact_component.h"

#include "setup/win32/contact_pages.h"

namespace setup::win32 {

ContactComponent::ContactComponent(HMODULE module)
    : module_(module), services_(module), setup_(services_.Services()) {}

std::vector<std::unique_ptr<PropertyPage>> ContactComponent::SettingsPages() {
  return ContactSettingsPages(module_, setup_);
}

std::vector<std::unique_ptr<PropertyPage>> ContactComponent::WizardPages() {
  return ContactWizardPages(module_, setup_);
}

}  // namespace setup::win32
