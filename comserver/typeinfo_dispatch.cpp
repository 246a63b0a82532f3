#include "comserver/typeinfo_dispatch.h"

namespace comserver {

TypeInfoDispatch::TypeInfoDispatch(HMODULE module, REFIID interfaceId)
    : interface_(FindDualInterface(*LoadModuleTypeLibrary(module).Get(), interfaceId)) {}

HRESULT TypeInfoDispatch::GetTypeInfoCount(UINT* count) const {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT TypeInfoDispatch::GetTypeInfo(UINT index, ITypeInfo** info) const {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  // Clients are shown the dispatch half: it is the one that says "dual".
  *info = ComPtr<ITypeInfo>(interface_.dispatch).Detach();
  return S_OK;
}

HRESULT TypeInfoDispatch::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count,
                                        DISPID* ids) const {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  return interface_.vtable->GetIDsOfNames(names, count, ids);
}

HRESULT TypeInfoDispatch::Invoke(void* self, DISPID id, REFIID iid, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argumentError) const {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  // A failing method leaves its reason as the thread's error info; an old one must not be
  // mistaken for it.
  SetErrorInfo(0, nullptr);
  return interface_.vtable->Invoke(self, id, flags, params, result, exception, argumentError);
}

}  // namespace comserver
