#pragma once

// The globals a COM server module needs: its own handle, the count of live objects and of
// factory locks (DllCanUnloadNow), and the framework's resource libraries, loaded on first use.

#include "platform/win32/windows_api.h"

namespace comserver {

// Set once by DllMain when the module is attached.
void SetModuleHandle(HMODULE module);
HMODULE ModuleHandle();

// Loads fwres.dll and the module's .DLR library the first time it is called after the module
// was loaded; later calls do nothing. A missing .DLR library is announced by that first call.
//
// The module's own start-up would be the natural place, but it runs under the loader lock,
// where loading other libraries and showing a message box can deadlock; so the first call
// that hands out the class factory or shows the about box does it instead.
void EnsureModuleResources();
// Frees the libraries again; for the module's detach.
void ReleaseModuleResources();

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
