#pragma once

// The module's own type library (resource TYPELIB 1): the one source of the identities, help
// texts and DISPIDs that registration and IDispatch hand out.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <string>

#include "platform/win32/com_ptr.h"

namespace comserver {

using platform::win32::ComPtr;

// "{24D093C0-683C-11D4-B322-0000E8213261}"
std::wstring GuidText(REFGUID guid);

// Raises platform::Exception when the module carries no readable type library.
ComPtr<ITypeLib> LoadModuleTypeLibrary(HMODULE module);

struct LibraryFacts {
  GUID libraryId;
  WORD majorVersion;
  WORD minorVersion;
  LCID locale;
  std::wstring classDescription;  // the creatable class's help text
};
// Raises platform::Exception when the library lacks the class.
LibraryFacts ReadLibraryFacts(ITypeLib& library, REFCLSID classId);

// A dual interface is described twice: as a dispatch interface, which clients are shown, and
// as the vtable interface behind it, through which ITypeInfo::Invoke calls the methods.
struct DualInterface {
  ComPtr<ITypeInfo> dispatch;
  ComPtr<ITypeInfo> vtable;
};
// Raises platform::Exception when the library has no dual interface of that IID.
DualInterface FindDualInterface(ITypeLib& library, REFIID interfaceId);

}  // namespace comserver
