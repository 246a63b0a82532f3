#include "setup/win32/email_component.h"

#include "setup/win32/dispatch_folder_picker.h"

namespace setup::win32 {

EmailComponent::EmailComponent(HMODULE module)
    : services_(module), setup_(services_.Services(), HostFolderPickers()) {}

}  // namespace setup::win32
