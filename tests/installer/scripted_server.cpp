// A stand-in for one of the suite's servers, for the setup program's failure paths. It registers
// a key of its own under the classes root, as a real server writes its entries, and removes it
// when unregistered. It fails either step when the test asks, by a key of the test's own:
// registration after writing its key, as a real server that fails part of the way leaves
// something behind that only its unregistration takes away.

#include "platform/win32/windows_api.h"

#include <objbase.h>

#include "platform/win32/ole_owners.h"

namespace {

constexpr wchar_t kOwnKey[] = L"GwsInstallerTest.ScriptedServer";
constexpr wchar_t kRefuseRegistration[] = L"GwsInstallerTest.RefuseRegistration";
constexpr wchar_t kRefuseUnregistration[] = L"GwsInstallerTest.RefuseUnregistration";

bool Requested(const wchar_t* request) {
  platform::win32::UniqueHKey key;
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, request, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

}  // namespace

STDAPI DllRegisterServer() {
  platform::win32::UniqueHKey key;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kOwnKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(),
                      nullptr) != ERROR_SUCCESS) {
    return E_FAIL;
  }
  return Requested(kRefuseRegistration) ? E_FAIL : S_OK;
}

STDAPI DllUnregisterServer() {
  if (Requested(kRefuseUnregistration)) return E_FAIL;
  const LSTATUS status = RegDeleteKeyW(HKEY_CLASSES_ROOT, kOwnKey);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : E_FAIL;
}

STDAPI DllGetClassObject(REFCLSID, REFIID, void** object) {
  *object = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
  return S_OK;
}
