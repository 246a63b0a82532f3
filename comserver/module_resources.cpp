#include "comserver/module_resources.h"

#include <mutex>

#include "comserver/module_state.h"
#include "framework/module_globals.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_resource_library.h"
#include "platform/win32/win32_user_interface.h"

namespace comserver {
namespace {

// One load of the resource libraries per load of the module: a new load of the DLL starts
// with a fresh flag, so a missing .DLR library is announced again, as it would be at start-up.
std::once_flag resourcesLoaded;

}  // namespace

void EnsureModuleResources() {
  std::call_once(resourcesLoaded, [] {
    platform::win32::Win32Environment env(ModuleHandle());
    platform::win32::Win32ResourceLoader loader;
    platform::win32::Win32UserInterface ui;
    framework::LoadModuleResources(env, loader, ui);
  });
}

void ReleaseModuleResources() {
  framework::FreeModuleResources();
}

}  // namespace comserver
