#pragma once

// What the simulators' COM servers (gwsim.dll, hostsim.dll) share: how they register the outside
// components' ProgIDs for classes of their own, and how their plain exports report failures.
//
// HKEY_CLASSES_ROOT\CLSID\{clsid}                 (default) description
//                   \InprocServer32                (default) path of the module
//                                                  ThreadingModel "Apartment"
//                   \ProgID                        (default) ProgID
// HKEY_CLASSES_ROOT\ProgID                         (default) description
//                   \CLSID                         (default) {clsid}

#include "platform/win32/windows_api.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <span>
#include <string_view>

namespace sim::com {

struct SimulatedClass {
  CLSID id;
  std::string_view idText;  // as the registry writes it
  std::string_view progId;
  std::string_view description;
};

// The bodies of DllRegisterServer and DllUnregisterServer of the module this code is linked
// into: S_OK, or SELFREG_E_CLASS when a key cannot be written. A ProgID is removed only while
// it still names our class, so that the real component registered later keeps its own.
HRESULT RegisterClasses(std::span<const SimulatedClass* const> classes) noexcept;
HRESULT UnregisterClasses(std::span<const SimulatedClass* const> classes) noexcept;

// The one place where a plain export's exception stops: 0, or 1 after writing what went wrong
// into `message` (at most `size` bytes with the closing NUL; the text is cut to fit).
template <typename Body>
int ExportBarrier(char* message, unsigned size, Body&& body) noexcept {
  try {
    body();
    return 0;
  } catch (const std::exception& failure) {
    if (message != nullptr && size > 0) {
      const std::size_t length = std::min<std::size_t>(std::strlen(failure.what()), size - 1);
      std::memcpy(message, failure.what(), length);
      message[length] = '\0';
    }
    return 1;
  }
}

}  // namespace sim::com
