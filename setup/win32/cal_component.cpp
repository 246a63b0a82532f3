#include "setup/win32/cal_component.h"

#include "setup/win32/cal_pages.h"

namespace setup::win32 {

CalComponent::CalComponent(HMODULE module)
    : module_(module), services_(module), setup_(services_.Services()) {}

std::vector<std::unique_ptr<PropertyPage>> CalComponent::SettingsPages() {
  return CalSettingsPages(module_, setup_);
}

std::vector<std::unique_ptr<PropertyPage>> CalComponent::WizardPages() {
  return CalWizardPages(module_, setup_);
}

}  // namespace setup::win32
