// The exports of a setup component module, compiled into each component's DLL and exported by
// plain name through setup.def. What differs between the DLLs comes from ThisSetupModule(),
// which the DLL's module file defines.

#include <objbase.h>
#include "platform/win32/windows_api.h"

#include "comserver/server_exports.h"
#include "setup/com/setup_registration.h"

namespace {

comserver::ClassFactory& Factory() {
  static comserver::ClassFactory factory(setup::com::ThisSetupModule().createObject);
  return factory;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) comserver::SetModuleHandle(instance);
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
  return comserver::GetClassObject(classId, setup::com::ThisSetupModule().classId, Factory(), iid,
                                   object, [] {});
}

STDAPI DllCanUnloadNow() {
  return comserver::CanUnloadNow();
}

STDAPI DllRegisterServer() {
  return comserver::RegistrationExport([](platform::Registry& registry) {
    setup::com::RegisterSetupServer(comserver::ModuleHandle(), setup::com::ThisSetupModule(),
                                    registry);
  });
}

STDAPI DllUnregisterServer() {
  return comserver::RegistrationExport([](platform::Registry& registry) {
    setup::com::UnregisterSetupServer(comserver::ModuleHandle(), setup::com::ThisSetupModule(),
                                      registry);
  });
}
