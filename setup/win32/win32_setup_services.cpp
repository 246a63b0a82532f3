#include "setup/win32/win32_setup_services.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_resource_library.h"
#include "setup/win32/dispatch_sync_engine.h"

namespace setup::win32 {

Win32SetupServices::Win32SetupServices(HMODULE module)
    : strings_(platform::win32::LoadedModuleResources(module)) {}

SetupServices Win32SetupServices::Services() {
  return SetupServices{
      .ui = ui_,
      .registry = registry_,
      .strings = ComponentStrings(*strings_, ansi_),
      .engines = HostSyncEngines(),
      .computerName = ComputerName,
  };
}

std::u16string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &length)) return {};
  return std::u16string(platform::win32::AsUtf16(name), length);
}

}  // namespace setup::win32
