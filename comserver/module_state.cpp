#include "comserver/module_state.h"

#include <atomic>
#include <mutex>

#include "framework/module_globals.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_resource_library.h"
#include "platform/win32/win32_user_interface.h"

namespace comserver {
namespace {

HMODULE moduleHandle = nullptr;
std::atomic<long> liveObjects{0};
std::atomic<long> factoryLocks{0};
// One load of the resource libraries per load of the module: a new load of the DLL starts
// with a fresh flag, so a missing .DLR library is announced again, as it would be at start-up.
std::once_flag resourcesLoaded;

}  // namespace

void SetModuleHandle(HMODULE module) {
  moduleHandle = module;
}

HMODULE ModuleHandle() {
  return moduleHandle;
}

void EnsureModuleResources() {
  std::call_once(resourcesLoaded, [] {
    platform::win32::Win32Environment env(moduleHandle);
    platform::win32::Win32ResourceLoader loader;
    platform::win32::Win32UserInterface ui;
    framework::LoadModuleResources(env, loader, ui);
  });
}

void ReleaseModuleResources() {
  framework::FreeModuleResources();
}

bool CanUnloadModule() {
  return liveObjects.load() == 0 && factoryLocks.load() == 0;
}

void LockModule() {
  ++factoryLocks;
}

void UnlockModule() {
  // A client that unlocks more often than it locked must not keep the module loaded forever.
  long locks = factoryLocks.load();
  while (locks > 0 && !factoryLocks.compare_exchange_weak(locks, locks - 1)) {
  }
}

ObjectCountScope::ObjectCountScope() {
  ++liveObjects;
}

ObjectCountScope::~ObjectCountScope() {
  --liveObjects;
}

}  // namespace comserver
