#pragma once

// The globals every COM server module of the suite needs: its own handle and the count of live
// objects and of factory locks (DllCanUnloadNow). The synchronizers' resource libraries are in
// module_resources.h.

#include "platform/win32/windows_api.h"

namespace comserver {

// Set once by DllMain when the module is attached.
void SetModuleHandle(HMODULE module);
HMODULE ModuleHandle();

// True while no object and no factory lock is alive.
bool CanUnloadModule();
void LockModule();
void UnlockModule();

// Counts one live object of the module for its lifetime.
class ObjectCountScope {
 public:
  ObjectCountScope();
  ~ObjectCountScope();
  ObjectCountScope(const ObjectCountScope&) = delete;
  ObjectCountScope& operator=(const ObjectCountScope&) = delete;
};

}  // namespace comserver
