#pragma once

// What a setup component object meets on Windows: message boxes, the machine's registry, the
// string table of its own DLL, the host's engine object and the computer's name.

#include "platform/win32/windows_api.h"

#include <memory>
#include <string>

#include "platform/resource_library.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_user_interface.h"
#include "setup/common/profile_session.h"

namespace setup::win32 {

class Win32SetupServices {
 public:
  // module: the component's DLL, whose STRINGTABLE holds its texts.
  explicit Win32SetupServices(HMODULE module);
  Win32SetupServices(const Win32SetupServices&) = delete;
  Win32SetupServices& operator=(const Win32SetupServices&) = delete;

  // Refers to this object, which must outlive what it is given to.
  SetupServices Services();

 private:
  platform::win32::Win32UserInterface ui_;
  platform::win32::Win32Registry registry_;
  platform::win32::AnsiCodePage ansi_;
  std::unique_ptr<platform::ResourceLibrary> strings_;
};

// GetComputerNameW; empty when the system names none.
std::u16string ComputerName();

}  // namespace setup::win32
