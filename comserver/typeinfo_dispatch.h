#pragma once

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include "comserver/type_library.h"

namespace comserver {

// IDispatch of a dual interface, answered entirely from the module's type library: names and
// DISPIDs are the .idl's, and Invoke lets the system's ITypeInfo::Invoke convert the arguments
// and call the interface's vtable method. There is no DISPID switch to keep in step.
class TypeInfoDispatch {
 public:
  // Raises platform::Exception when the module's library lacks the dual interface.
  TypeInfoDispatch(HMODULE module, REFIID interfaceId);

  HRESULT GetTypeInfoCount(UINT* count) const;
  HRESULT GetTypeInfo(UINT index, ITypeInfo** info) const;
  HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) const;
  // self: the object's pointer of the dual interface, whose vtable the methods are called on.
  HRESULT Invoke(void* self, DISPID id, REFIID iid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* argumentError) const;

 private:
  DualInterface interface_;
};

}  // namespace comserver
