#pragma once

#include "platform/platform.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/com_object_factory.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resource_library.h"
#include "platform/win32/win32_user_interface.h"

namespace platform::win32 {

// The outside world of a plug-in running on Windows. module: see Win32Environment.
class Win32Platform final : public Platform {
 public:
  explicit Win32Platform(HMODULE module = nullptr) : env_(module) {}

  UserInterface& Ui() override { return ui_; }
  Environment& Env() override { return env_; }
  ObjectFactory& Objects() override { return objects_; }
  const CodePage& Ansi() override { return ansi_; }
  Registry& Reg() override { return registry_; }
  ResourceLoader& Resources() override { return resources_; }

 private:
  Win32UserInterface ui_;
  Win32Environment env_;
  ComObjectFactory objects_;
  AnsiCodePage ansi_;
  Win32Registry registry_;
  Win32ResourceLoader resources_;
};

}  // namespace platform::win32
