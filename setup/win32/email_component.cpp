#include "setup/win32/email_component.h"

#include "setup/win32/dispatch_folder_picker.h"
#include "setup/win32/email_pages.h"

namespace setup::win32 {

EmailComponent::EmailComponent(HMODULE module)
    : module_(module), services_(module), setup_(services_.Services(), HostFolderPickers()) {}

std::vector<std::unique_ptr<PropertyPage>> EmailComponent::SettingsPages() {
  return EmailSettingsPages(module_, setup_);
}

std::vector<std::unique_ptr<PropertyPage>> EmailComponent::WizardPages() {
  return EmailWizardPages(module_, setup_);
}

}  // namespace setup::win32
