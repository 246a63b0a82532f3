#pragma once

// What every COM object of the suite's servers shares, for the dual interface its module's type
// library declares: reference counting, QueryInterface, error info support, and IDispatch
// answered from the type library. A server's class derives from it and implements the
// interface's own methods; the widl-generated header of the .idl declares Interface, so the
// compiler checks every method against the .idl. Each object counts as alive for
// DllCanUnloadNow from its construction to its destruction.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <atomic>

#include "comserver/module_state.h"
#include "comserver/typeinfo_dispatch.h"

namespace comserver {

template <class Interface>
class DualObject : public Interface, public ISupportErrorInfo {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) final {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(Interface)) {
      *object = static_cast<Interface*>(this);
    } else if (iid == IID_ISupportErrorInfo) {
      *object = static_cast<ISupportErrorInfo*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() final { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() final {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // The failing methods of this interface leave their reason as the thread's error info.
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) final {
    return iid == __uuidof(Interface) ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) final {
    return dispatch_.GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) final {
    return dispatch_.GetTypeInfo(index, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) final {
    return dispatch_.GetIDsOfNames(iid, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) final {
    return dispatch_.Invoke(static_cast<Interface*>(this), id, iid, flags, params, result,
                            exception, argumentError);
  }

 protected:
  // Raises when the module's type library lacks the interface.
  DualObject() : dispatch_(ModuleHandle(), __uuidof(Interface)) {}
  virtual ~DualObject() = default;

 private:
  ObjectCountScope counted_;
  std::atomic<ULONG> references_{1};
  TypeInfoDispatch dispatch_;
};

}  // namespace comserver
