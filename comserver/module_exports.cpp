// The exports of a synchronizer module, compiled into each synchronizer DLL and exported by
// plain name through synchronizer.def. What differs between the DLLs comes from
// ThisSynchronizer(), which the DLL's module file defines.

#include <objbase.h>
#include "platform/win32/windows_api.h"

#include "comserver/about_box.h"
#include "comserver/class_factory.h"
#include "comserver/com_barrier.h"
#include "comserver/module_state.h"
#include "comserver/registration.h"
#include "platform/win32/win32_registry.h"

namespace {

comserver::ClassFactory& Factory() {
  static comserver::ClassFactory factory(comserver::ThisSynchronizer());
  return factory;
}

HRESULT FailOnAnyException(HRESULT, const char*) {
  return E_FAIL;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    comserver::SetModuleHandle(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded while the process goes on: give the libraries back. At process exit the
    // system reclaims them anyway, and other modules may already be gone.
    comserver::ReleaseModuleResources();
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (classId != comserver::ThisSynchronizer().classId) return CLASS_E_CLASSNOTAVAILABLE;
  return comserver::HResultBarrier([&] {
    comserver::EnsureModuleResources();
    return Factory().QueryInterface(iid, object);
  });
}

STDAPI DllCanUnloadNow() {
  return comserver::CanUnloadModule() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  return comserver::Barrier(
      [] {
        platform::win32::Win32Registry registry;
        comserver::RegisterServer(comserver::ModuleHandle(), comserver::ThisSynchronizer(),
                                  registry);
        return S_OK;
      },
      FailOnAnyException);
}

STDAPI DllUnregisterServer() {
  return comserver::Barrier(
      [] {
        platform::win32::Win32Registry registry;
        comserver::UnregisterServer(comserver::ModuleHandle(), comserver::ThisSynchronizer(),
                                    registry);
        return S_OK;
      },
      FailOnAnyException);
}

extern "C" void WINAPI AboutBox() {
  comserver::ShowAboutBox(comserver::ModuleHandle(), comserver::ThisSynchronizer());
}
