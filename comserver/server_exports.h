#pragma once

// The bodies of the exports every in-process server of the suite has (DllGetClassObject,
// DllCanUnloadNow, DllRegisterServer, DllUnregisterServer). Each module's exports file passes
// in what is its own: its class, its factory, its registration.

#include <unknwn.h>
#include "platform/win32/windows_api.h"

#include "comserver/class_factory.h"
#include "comserver/com_barrier.h"
#include "comserver/module_state.h"
#include "platform/win32/win32_registry.h"

namespace comserver {

// DllGetClassObject for a module that serves `served` through `factory`. `prepare` runs before
// the first factory is handed out, under the barrier.
template <typename Prepare>
HRESULT GetClassObject(REFCLSID requested, REFCLSID served, ClassFactory& factory, REFIID iid,
                       void** object, Prepare&& prepare) noexcept {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (requested != served) return CLASS_E_CLASSNOTAVAILABLE;
  return HResultBarrier([&] {
    prepare();
    return factory.QueryInterface(iid, object);
  });
}

inline HRESULT CanUnloadNow() noexcept {
  return CanUnloadModule() ? S_OK : S_FALSE;
}

// DllRegisterServer and DllUnregisterServer: body(registry) on the system registry; S_OK, or
// E_FAIL whatever went wrong.
template <typename Body>
HRESULT RegistrationExport(Body&& body) noexcept {
  return Barrier(
      [&] {
        platform::win32::Win32Registry registry;
        body(registry);
        return S_OK;
      },
      [](HRESULT, const char*) { return E_FAIL; });
}

}  // namespace comserver
