// The exports of a synchronizer module, compiled into each synchronizer DLL and exported by
// plain name through synchronizer.def. What differs between the DLLs comes from
// ThisSynchronizer(), which the DLL's module file defines.

#include <objbase.h>
#include "platform/win32/windows_api.h"

#include "comserver/about_box.h"
#include "comserver/module_resources.h"
#include "comserver/server_exports.h"
#include "comserver/synchronizer_registration.h"

namespace {

comserver::ClassFactory& Factory() {
  static comserver::ClassFactory factory([](REFIID iid, void** object) {
    const comserver::SynchronizerModule& module = comserver::ThisSynchronizer();
    return module.createObject(module, iid, object);
  });
  return factory;
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
  return comserver::GetClassObject(classId, comserver::ThisSynchronizer().classId, Factory(), iid,
                                   object, comserver::EnsureModuleResources);
}

STDAPI DllCanUnloadNow() {
  return comserver::CanUnloadNow();
}

STDAPI DllRegisterServer() {
  return comserver::RegistrationExport([](platform::Registry& registry) {
    comserver::RegisterServer(comserver::ModuleHandle(), comserver::ThisSynchronizer(), registry);
  });
}

STDAPI DllUnregisterServer() {
  return comserver::RegistrationExport([](platform::Registry& registry) {
    comserver::UnregisterServer(comserver::ModuleHandle(), comserver::ThisSynchronizer(), registry);
  });
}

extern "C" void WINAPI AboutBox() {
  comserver::ShowAboutBox(comserver::ModuleHandle(), comserver::ThisSynchronizer());
}
