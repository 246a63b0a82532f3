#pragma once

// The COM object of a synchronizer module, for the dual interface its type library declares
// (IGroupwiseSynchronizer, IGroupWiseEmailSynchronizer): reference counting and
// QueryInterface here, IDispatch from the type library, the seven methods in SynchronizerCore.
// The widl-generated header of the module's .idl declares Interface, so the compiler checks
// every method here against the .idl.

#include <oaidl.h>
#include "platform/win32/windows_api.h"

#include <atomic>

#include "comserver/module_state.h"
#include "comserver/synchronizer_core.h"
#include "comserver/typeinfo_dispatch.h"

namespace comserver {

template <class Interface>
class SynchronizerObject final : public Interface, public ISupportErrorInfo {
 public:
  // An ObjectFactory: raises when the object cannot be made.
  static HRESULT Create(const SynchronizerModule& module, REFIID iid, void** object) {
    const auto created = ComPtr<SynchronizerObject>::Attach(new SynchronizerObject(module));
    return created->QueryInterface(iid, object);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
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
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
    return core_.SupportsErrorInfo(iid) ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return dispatch_.GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    return dispatch_.GetTypeInfo(index, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    return dispatch_.GetIDsOfNames(iid, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    return dispatch_.Invoke(static_cast<Interface*>(this), id, iid, flags, params, result,
                            exception, argumentError);
  }

  HRESULT STDMETHODCALLTYPE Init(IDispatch* progress, IUnknown* synchSetup, IUnknown* appSetup,
                                 LONG* value) override {
    return core_.Init(progress, synchSetup, appSetup, value);
  }
  HRESULT STDMETHODCALLTYPE Term(IDispatch* progress, LONG* value) override {
    return core_.Term(progress, value);
  }
  HRESULT STDMETHODCALLTYPE Open(IDispatch* progress, LONG* value) override {
    return core_.Open(progress, value);
  }
  HRESULT STDMETHODCALLTYPE Close(IDispatch* progress, LONG* value) override {
    return core_.Close(progress, value);
  }
  HRESULT STDMETHODCALLTYPE CheckSource(IDispatch* progress, LONG* value) override {
    return core_.CheckSource(progress, value);
  }
  HRESULT STDMETHODCALLTYPE ReadSource(IDispatch* progress, IUnknown* stream, short type, short op,
                                       BSTR sTime, LONG* value) override {
    return core_.ReadSource(progress, stream, type, op, sTime, value);
  }
  HRESULT STDMETHODCALLTYPE WriteSource(IDispatch* progress, IUnknown* stream, short type, short op,
                                        BSTR sTime, LONG* value) override {
    return core_.WriteSource(progress, stream, type, op, sTime, value);
  }

 private:
  explicit SynchronizerObject(const SynchronizerModule& module)
      : dispatch_(ModuleHandle(), __uuidof(Interface)), core_(module, __uuidof(Interface)) {}
  ~SynchronizerObject() = default;

  std::atomic<ULONG> references_{1};
  TypeInfoDispatch dispatch_;
  SynchronizerCore core_;
};

}  // namespace comserver
